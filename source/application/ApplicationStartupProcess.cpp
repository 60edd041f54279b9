#include "application/ApplicationStartupProcess.h"

#include "application/PreferencesData.h"

namespace x38200_application
{
ApplicationStartupProcess::~ApplicationStartupProcess()
{
    cancelPendingUpdate();
    if (Singleton<midi::MidiDeviceManager>::exists())
        midi::MidiDeviceManager::instance().removeListener (this);
}

void ApplicationStartupProcess::start()
{
    if (finished)
        return;
    // The device manager is made in the launch sequence; listening starts here so that this
    // object (made with the application object) does not create it ahead of its turn.
    auto& deviceManager = midi::MidiDeviceManager::instance();
    deviceManager.addListener (this);
    if (x38200_preferences::PreferencesData::instance().getBoolValue (x38200_preferences::PreferencesMidiPortAutoScan, true))
        deviceManager.scanDevices();
    else
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
