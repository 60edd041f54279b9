#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>
#include <juce_graphics/juce_graphics.h>

#include <atomic>
#include <map>

namespace twitter
{
class TwitterTaskBase;

// Runs the Twitter tasks one at a time, in the order they were handed in, on one worker
// thread. The caller keeps each task; its change message tells the caller (and this
// processor) on the message thread that it has finished.
class TwitterTaskProcessor : public Singleton<TwitterTaskProcessor>,
                             public juce::ChangeListener,
                             public juce::DeletedAtShutdown
{
public:
    TwitterTaskProcessor();
    ~TwitterTaskProcessor() override;

    void executeTask (TwitterTaskBase* task);
    // Takes a task out of the queue, or stops it when it is running, and returns once it no
    // longer runs. Every owner calls this before destroying a task it handed in.
    void removeTask (TwitterTaskBase* task);

    bool isBusy() const { return busy; }

    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

private:
    juce::ThreadPool pool { 1 };
    std::atomic<bool> busy { false };

    JUCE_DECLARE_NON_COPYABLE (TwitterTaskProcessor)
};

// Downloaded profile pictures by user id. Written by the worker thread, read by the
// message thread.
class TwitterProfileImageCache : public Singleton<TwitterProfileImageCache>, public juce::DeletedAtShutdown
{
public:
    TwitterProfileImageCache() = default;

    bool hasImage (const juce::String& userId) const;
    juce::Image getImage (const juce::String& userId) const;
    // Keeps the first picture stored for a user.
    void addImage (const juce::String& userId, const juce::Image& image);

private:
    juce::CriticalSection lock;
    std::map<juce::String, juce::Image> images;
};
} // namespace twitter
