#include "support/Process.h"

#include "support/TestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tarnombi::test
{
Process::~Process()
{
    if (pid > 0)
        stop (1000);
}

bool Process::start (const juce::StringArray& commandAndArguments, const juce::File& outputFile)
{
    if (commandAndArguments.isEmpty())
        return false;
    output = outputFile;
    output.deleteFile();

    std::vector<std::string> strings;
    for (const auto& s : commandAndArguments)
        strings.push_back (s.toStdString());
    std::vector<char*> argv;
    for (auto& s : strings)
        argv.push_back (s.data());
    argv.push_back (nullptr);
    const auto outputPath = output.getFullPathName().toStdString();

    pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0)
    {
        const int fd = ::open (outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0)
        {
            ::dup2 (fd, 1);
            ::dup2 (fd, 2);
            ::close (fd);
        }
        ::execv (argv[0], argv.data());
        ::_exit (127);
    }
    exitStatus = -1;
    return true;
}

bool Process::isRunning()
{
    if (pid <= 0)
        return false;
    int status = 0;
    const auto result = ::waitpid (pid, &status, WNOHANG);
    if (result == pid)
    {
        exitStatus = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
        pid = -1;
        return false;
    }
    return result == 0;
}

void Process::signal (int signalNumber)
{
    if (pid > 0)
        ::kill (pid, signalNumber);
}

int Process::waitForExit (int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (isRunning())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return -1;
        juce::Thread::sleep (10);
    }
    return exitStatus;
}

void Process::stop (int graceMs)
{
    if (! isRunning())
        return;
    signal (SIGTERM);
    if (waitForExit (graceMs) < 0)
    {
        signal (SIGKILL);
        waitForExit (5000);
    }
}

RunResult runProgram (const juce::StringArray& commandAndArguments, int timeoutMs)
{
    static int counter = 0;
    Process process;
    RunResult result;
    const auto outputFile = getTestRootFolder().getChildFile ("run-" + juce::String (++counter) + ".out");
    if (! process.start (commandAndArguments, outputFile))
        return result;
    result.exitStatus = process.waitForExit (timeoutMs);
    if (result.exitStatus < 0)
        process.stop (1000);
    result.output = process.readOutput();
    return result;
}

juce::File getBuiltProgram (const juce::String& name)
{
    return juce::File (TARNOMBI_BINARY_DIR).getChildFile (name);
}

juce::File getTestOutputFolder()
{
    const auto configured = juce::SystemStats::getEnvironmentVariable ("TARNOMBI_TEST_OUTPUT_DIR", {});
    const auto folder = juce::File::isAbsolutePath (configured) ? juce::File (configured)
                                                                 : juce::File (TARNOMBI_BINARY_DIR).getChildFile ("test-output");
    folder.createDirectory();
    return folder;
}
} // namespace tarnombi::test
