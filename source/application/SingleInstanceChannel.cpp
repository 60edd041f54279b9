#include "application/SingleInstanceChannel.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace x38200_application
{
namespace
{
    constexpr size_t maximumCommandLineBytes = 64 * 1024;
    const char* const acknowledgement = "OK";
    // Every hand-over starts with this line, so that a bare connection (a launch checking
    // whether an instance lives) is never taken for an empty command line.
    const std::string greeting = "TarnOMBI Sound Librarian command line\n";

    // A folder only this user can enter, or an invalid file when it cannot be made safe.
    juce::File getPrivateFolder()
    {
        const auto runtime = juce::SystemStats::getEnvironmentVariable ("XDG_RUNTIME_DIR", {});
        juce::File folder;
        if (juce::File::isAbsolutePath (runtime) && juce::File (runtime).isDirectory())
            folder = juce::File (runtime);
        else
            folder = juce::File ("/tmp").getChildFile ("tarnombi-librarian-" + juce::String ((int) ::getuid()));

        const auto path = folder.getFullPathName().toStdString();
        ::mkdir (path.c_str(), 0700);
        struct stat info {};
        if (::lstat (path.c_str(), &info) != 0 || ! S_ISDIR (info.st_mode) || info.st_uid != ::getuid()
            || (info.st_mode & 0077) != 0)
            return {};
        return folder;
    }

    bool makeAddress (const juce::File& socketFile, sockaddr_un& address)
    {
        const auto path = socketFile.getFullPathName().toStdString();
        if (path.empty() || path.size() >= sizeof (address.sun_path))
            return false;
        std::memset (&address, 0, sizeof (address));
        address.sun_family = AF_UNIX;
        std::memcpy (address.sun_path, path.c_str(), path.size() + 1);
        return true;
    }

    bool peerIsSameUser (int fd)
    {
        ucred credentials {};
        socklen_t length = sizeof (credentials);
        return ::getsockopt (fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == ::getuid();
    }

    bool waitFor (int fd, short events, int timeoutMs)
    {
        pollfd entry { fd, events, 0 };
        return ::poll (&entry, 1, timeoutMs) > 0 && (entry.revents & events) != 0;
    }

    bool writeAll (int fd, const char* data, size_t size, int timeoutMs)
    {
        while (size > 0)
        {
            if (! waitFor (fd, POLLOUT, timeoutMs))
                return false;
            const auto written = ::send (fd, data, size, MSG_NOSIGNAL);
            if (written < 0)
            {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                return false;
            }
            data += written;
            size -= (size_t) written;
        }
        return true;
    }

    // Reads until the peer closes its side; false when it sends too much or stalls.
    bool readAll (int fd, std::string& text, int timeoutMs)
    {
        char buffer[4096];
        for (;;)
        {
            if (! waitFor (fd, POLLIN, timeoutMs))
                return false;
            const auto got = ::recv (fd, buffer, sizeof (buffer), 0);
            if (got < 0)
            {
                if (errno == EINTR || errno == EAGAIN)
                    continue;
                return false;
            }
            if (got == 0)
                return true;
            text.append (buffer, (size_t) got);
            if (text.size() > maximumCommandLineBytes)
                return false;
        }
    }
} // namespace

//==============================================================================
class SingleInstanceChannel::Listener : private juce::Thread
{
public:
    Listener (int socket, juce::File file, Receiver r)
        : juce::Thread ("SingleInstanceChannel"), serverSocket (socket), socketFile (std::move (file)), receiver (std::move (r))
    {
        startThread();
    }

    ~Listener() override
    {
        signalThreadShouldExit();
        ::shutdown (serverSocket, SHUT_RDWR);
        stopThread (2000);
        ::close (serverSocket);
        ::unlink (socketFile.getFullPathName().toRawUTF8());
    }

private:
    void run() override
    {
        while (! threadShouldExit())
        {
            if (! waitFor (serverSocket, POLLIN, 100))
                continue;
            const int client = ::accept4 (serverSocket, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            handleClient (client);
            ::close (client);
        }
    }

    void handleClient (int client)
    {
        if (! peerIsSameUser (client))
            return;
        std::string text;
        if (! readAll (client, text, 2000) || text.compare (0, greeting.size(), greeting) != 0)
            return;
        writeAll (client, acknowledgement, std::strlen (acknowledgement), 1000);

        const auto commandLine = juce::String::fromUTF8 (text.data() + greeting.size(), (int) (text.size() - greeting.size()));
        auto deliver = receiver;
        juce::MessageManager::callAsync ([deliver, commandLine] { deliver (commandLine); });
    }

    int serverSocket;
    juce::File socketFile;
    Receiver receiver;
};

//==============================================================================
SingleInstanceChannel::SingleInstanceChannel() = default;

SingleInstanceChannel::~SingleInstanceChannel()
{
    stopListening();
}

juce::File SingleInstanceChannel::getSocketFile()
{
    const auto folder = getPrivateFolder();
    return folder == juce::File() ? juce::File() : folder.getChildFile ("tarnombi-librarian.socket");
}

bool SingleInstanceChannel::sendToRunningInstance (const juce::String& commandLine, int timeoutMs)
{
    sockaddr_un address;
    if (! makeAddress (getSocketFile(), address))
        return false;

    const int fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;

    bool delivered = false;
    if (::connect (fd, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) == 0 && peerIsSameUser (fd))
    {
        const auto text = greeting + commandLine.toStdString();
        if (writeAll (fd, text.data(), text.size(), timeoutMs))
        {
            ::shutdown (fd, SHUT_WR);
            std::string answer;
            delivered = readAll (fd, answer, timeoutMs) && answer == acknowledgement;
        }
    }
    ::close (fd);
    return delivered;
}

bool SingleInstanceChannel::claim()
{
    if (serverSocket >= 0)
        return true;

    const auto file = getSocketFile();
    sockaddr_un address;
    if (! makeAddress (file, address))
        return false;

    const int fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;

    auto bound = ::bind (fd, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) == 0;
    if (! bound && errno == EADDRINUSE)
    {
        // A socket left behind by an instance that crashed: nobody answers on it.
        const int probe = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool alive = probe >= 0 && ::connect (probe, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) == 0;
        if (probe >= 0)
            ::close (probe);
        if (! alive)
        {
            ::unlink (address.sun_path);
            bound = ::bind (fd, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) == 0;
        }
    }

    if (! bound || ::listen (fd, 8) != 0)
    {
        ::close (fd);
        return false;
    }
    ::chmod (address.sun_path, 0600);
    serverSocket = fd;
    socketFile = file;
    return true;
}

bool SingleInstanceChannel::startListening (Receiver receiver)
{
    if (listener != nullptr || ! claim())
        return listener != nullptr;
    listener = std::make_unique<Listener> (serverSocket, socketFile, std::move (receiver));
    serverSocket = -1; // the listener owns it now
    return true;
}

void SingleInstanceChannel::stopListening()
{
    listener.reset();
    if (serverSocket >= 0)
    {
        ::close (serverSocket);
        serverSocket = -1;
        ::unlink (socketFile.getFullPathName().toRawUTF8());
    }
}

bool SingleInstanceChannel::isListening() const
{
    return listener != nullptr;
}

juce::String makeHandOverCommandLine (const juce::StringArray& arguments, const juce::File& workingDirectory)
{
    juce::StringArray parts;
    for (auto argument : arguments)
    {
        if (! argument.startsWith ("-") && argument.isNotEmpty())
        {
            const auto file = workingDirectory.getChildFile (argument);
            if (file.exists())
                argument = file.getFullPathName();
        }
        parts.add (argument.containsChar (' ') ? argument.quoted ('"') : argument);
    }
    return parts.joinIntoString (" ");
}
} // namespace x38200_application
