#pragma once

#include "application/Singleton.h"
#include "midi/CPXRMidi.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <vector>

namespace midi
{
class MidiDeviceScannerListener
{
public:
    virtual ~MidiDeviceScannerListener() = default;
    virtual void midiDeviceScanFinished() = 0;
};

// Finds the input and the output that lead to the instrument: it opens every port, sends a
// search request with each output's index as echo ID, and takes the input on which the
// instrument's search reply arrives and the output named by the echo ID in that reply.
class MidiDeviceScanner : public ListenerHolder<MidiDeviceScannerListener>,
                          public juce::Thread,
                          public juce::AsyncUpdater
{
public:
    static constexpr int DefaultTimeout = 1500;
    // The pauses that let the system settle around opening and closing the ports.
    static constexpr int PortSettleMs = 100;

    // The opened ports, each with its device index.
    class MidiPortManager
    {
    public:
        explicit MidiPortManager (std::shared_ptr<MidiBackend> backend);
        ~MidiPortManager();

        bool openAllPorts (MidiDeviceScanner* callback);
        void closeAllPorts();
        bool isOpened() const;
        MidiInputConnection* getMidiIn (const int& position) const;
        MidiOutputConnection* getMidiOut (const int& position) const;
        juce::String getMidiInDeviceName (const int& position) const;
        juce::String getMidiOutDeviceName (const int& position) const;
        int getMidiInIndex (const int& position) const;
        int getMidiOutIndex (const int& position) const;
        int getNumOutputs() const { return (int) outputs.size(); }

    private:
        // Receive state of one opened input.
        struct InputState;

        std::shared_ptr<MidiBackend> backend;
        std::vector<std::unique_ptr<MidiInputConnection>> inputs;
        std::vector<int> inputIndices;
        std::vector<std::unique_ptr<MidiOutputConnection>> outputs;
        std::vector<int> outputIndices;
        juce::StringArray inputNames;
        juce::StringArray outputNames;
        std::vector<std::unique_ptr<InputState>> inputStates;
    };

    using ListenerHolder<MidiDeviceScannerListener>::addListener;
    using ListenerHolder<MidiDeviceScannerListener>::removeListener;

    MidiDeviceScanner();
    explicit MidiDeviceScanner (std::shared_ptr<MidiBackend> backend);
    ~MidiDeviceScanner() override;

    // Starts a scan; called on the message thread. The listeners hear of its end there.
    void execute (const int& familyId, const int& memberId, const int& timeout);

    // A complete message that arrived on the input with that device index (MIDI thread). Each
    // opened input carries the device index it was opened with.
    void handleIncomingMidiMessage (int inputIndex, const unsigned char* bytes, int length);

    bool isFound() const noexcept { return found; }
    int getFoundInIndex() const noexcept { return foundInIndex; }
    int getFoundOutIndex() const noexcept { return foundOutIndex; }

    void run() override;
    void handleAsyncUpdate() override;

private:
    MidiPortManager portManager;
    std::atomic<int> familyId { -1 };
    std::atomic<int> memberId { -1 };
    std::atomic<bool> found { false };
    std::atomic<int> timeout { DefaultTimeout };
    std::atomic<int> foundInIndex { -1 };
    std::atomic<int> foundOutIndex { -1 };
    // Set while the thread waits for replies; a reply outside that window changes nothing.
    std::atomic<bool> listening { false };
    juce::WaitableEvent replyArrived;
    juce::CriticalSection resultLock;
};
} // namespace midi
