#pragma once

#include "midi/MidiBackend.h"

namespace midi
{
// The MIDI services of the system through RtMidi: the ALSA sequencer or a JACK server.
// On ALSA every opened port gets a client of its own (that is how RtMidi works); on JACK the
// ports opened to reach other programs share one client (see JackPorts). Those clients are
// named after the program's client name and left out of the lists.
class RtMidiBackend : public MidiBackend
{
public:
    enum class Api
    {
        none,
        alsa,
        jack
    };

    RtMidiBackend (Api api, const juce::String& ownClientName);
    ~RtMidiBackend() override;

    static bool isAlsaSequencerAvailable();
    // Whether the JACK server that a client of this process would reach (JACK_DEFAULT_SERVER,
    // else "default") is accepting connections.
    static bool isJackServerRunning();

    juce::String getApiName() const override;

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

    // Splits a port name as RtMidi gives it into device and port.
    static MidiEndpointName splitPortName (Api api, const juce::String& rtMidiName);

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};
} // namespace midi
