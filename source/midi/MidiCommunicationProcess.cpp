#include "midi/MidiCommunicationProcess.h"

namespace midi
{
MidiCommunicationProcess::~MidiCommunicationProcess()
{
    cancelPendingUpdate();
}

void MidiCommunicationProcess::handleAsyncUpdate()
{
    callListeners ([] (MidiCommunicationProcessObserver& observer) { observer.midiCommunicationProcessUpdated(); });
}

void MidiCommunicationProcess::setProgress (const float& value)
{
    progress = value;
    triggerAsyncUpdate();
}

void MidiCommunicationProcess::setStatusMessage (const juce::String& text)
{
    {
        const juce::ScopedLock sl (lock);
        statusMessage = text;
    }
    triggerAsyncUpdate();
}

void MidiCommunicationProcess::setDetailMessage (const juce::String& text)
{
    {
        const juce::ScopedLock sl (lock);
        detailMessage = text;
    }
    triggerAsyncUpdate();
}

juce::String MidiCommunicationProcess::getStatusMessage() const
{
    const juce::ScopedLock sl (lock);
    return statusMessage;
}

juce::String MidiCommunicationProcess::getDetailMessage() const
{
    const juce::ScopedLock sl (lock);
    return detailMessage;
}

void MidiCommunicationProcess::noticeUpdate()
{
    triggerAsyncUpdate();
}

bool MidiCommunicationProcess::threadShouldExit() const
{
    auto* running = thread.load();
    return running != nullptr && running->threadShouldExit();
}

//==============================================================================
MidiCommunicationThread::MidiCommunicationThread (MidiCommunicationProcess& processToRun)
    : juce::Thread ("MidiCommunicationThread"), process (processToRun)
{
}

MidiCommunicationThread::~MidiCommunicationThread()
{
    cancelPendingUpdate();
}

void MidiCommunicationThread::run()
{
    process.setThread (this);
    result = process.execute();
    finished = true;
    triggerAsyncUpdate();
}

void MidiCommunicationThread::handleAsyncUpdate()
{
    callListeners ([] (MidiCommunicationThreadListener& listener) { listener.midiCommunicationProcessFinished(); });
}
} // namespace midi
