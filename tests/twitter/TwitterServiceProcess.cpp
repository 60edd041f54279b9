#include "twitter/TwitterServiceProcess.h"

#include "support/TestSupport.h"

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tarnombi::test
{
TwitterServiceProcess::TwitterServiceProcess (const juce::StringArray& extraArguments)
{
    static int counter = 0;
    logFile = makeTemporaryFolder ("twitter-service-" + juce::String (++counter)).getChildFile ("requests.log");

    std::vector<std::string> arguments { TARNOMBI_BINARY_DIR "/tarnombi-twitter-service",
                                         "--consumer-key",
                                         ConsumerKey,
                                         "--consumer-secret",
                                         ConsumerSecret,
                                         "--pin",
                                         Pin,
                                         "--log",
                                         logFile.getFullPathName().toStdString() };
    for (const auto& argument : extraArguments)
        arguments.push_back (argument.toStdString());

    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);

    int fds[2];
    if (pipe (fds) != 0)
        return;

    pid = fork();
    if (pid == 0)
    {
        dup2 (fds[1], STDOUT_FILENO);
        close (fds[0]);
        close (fds[1]);
        execv (argv[0], argv.data());
        _exit (127);
    }
    close (fds[1]);
    if (pid < 0)
    {
        close (fds[0]);
        return;
    }

    // The service prints "PORT n" once it listens.
    std::string line;
    pollfd waitFor { fds[0], POLLIN, 0 };
    while (line.find ('\n') == std::string::npos && poll (&waitFor, 1, 5000) > 0)
    {
        char buffer[64];
        const auto n = read (fds[0], buffer, sizeof (buffer));
        if (n <= 0)
            break;
        line.append (buffer, (size_t) n);
    }
    close (fds[0]);

    if (line.rfind ("PORT ", 0) == 0)
        port = std::atoi (line.c_str() + 5);
}

TwitterServiceProcess::~TwitterServiceProcess()
{
    if (pid > 0)
    {
        kill (pid, SIGTERM);
        int status = 0;
        waitpid (pid, &status, 0);
    }
}

juce::StringArray TwitterServiceProcess::getLog() const
{
    juce::StringArray lines;
    lines.addLines (logFile.loadFileAsString());
    lines.removeEmptyStrings();
    return lines;
}

int TwitterServiceProcess::countLogLines (const juce::String& containing) const
{
    int count = 0;
    for (const auto& line : getLog())
        if (line.contains (containing))
            ++count;
    return count;
}
} // namespace tarnombi::test
