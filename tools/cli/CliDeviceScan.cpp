#include "CliDeviceScan.h"

namespace tarnombi::cli
{
bool runDeviceScan (midi::MidiDeviceManager& manager, int timeoutMs)
{
    struct ScanWaiter : public midi::MidiDeviceManagerListener
    {
        void midiDeviceScanFinished() override { finished = true; }
        bool finished = false;
    } waiter;

    manager.addListener (&waiter);
    manager.scanDevices();
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! waiter.finished && juce::Time::getMillisecondCounter() < deadline)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    manager.removeListener (&waiter);
    return waiter.finished;
}
} // namespace tarnombi::cli
