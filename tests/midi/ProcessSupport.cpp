#include "ProcessSupport.h"

#include "midi/RtMidiBackend.h"
#include "support/TestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <vector>

namespace tarnombi::test
{
namespace
{
    std::atomic<int> processCounter { 0 };
}

bool TestProcess::start (const juce::StringArray& command)
{
    stop();
    const auto folder = makeTemporaryFolder ("process-" + juce::String (++processCounter));
    outputFile = folder.getChildFile ("stdout.txt");
    errorFile = folder.getChildFile ("stderr.txt");

    std::vector<std::string> arguments;
    for (auto& argument : command)
        arguments.push_back (argument.toStdString());
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);
    const auto out = outputFile.getFullPathName().toStdString();
    const auto err = errorFile.getFullPathName().toStdString();

    pid = ::fork();
    if (pid == 0)
    {
        const int outFd = ::open (out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open (err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2 (outFd, 1);
        ::dup2 (errFd, 2);
        ::setpgid (0, 0);
        // The child starts with the signal state of a fresh program, whatever this thread had.
        sigset_t none;
        sigemptyset (&none);
        ::sigprocmask (SIG_SETMASK, &none, nullptr);
        ::signal (SIGTERM, SIG_DFL);
        ::signal (SIGINT, SIG_DFL);
        ::execvp (argv[0], argv.data());
        ::_exit (127);
    }
    exitStatus = -1;
    return pid > 0;
}

bool TestProcess::isRunning()
{
    if (pid <= 0)
        return false;
    int status = 0;
    const auto result = ::waitpid (pid, &status, WNOHANG);
    if (result == pid)
    {
        exitStatus = WIFEXITED (status) ? WEXITSTATUS (status) : -1;
        pid = -1;
        return false;
    }
    return result == 0;
}

bool TestProcess::waitForOutput (const juce::String& text, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < deadline)
    {
        if (getOutput().contains (text))
            return true;
        if (! isRunning())
            return getOutput().contains (text);
        juce::Thread::sleep (20);
    }
    return false;
}

int TestProcess::stop (int timeoutMs)
{
    if (! isRunning())
        return pid == -1 ? exitStatus : -1;
    ::kill (pid, SIGTERM);
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < deadline)
    {
        if (! isRunning())
            return exitStatus;
        juce::Thread::sleep (10);
    }
    ::kill (pid, SIGKILL);
    ::waitpid (pid, nullptr, 0);
    pid = -1;
    exitStatus = -1;
    return -1;
}

juce::String TestProcess::getOutput() const
{
    return outputFile.loadFileAsString();
}

juce::String TestProcess::getErrors() const
{
    return errorFile.loadFileAsString();
}

//==============================================================================
JackTestServer::JackTestServer()
{
    // Clients must never start a server of their own.
    ::setenv ("JACK_NO_START_SERVER", "1", 1);
    if (juce::SystemStats::getEnvironmentVariable ("JACK_DEFAULT_SERVER", {}).isNotEmpty()
        && midi::RtMidiBackend::isJackServerRunning())
    {
        available = true;
        return;
    }
    if (! juce::File ("/usr/bin/jackd").existsAsFile())
    {
        problem = "jackd is not installed";
        return;
    }

    // A server that dies without cleaning up keeps its slot in JACK's registry (a few for the
    // whole computer) until a server of the same name starts again; a small set of names that
    // are tried in turn keeps such slots from piling up.
    for (int slot = 0; slot < 4 && ! available; ++slot)
    {
        const auto name = "tarnombi-test-" + juce::String (slot);
        ::setenv ("JACK_DEFAULT_SERVER", name.toRawUTF8(), 1);
        if (midi::RtMidiBackend::isJackServerRunning())
            continue; // another test run's server
        // Realtime first; without it a client thread that runs late loses MIDI events.
        for (auto mode : { "-R", "-r" })
        {
            server.start ({ "/usr/bin/jackd", "-n", name, mode, "-S", "-d", "dummy", "-r", "48000", "-p", "64" });
            const auto deadline = juce::Time::getMillisecondCounter() + 10000;
            while (juce::Time::getMillisecondCounter() < deadline && server.isRunning())
            {
                if (midi::RtMidiBackend::isJackServerRunning())
                {
                    available = true;
                    return;
                }
                juce::Thread::sleep (20);
            }
            server.stop();
            if (server.getErrors().contains ("already"))
                break; // the name is taken after all: try the next one
        }
    }
    problem = "the JACK server did not start: " + server.getErrors();
}

JackTestServer::~JackTestServer()
{
    // A server killed before it has cleaned up leaves its slot in the registry: give it time.
    server.stop (15000);
}

int runToEnd (const juce::StringArray& command, juce::String& output, int timeoutMs)
{
    juce::ChildProcess process;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return -1;
    output = process.readAllProcessOutput();
    if (! process.waitForProcessToFinish (timeoutMs))
    {
        process.kill();
        return -1;
    }
    return (int) process.getExitCode();
}

juce::File getBuiltProgram (const juce::String& name)
{
    return juce::File (TARNOMBI_BINARY_DIR).getChildFile (name);
}
} // namespace tarnombi::test
