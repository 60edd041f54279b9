#pragma once

#include "midi/CPXRMidi.h"

#include <deque>

namespace midi
{
// Hands received messages from the MIDI thread to the task that waits for them.
class MidiMessageQueue
{
public:
    MidiMessageQueue() = default;
    virtual ~MidiMessageQueue() = default;

    void push (const CPXRMidiMessage& message);
    // The oldest message, removed from the queue. Only call it when the queue is not empty.
    CPXRMidiMessage pop();
    void clear();
    // Read without the lock by the waiting task; a message pushed meanwhile is seen next time.
    bool isEmpty() const noexcept { return messages.empty(); }
    size_t size() const;

private:
    std::deque<CPXRMidiMessage> messages;
    mutable juce::CriticalSection lock;
};
} // namespace midi
