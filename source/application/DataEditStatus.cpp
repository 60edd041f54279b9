#include "application/DataEditStatus.h"

namespace application
{
void DataEditStatus::edited()
{
    if (editedFlag)
        return;
    editedFlag = true;
    triggerAsyncUpdate();
}

void DataEditStatus::clearEdited()
{
    if (! editedFlag)
        return;
    editedFlag = false;
    triggerAsyncUpdate();
}

void DataEditStatus::handleAsyncUpdate()
{
    callListeners ([this] (DataEditStatusListener& listener) { listener.dataEditStatusChanged (editedFlag); });
}

void LastSavedFileStatus::setSavedFile (const juce::File& file)
{
    if (file == savedFile)
        return;
    savedFile = file;
    triggerAsyncUpdate();
}

void LastSavedFileStatus::handleAsyncUpdate()
{
    callListeners ([this] (LastSavedFileStatusListener& listener) { listener.lastSavedFileChanged (savedFile); });
}
} // namespace application
