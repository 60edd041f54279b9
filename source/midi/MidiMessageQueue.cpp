#include "midi/MidiMessageQueue.h"

namespace midi
{
void MidiMessageQueue::push (const CPXRMidiMessage& message)
{
    const juce::ScopedLock sl (lock);
    messages.push_back (message);
}

CPXRMidiMessage MidiMessageQueue::pop()
{
    const juce::ScopedLock sl (lock);
    // Popping an empty queue is a caller's mistake; it gets an empty message rather than a crash.
    if (messages.empty())
        return {};
    CPXRMidiMessage front (messages.front());
    messages.pop_front();
    return front;
}

void MidiMessageQueue::clear()
{
    const juce::ScopedLock sl (lock);
    messages.clear();
}

size_t MidiMessageQueue::size() const
{
    const juce::ScopedLock sl (lock);
    return messages.size();
}
} // namespace midi
