#pragma once

#include <juce_core/juce_core.h>

#include <sys/types.h>

namespace tarnombi::test
{
// A program a test starts and stops itself, by its process id. Its standard output and
// error go to files in a temporary folder.
class TestProcess
{
public:
    TestProcess() = default;
    ~TestProcess() { stop(); }

    bool start (const juce::StringArray& command);
    // Waits until the standard output holds the text or the process ends.
    bool waitForOutput (const juce::String& text, int timeoutMs = 10000);
    bool isRunning();
    // SIGTERM, then SIGKILL if it does not end within the time; returns the exit status
    // (-1 when it had to be killed or was not running).
    int stop (int timeoutMs = 5000);

    juce::String getOutput() const;
    juce::String getErrors() const;
    pid_t getPid() const noexcept { return pid; }

private:
    pid_t pid = -1;
    int exitStatus = -1;
    juce::File outputFile;
    juce::File errorFile;
};

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
    TestProcess server;
    bool available = false;
    juce::String problem;
};

// Runs a program to its end; returns its exit code and fills in its output.
int runToEnd (const juce::StringArray& command, juce::String& output, int timeoutMs = 30000);

juce::File getBuiltProgram (const juce::String& name);
} // namespace tarnombi::test
