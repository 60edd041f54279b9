#include "midi/MidiDeviceScanner.h"

#include "midi/MidiDeviceManager.h"

namespace midi
{
// Collects complete messages from the packets of one opened input and hands them to the scanner.
struct MidiDeviceScanner::MidiPortManager::InputState : public MidiPacketSink
{
    InputState (MidiDeviceScanner* s, int index) : scanner (s), deviceIndex (index) {}

    void shortMessageReceived (const unsigned char*, int) override {}
    void longMessageReceived (const std::vector<unsigned char>& message, int, const unsigned char*) override
    {
        scanner->handleIncomingMidiMessage (deviceIndex, message.data(), (int) message.size());
    }
    void longMessageReceiving (int, const unsigned char*) override {}
    void setReceiving (bool) override {}

    MidiDeviceScanner* scanner;
    int deviceIndex;
    CSysExBuffer buffer;
};

MidiDeviceScanner::MidiPortManager::MidiPortManager (std::shared_ptr<MidiBackend> backendToUse)
    : backend (std::move (backendToUse))
{
}

MidiDeviceScanner::MidiPortManager::~MidiPortManager()
{
    inputs.clear();
    outputs.clear();
}

bool MidiDeviceScanner::MidiPortManager::isOpened() const
{
    return ! inputs.empty() && ! outputs.empty();
}

bool MidiDeviceScanner::MidiPortManager::openAllPorts (MidiDeviceScanner* callback)
{
    if (isOpened())
        return true;
    juce::Thread::sleep (PortSettleMs);

    // Ports left over from an attempt that opened only one side.
    inputs.clear();
    inputIndices.clear();
    inputStates.clear();
    outputs.clear();
    outputIndices.clear();

    const auto sources = backend->getSources();
    const auto destinations = backend->getDestinations();
    inputNames.clear();
    outputNames.clear();
    for (const auto& source : sources)
        inputNames.add (source.getDisplayName());
    for (const auto& destination : destinations)
        outputNames.add (destination.getDisplayName());

    if (sources.empty() || destinations.empty())
        return false;

    for (int i = 0; i < (int) sources.size(); ++i)
    {
        auto state = std::make_unique<InputState> (callback, i);
        auto* statePointer = state.get();
        auto input = backend->openSource (i, "MidiDeviceScannerIn", [statePointer] (const std::uint8_t* bytes, int count) {
            analyzeMidiPacket (statePointer->buffer, bytes, count, *statePointer);
        });
        if (input == nullptr)
            continue;
        inputs.push_back (std::move (input));
        inputIndices.push_back (i);
        inputStates.push_back (std::move (state));
    }
    for (int j = 0; j < (int) destinations.size(); ++j)
    {
        auto output = backend->openDestination (j, "MidiDeviceScannerOut");
        if (output == nullptr)
            continue;
        outputs.push_back (std::move (output));
        outputIndices.push_back (j);
    }
    return true;
}

void MidiDeviceScanner::MidiPortManager::closeAllPorts()
{
    if (! isOpened())
        return;
    juce::Thread::sleep (PortSettleMs);
    while (! inputs.empty())
        inputs.pop_back();
    while (! outputs.empty())
        outputs.pop_back();
    inputIndices.clear();
    outputIndices.clear();
    inputStates.clear();
    inputNames.clear();
    outputNames.clear();
}

MidiInputConnection* MidiDeviceScanner::MidiPortManager::getMidiIn (const int& position) const
{
    return position >= 0 && position < (int) inputs.size() ? inputs[(size_t) position].get() : nullptr;
}

MidiOutputConnection* MidiDeviceScanner::MidiPortManager::getMidiOut (const int& position) const
{
    return position >= 0 && position < (int) outputs.size() ? outputs[(size_t) position].get() : nullptr;
}

int MidiDeviceScanner::MidiPortManager::getMidiInIndex (const int& position) const
{
    return position >= 0 && position < (int) inputIndices.size() ? inputIndices[(size_t) position] : -1;
}

int MidiDeviceScanner::MidiPortManager::getMidiOutIndex (const int& position) const
{
    return position >= 0 && position < (int) outputIndices.size() ? outputIndices[(size_t) position] : -1;
}

juce::String MidiDeviceScanner::MidiPortManager::getMidiInDeviceName (const int& position) const
{
    return inputNames[position];
}

juce::String MidiDeviceScanner::MidiPortManager::getMidiOutDeviceName (const int& position) const
{
    return outputNames[position];
}

//==============================================================================
MidiDeviceScanner::MidiDeviceScanner()
    : MidiDeviceScanner (getMidiBackend())
{
}

MidiDeviceScanner::MidiDeviceScanner (std::shared_ptr<MidiBackend> backend)
    : juce::Thread ("MidiDeviceScannerThread"), portManager (std::move (backend))
{
}

MidiDeviceScanner::~MidiDeviceScanner()
{
    cancelPendingUpdate();
    replyArrived.signal();
    stopThread (timeout + 1000);
    if (portManager.isOpened())
        portManager.closeAllPorts();
}

void MidiDeviceScanner::execute (const int& familyToFind, const int& memberToFind, const int& timeoutMs)
{
    timeout = timeoutMs;
    familyId = familyToFind;
    memberId = memberToFind;

    if (! portManager.openAllPorts (this))
    {
        triggerAsyncUpdate();
        return;
    }
    juce::Thread::sleep (PortSettleMs);
    startThread();
}

void MidiDeviceScanner::run()
{
    {
        const juce::ScopedLock sl (resultLock);
        found = false;
        foundInIndex = -1;
        foundOutIndex = -1;
        replyArrived.reset();
        listening = true;
    }

    for (int k = 0; k < portManager.getNumOutputs(); ++k)
    {
        const std::uint8_t echoId = (std::uint8_t) (portManager.getMidiOutIndex (k) & 0x7F);
        std::vector<std::uint8_t> request { 0xF0, (std::uint8_t) MidiDeviceManager::MidiDeviceVendorID, 0x50, 0x00, echoId, 0xF7 };
        if (auto* output = portManager.getMidiOut (k))
            output->sendShort (request.data(), (int) request.size());
    }

    replyArrived.wait (timeout);
    {
        const juce::ScopedLock sl (resultLock);
        listening = false;
    }
    triggerAsyncUpdate();
}

void MidiDeviceScanner::handleIncomingMidiMessage (int inputIndex, const unsigned char* bytes, int length)
{
    if (found || length != 15 || bytes[0] != 0xF0 || bytes[1] != MidiDeviceManager::MidiDeviceVendorID
        || bytes[2] != 0x50 || bytes[3] != 0x01)
        return;

    if (((bytes[6] | bytes[7] << 8) & 0x7F7F) != familyId)
        return;
    if (memberId != -1 && ((bytes[8] | bytes[9] << 8) & 0x7F7F) != memberId)
        return;

    const juce::ScopedLock sl (resultLock);
    if (found || ! listening)
        return;
    foundInIndex = inputIndex;
    foundOutIndex = bytes[5] & 0x7F;
    found = true;
    replyArrived.signal();
}

void MidiDeviceScanner::handleAsyncUpdate()
{
    // The thread has ended its wait; make sure it is gone before the ports close.
    stopThread (1000);
    if (portManager.isOpened())
        portManager.closeAllPorts();
    callListeners ([] (MidiDeviceScannerListener& listener) { listener.midiDeviceScanFinished(); });
}
} // namespace midi
