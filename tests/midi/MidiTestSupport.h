#pragma once

#include "midi/CPXRMidi.h"
#include "midi/LoopbackBackend.h"

#include <juce_core/juce_core.h>

#include <mutex>
#include <string>
#include <vector>

namespace tarnombi::test
{
using Bytes = std::vector<std::uint8_t>;

std::string toHex (const std::uint8_t* bytes, size_t count);
inline std::string toHex (const Bytes& bytes) { return toHex (bytes.data(), bytes.size()); }
std::string toHex (const juce::MemoryBlock& block);
Bytes toBytes (const juce::MemoryBlock& block);
// "F0 42 30" -> bytes.
Bytes fromHex (const std::string& text);

// Records what a CPXRMidi reports, one readable line per callback.
class RecordingListener : public CPXRMidiListener
{
public:
    void OnPXRMidiInShortMessage (CPXRMidi*, CPXRMidiMessage& message) override;
    void OnPXRMidiInLongMessageReceived (CPXRMidi*, CPXRMidiMessage& message) override;
    void OnPXRMidiInLongMessageReceiving (CPXRMidi*, int byteCount, unsigned char*) override;
    void OnPXRMidiOutSysExSendComplete (CPXRMidi*, int byteCount) override;
    void OnPXRMidiNotification (CPXRMidi*, int, int) override;

    std::vector<std::string> getEvents() const;
    std::vector<Bytes> getLongMessages() const;
    void clear();

private:
    mutable std::mutex mutex;
    std::vector<std::string> events;
    std::vector<Bytes> longMessages;
};
} // namespace tarnombi::test
