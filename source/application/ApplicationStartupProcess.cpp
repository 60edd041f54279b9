#include "application/ApplicationStartupProcess.h"

namespace x38200_application
{
void ApplicationStartupProcess::start()
{
    if (finished)
        return;
    triggerAsyncUpdate();
}

void ApplicationStartupProcess::midiDeviceScanFinished()
{
    triggerAsyncUpdate();
}

void ApplicationStartupProcess::handleAsyncUpdate()
{
    if (finished)
        return;
    finished = true;
}
} // namespace x38200_application
