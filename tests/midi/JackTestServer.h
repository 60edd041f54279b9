#pragma once

#include "support/Process.h"

#include <juce_core/juce_core.h>

namespace tarnombi::test
{
// A JACK server with the dummy driver for end-to-end tests. When the environment names a
// running server (JACK_DEFAULT_SERVER, as scripts/test exports it) that one is used; otherwise
// a private one is started and stopped with this object. Child processes inherit the name.
class JackTestServer
{
public:
    JackTestServer();
    ~JackTestServer();

    bool isAvailable() const noexcept { return available; }
    juce::String getProblem() const { return problem; }

private:
    Process server;
    bool available = false;
    juce::String problem;
};

// Starts a program whose standard output and error go to a fresh file in the test folder.
bool startProcess (Process& process, const juce::StringArray& command);
// Waits until the process's output holds the text (false when it ends or the time passes).
bool waitForOutput (Process& process, const juce::String& text, int timeoutMs = 10000);
// SIGTERM, and the exit status once it has ended (-1 when it had to be killed).
int stopProcess (Process& process, int graceMs = 5000);
} // namespace tarnombi::test
