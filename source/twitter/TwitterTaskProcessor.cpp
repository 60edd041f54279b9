#include "twitter/TwitterTaskProcessor.h"

#include "twitter/TwitterTask.h"

#include <cstdio>

namespace twitter
{
TwitterTaskProcessor::TwitterTaskProcessor() = default;

TwitterTaskProcessor::~TwitterTaskProcessor()
{
    pool.removeAllJobs (true, 5000);
}

void TwitterTaskProcessor::executeTask (TwitterTaskBase* task)
{
    if (task == nullptr)
        return;

    busy = true;
    task->addChangeListener (this);
    pool.addJob (task, false);
}

void TwitterTaskProcessor::removeTask (TwitterTaskBase* task)
{
    if (task == nullptr)
        return;

    // A running task abandons its transfer when asked, so the wait is short; should it
    // still run after five seconds, keep waiting rather than leave it to a deleted owner.
    if (! pool.removeJob (task, true, 5000))
        while (! pool.removeJob (task, true, 1000))
            ;

    task->removeChangeListener (this);
}

void TwitterTaskProcessor::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    auto* task = dynamic_cast<TwitterTaskBase*> (source);
    if (task == nullptr)
        return;

    if (task->getResultCode() != 0)
    {
        std::printf ("Error: (%d) %s\n", task->getErrorCode(), task->getResultText().toRawUTF8());
        std::fflush (stdout);
    }

    busy = false;
    task->removeChangeListener (this);
}

//==============================================================================
bool TwitterProfileImageCache::hasImage (const juce::String& userId) const
{
    const juce::ScopedLock sl (lock);
    return images.find (userId) != images.end();
}

juce::Image TwitterProfileImageCache::getImage (const juce::String& userId) const
{
    const juce::ScopedLock sl (lock);
    const auto found = images.find (userId);
    return found != images.end() ? found->second : juce::Image();
}

void TwitterProfileImageCache::addImage (const juce::String& userId, const juce::Image& image)
{
    const juce::ScopedLock sl (lock);
    images.emplace (userId, image);
}
} // namespace twitter
