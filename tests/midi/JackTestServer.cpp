#include "JackTestServer.h"

#include "midi/RtMidiBackend.h"
#include "support/TestSupport.h"

#include <csignal>
#include <cstdlib>

namespace tarnombi::test
{
bool startProcess (Process& process, const juce::StringArray& command)
{
    static int counter = 0;
    return process.start (command, getTestRootFolder().getChildFile ("process-" + juce::String (++counter) + ".out"));
}

bool waitForOutput (Process& process, const juce::String& text, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < deadline)
    {
        if (process.readOutput().contains (text))
            return true;
        if (! process.isRunning())
            return process.readOutput().contains (text);
        juce::Thread::sleep (20);
    }
    return false;
}

int stopProcess (Process& process, int graceMs)
{
    if (! process.isRunning())
        return process.waitForExit (0);
    process.signal (SIGTERM);
    const int status = process.waitForExit (graceMs);
    if (status < 0)
        process.stop (0);
    return status;
}

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
            startProcess (server, { "/usr/bin/jackd", "-n", name, mode, "-S", "-d", "dummy", "-r", "48000", "-p", "64" });
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
            problem = "the JACK server did not start: " + server.readOutput();
            stopProcess (server);
            if (server.readOutput().contains ("already"))
                break; // the name is taken after all: try the next one
        }
    }
}

JackTestServer::~JackTestServer()
{
    // A server killed before it has cleaned up keeps its registry slot: give it time.
    if (available)
        stopProcess (server, 15000);
}
} // namespace tarnombi::test
