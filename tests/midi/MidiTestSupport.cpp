#include "MidiTestSupport.h"

#include <cstdio>
#include <sstream>

namespace tarnombi::test
{
std::string toHex (const std::uint8_t* bytes, size_t count)
{
    std::string text;
    char buffer[4];
    for (size_t i = 0; i < count; ++i)
    {
        std::snprintf (buffer, sizeof (buffer), i == 0 ? "%02X" : " %02X", bytes[i]);
        text += buffer;
    }
    return text;
}

std::string toHex (const juce::MemoryBlock& block)
{
    return toHex (static_cast<const std::uint8_t*> (block.getData()), block.getSize());
}

Bytes toBytes (const juce::MemoryBlock& block)
{
    const auto* data = static_cast<const std::uint8_t*> (block.getData());
    return Bytes (data, data + block.getSize());
}

Bytes fromHex (const std::string& text)
{
    Bytes bytes;
    std::istringstream in (text);
    std::string token;
    while (in >> token)
        bytes.push_back ((std::uint8_t) std::stoul (token, nullptr, 16));
    return bytes;
}

void RecordingListener::OnPXRMidiInShortMessage (CPXRMidi*, CPXRMidiMessage& message)
{
    std::lock_guard<std::mutex> guard (mutex);
    events.push_back ("short " + toHex (message.getData(), message.getLength()));
}

void RecordingListener::OnPXRMidiInLongMessageReceived (CPXRMidi*, CPXRMidiMessage& message)
{
    std::lock_guard<std::mutex> guard (mutex);
    events.push_back ("long " + toHex (message.getData(), message.getLength()));
    longMessages.emplace_back (message.getData(), message.getData() + message.getLength());
}

void RecordingListener::OnPXRMidiInLongMessageReceiving (CPXRMidi*, int byteCount, unsigned char*)
{
    std::lock_guard<std::mutex> guard (mutex);
    events.push_back ("receiving " + std::to_string (byteCount));
}

void RecordingListener::OnPXRMidiOutSysExSendComplete (CPXRMidi*, int byteCount)
{
    std::lock_guard<std::mutex> guard (mutex);
    events.push_back ("sent " + std::to_string (byteCount));
}

void RecordingListener::OnPXRMidiNotification (CPXRMidi*, int, int)
{
    std::lock_guard<std::mutex> guard (mutex);
    events.push_back ("setup changed");
}

std::vector<std::string> RecordingListener::getEvents() const
{
    std::lock_guard<std::mutex> guard (mutex);
    return events;
}

std::vector<Bytes> RecordingListener::getLongMessages() const
{
    std::lock_guard<std::mutex> guard (mutex);
    return longMessages;
}

void RecordingListener::clear()
{
    std::lock_guard<std::mutex> guard (mutex);
    events.clear();
    longMessages.clear();
}
} // namespace tarnombi::test
