#pragma once

#include <juce_core/juce_core.h>

#include <sys/types.h>

namespace tarnombi::test
{
// A program that a test starts as a separate process. Its standard output and error go to
// a file; the test stops it by its process id (the destructor kills it if still running).
class Process
{
public:
    Process() = default;
    ~Process();

    // Starts the program with its arguments; false when it could not be started.
    bool start (const juce::StringArray& commandAndArguments, const juce::File& outputFile);

    pid_t getPid() const noexcept { return pid; }
    bool isRunning();
    void signal (int signalNumber);
    // Waits for the exit; the exit status, 128 + signal when killed, or -1 on time-out.
    int waitForExit (int timeoutMs);
    // SIGTERM, then SIGKILL after the grace time.
    void stop (int graceMs = 3000);

    juce::String readOutput() const { return output.loadFileAsString(); }

private:
    pid_t pid = -1;
    int exitStatus = -1;
    juce::File output;
};

// Runs a program to its end (with a time-out); returns its exit status and output.
struct RunResult
{
    int exitStatus = -1;
    juce::String output;
};
RunResult runProgram (const juce::StringArray& commandAndArguments, int timeoutMs = 60000);

// A program built next to the tests (tarnombi, tarnombi-librarian, test tools).
juce::File getBuiltProgram (const juce::String& name);
// The folder for screenshots and other artefacts of window tests.
juce::File getTestOutputFolder();
} // namespace tarnombi::test
