#pragma once

#include "midi/MidiBackend.h"

#include <map>

namespace midi
{
// An in-process MIDI back end for tests. A test names the sources and destinations, delivers
// packets on a source exactly as it likes (split, interleaved, garbage), and sees what is sent to
// each destination through a handler, to which it can attach an instrument. Packets are delivered
// on the calling thread, in call order.
class LoopbackBackend : public MidiBackend
{
public:
    LoopbackBackend() = default;
    ~LoopbackBackend() override = default;

    // What the program sends to destination index: the bytes of one send.
    using DestinationHandler = std::function<void (int destinationIndex, const std::vector<std::uint8_t>& bytes)>;

    int addSource (const juce::String& device, const juce::String& port);
    int addDestination (const juce::String& device, const juce::String& port);
    void removeAllPorts();
    void setDestinationHandler (DestinationHandler handler);
    // Opening this destination (or source) fails, as a port that another program holds.
    void setDestinationFails (int index, bool fails);
    void setSourceFails (int index, bool fails);

    // Delivers one packet on the source; false when nobody has it open.
    bool deliver (int sourceIndex, const std::vector<std::uint8_t>& packet);
    bool isSourceOpen (int index) const;
    bool isDestinationOpen (int index) const;
    int getNumOpenSources() const;
    int getNumOpenDestinations() const;
    // Every block sent to the destination, oldest first.
    std::vector<std::vector<std::uint8_t>> getSent (int destinationIndex) const;
    void clearSent();
    void simulateSetupChange() { notifySetupChanged(); }

    juce::String getApiName() const override { return "loopback"; }
    std::vector<MidiEndpointName> getSources() override;
    std::vector<MidiEndpointName> getDestinations() override;
    std::unique_ptr<MidiInputConnection> openSource (int index, const juce::String& portName,
                                                     MidiPacketCallback callback) override;
    std::unique_ptr<MidiOutputConnection> openDestination (int index, const juce::String& portName) override;
    std::unique_ptr<MidiInputConnection> createVirtualDestination (const juce::String& clientName,
                                                                   const juce::String& portName,
                                                                   MidiPacketCallback callback) override;
    std::unique_ptr<MidiOutputConnection> createVirtualSource (const juce::String& clientName,
                                                               const juce::String& portName) override;

private:
    struct Endpoint
    {
        MidiEndpointName name;
        bool fails = false;
    };
    class Input;
    class Output;
    friend class Input;
    friend class Output;

    void sent (int destinationIndex, const std::vector<std::uint8_t>& bytes);

    mutable std::recursive_mutex mutex;
    std::vector<Endpoint> sources;
    std::vector<Endpoint> destinations;
    std::multimap<int, std::pair<int, MidiPacketCallback>> openInputs; // source index -> (id, callback)
    std::multimap<int, int> openOutputs; // destination index -> id
    std::map<int, std::vector<std::vector<std::uint8_t>>> sentBlocks;
    // Destinations made by createVirtualDestination deliver to this callback.
    std::map<int, MidiPacketCallback> virtualDestinations;
    DestinationHandler handler;
    int nextId = 1;
};
} // namespace midi
