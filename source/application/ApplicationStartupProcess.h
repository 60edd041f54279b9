#pragma once

#include <juce_events/juce_events.h>

namespace x38200_application
{
// What runs once the main window is on screen: the device scan, then (in a later turn
// of the message loop) the automatic library receive and the tweet search. It runs at
// most once per program run.
class ApplicationStartupProcess : public juce::AsyncUpdater
{
public:
    ApplicationStartupProcess() = default;
    ~ApplicationStartupProcess() override { cancelPendingUpdate(); }

    void start();
    // A library or program file was opened from the command line: no automatic receive.
    void openedFile() { openedFileFlag = true; }
    void midiDeviceScanFinished();
    void handleAsyncUpdate() override;

    bool hasOpenedFile() const noexcept { return openedFileFlag; }
    bool isFinished() const noexcept { return finished; }

private:
    bool openedFileFlag = false;
    bool finished = false;
};
} // namespace x38200_application
