#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

#include <atomic>

namespace midi
{
class MidiCommunicationProcessObserver
{
public:
    virtual ~MidiCommunicationProcessObserver() = default;
    virtual void midiCommunicationProcessUpdated() = 0;
};

// One job with the instrument (write the library, receive a program, ...). execute() runs on a
// worker thread and reports progress, a status line and a detail text; observers hear of the
// changes on the message thread, several changes in a row possibly as one call.
class MidiCommunicationProcess : public ListenerHolder<MidiCommunicationProcessObserver>, public juce::AsyncUpdater
{
public:
    MidiCommunicationProcess() = default;
    ~MidiCommunicationProcess() override;

    // Runs the job; returns a communication result code (0 for success).
    virtual int execute() = 0;
    virtual bool isSucceeded (int result) = 0;
    // The localized title of the job.
    virtual juce::String getProcessName() const = 0;
    virtual bool isSupportedCancel() const = 0;

    void handleAsyncUpdate() override;

    void setProgress (const float& value);
    float getProgress() const noexcept { return progress; }
    void setStatusMessage (const juce::String& text);
    void setDetailMessage (const juce::String& text);
    juce::String getStatusMessage() const;
    juce::String getDetailMessage() const;
    void noticeUpdate();

    // Whether the thread that runs execute() has been asked to stop.
    bool threadShouldExit() const;
    // Set by the thread that runs execute(), just before it calls it.
    void setThread (juce::Thread* runningThread) noexcept { thread = runningThread; }

private:
    std::atomic<float> progress { 0.0f };
    juce::CriticalSection lock;
    juce::String statusMessage;
    juce::String detailMessage;
    std::atomic<juce::Thread*> thread { nullptr };

    JUCE_DECLARE_NON_COPYABLE (MidiCommunicationProcess)
};

class MidiCommunicationThreadListener
{
public:
    virtual ~MidiCommunicationThreadListener() = default;
    virtual void midiCommunicationProcessFinished() = 0;
};

// Runs one process; its listeners hear on the message thread that the process has finished.
class MidiCommunicationThread : public juce::Thread,
                                public ListenerHolder<MidiCommunicationThreadListener>,
                                public juce::AsyncUpdater
{
public:
    explicit MidiCommunicationThread (MidiCommunicationProcess& processToRun);
    ~MidiCommunicationThread() override;

    void run() override;
    void handleAsyncUpdate() override;

    // The process's result code; 0 until execute() has returned.
    int getResult() const noexcept { return result; }
    bool hasFinished() const noexcept { return finished; }

private:
    MidiCommunicationProcess& process;
    std::atomic<int> result { 0 };
    std::atomic<bool> finished { false };

    JUCE_DECLARE_NON_COPYABLE (MidiCommunicationThread)
};
} // namespace midi
