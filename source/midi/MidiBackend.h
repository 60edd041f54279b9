#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace midi
{
// A MIDI source or destination as the system lists it: the device (client) that owns it
// and the port's own name. Users see "device - port".
struct MidiEndpointName
{
    juce::String device;
    juce::String port;

    juce::String getDisplayName() const { return device + " - " + port; }
};

// Receives the raw bytes of one packet, in arrival order, on a background thread.
using MidiPacketCallback = std::function<void (const std::uint8_t* bytes, int count)>;

// An opened source; closing it is destroying it. No packet callback runs after the destructor.
class MidiInputConnection
{
public:
    virtual ~MidiInputConnection() = default;
};

// An opened destination; closing it is destroying it.
class MidiOutputConnection
{
public:
    virtual ~MidiOutputConnection() = default;

    // Sends a System Exclusive block in the background; onComplete runs once on a background
    // thread when all bytes are out. Returns false when the block could not be queued.
    virtual bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) = 0;

    // Sends one short message at once.
    virtual bool sendShort (const std::uint8_t* bytes, int count) = 0;
};

// The computer's MIDI services. One back end serves the ports layer and the device scanner,
// so the indices of both mean the same ports. Ports that this program opened itself are not
// listed.
class MidiBackend
{
public:
    virtual ~MidiBackend() = default;

    // "alsa", "jack", "loopback", or "none" when no MIDI service is available.
    virtual juce::String getApiName() const = 0;

    virtual std::vector<MidiEndpointName> getSources() = 0;
    virtual std::vector<MidiEndpointName> getDestinations() = 0;

    // Connect one source (by its position in getSources()) to a new input port of ours.
    // Returns null on failure.
    virtual std::unique_ptr<MidiInputConnection> openSource (int index, const juce::String& portName,
                                                             MidiPacketCallback callback)
        = 0;
    virtual std::unique_ptr<MidiOutputConnection> openDestination (int index, const juce::String& portName) = 0;

    // Ports of our own that other programs connect to, as an instrument offers them
    // (used by the emulator). The client name is the device name others see.
    virtual std::unique_ptr<MidiInputConnection> createVirtualDestination (const juce::String& clientName,
                                                                           const juce::String& portName,
                                                                           MidiPacketCallback callback)
        = 0;
    virtual std::unique_ptr<MidiOutputConnection> createVirtualSource (const juce::String& clientName,
                                                                       const juce::String& portName)
        = 0;

    // Setup changes (ports appearing or going away). The callback runs on a background thread.
    int addSetupChangeCallback (std::function<void()> callback);
    void removeSetupChangeCallback (int id);

protected:
    void notifySetupChanged();
    bool hasSetupChangeCallbacks() const;

private:
    mutable std::mutex callbackMutex;
    std::vector<std::pair<int, std::function<void()>>> setupChangeCallbacks;
    int nextCallbackId = 1;
};

// The back end of this process: made on first use from the system (see createSystemMidiBackend),
// unless a test installed another one first.
std::shared_ptr<MidiBackend> getMidiBackend();
void setMidiBackend (std::shared_ptr<MidiBackend> backend);

// The ALSA sequencer when /dev/snd/seq exists, otherwise JACK when a server runs, otherwise a
// back end without ports. api "alsa" or "jack" (or the environment variable TARNOMBI_MIDI_API)
// forces one. ownClientName names the clients this program opens.
std::shared_ptr<MidiBackend> createSystemMidiBackend (const juce::String& api = {},
                                                      const juce::String& ownClientName = "MidiDevice");
} // namespace midi
