#pragma once

#include <juce_events/juce_events.h>

#include <functional>

namespace tarnombi::test
{
// Points XDG_CONFIG_HOME, XDG_RUNTIME_DIR and HOME at a fresh temporary folder of this
// test process, so that no test reads or writes the user's own settings.
void redirectUserFolders();

// The temporary folder made by redirectUserFolders().
juce::File getTestRootFolder();

// Runs the message loop until condition() holds or the time-out passes; returns whether it held.
bool runMessageLoopUntil (const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the message loop for a while so that posted asynchronous updates are delivered.
void runMessageLoopFor (int milliseconds);

// A fresh empty folder inside the test root.
juce::File makeTemporaryFolder (const juce::String& name);
} // namespace tarnombi::test
