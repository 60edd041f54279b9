#pragma once

#include "midi/MidiBackend.h"

#include <memory>
#include <string>

namespace midi
{
// All the MIDI ports that this process opens to reach other programs on a JACK server, on one
// client of its own. The server wakes every active client in every period, so one client for
// all ports costs far less processor time than a client per port. The client is opened and
// activated with the first port; connections keep it alive.
class JackPorts
{
public:
    explicit JackPorts (const juce::String& clientName);
    ~JackPorts();

    // A new input port connected from the JACK port of that full name ("client:port").
    // Packets reach the callback on the JACK thread, one per JACK event, in arrival order.
    std::unique_ptr<MidiInputConnection> openInput (const std::string& sourcePort, const juce::String& portName,
                                                    MidiPacketCallback callback);

    // A new output port connected to the JACK port of that full name.
    std::unique_ptr<MidiOutputConnection> openOutput (const std::string& destinationPort,
                                                      const juce::String& portName);

    struct Client;

private:
    juce::String clientName;
    std::shared_ptr<Client> client;
};
} // namespace midi
