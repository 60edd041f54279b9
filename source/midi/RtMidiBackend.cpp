#include "midi/RtMidiBackend.h"

#include <rtmidi/RtMidi.h>

#include <condition_variable>
#include <deque>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace midi
{
namespace
{
    RtMidi::Api toRtMidiApi (RtMidiBackend::Api api)
    {
        return api == RtMidiBackend::Api::alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
    }

    // RtMidi reports failures through this callback instead of throwing or printing; the
    // callers look at the port state instead.
    void ignoreRtMidiError (RtMidiError::Type, const std::string&, void*) {}

    void recordRtMidiError (RtMidiError::Type type, const std::string&, void* userData)
    {
        if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
            *static_cast<bool*> (userData) = true;
    }

    // Runs one opening step of a port and tells whether RtMidi reported an error.
    template <class Port, class Step>
    bool runOpeningStep (Port& port, Step&& step)
    {
        bool failed = false;
        port.setErrorCallback (&recordRtMidiError, &failed);
        try
        {
            step();
        }
        catch (const std::exception&)
        {
            failed = true;
        }
        port.setErrorCallback (&ignoreRtMidiError, nullptr);
        return ! failed;
    }

    template <class Port>
    std::unique_ptr<Port> makePort (RtMidiBackend::Api api, const juce::String& clientName)
    {
        if (api == RtMidiBackend::Api::none)
            return {};
        try
        {
            auto port = std::make_unique<Port> (toRtMidiApi (api), clientName.toStdString());
            port->setErrorCallback (&ignoreRtMidiError, nullptr);
            return port;
        }
        catch (const std::exception&)
        {
            return {};
        }
    }

    template <class Port>
    std::vector<std::string> listRawNames (Port& port)
    {
        std::vector<std::string> names;
        try
        {
            const auto count = port.getPortCount();
            for (unsigned int i = 0; i < count; ++i)
                names.push_back (port.getPortName (i));
        }
        catch (const std::exception&)
        {
        }
        return names;
    }

    template <class Port>
    int findRawIndex (Port& port, const std::string& rawName)
    {
        const auto names = listRawNames (port);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == rawName)
                return (int) i;
        return -1;
    }

    //==========================================================================
    class RtMidiInputConnection : public MidiInputConnection
    {
    public:
        RtMidiInputConnection (std::unique_ptr<RtMidiIn> in, MidiPacketCallback cb)
            : input (std::move (in)), callback (std::move (cb))
        {
            input->ignoreTypes (false, false, false);
            input->setCallback (&RtMidiInputConnection::receive, this);
        }

        ~RtMidiInputConnection() override
        {
            try
            {
                input->cancelCallback();
                input->closePort();
            }
            catch (const std::exception&)
            {
            }
            input.reset();
        }

        RtMidiIn& getInput() { return *input; }

    private:
        static void receive (double, std::vector<unsigned char>* message, void* userData)
        {
            auto* self = static_cast<RtMidiInputConnection*> (userData);
            if (message != nullptr && ! message->empty())
                self->callback (message->data(), (int) message->size());
        }

        std::unique_ptr<RtMidiIn> input;
        MidiPacketCallback callback;
    };

    // Sends System Exclusive blocks on a thread of its own, so that a sender never waits for
    // the system and learns of the end through its completion callback.
    class RtMidiOutputConnection : public MidiOutputConnection
    {
    public:
        explicit RtMidiOutputConnection (std::unique_ptr<RtMidiOut> out)
            : output (std::move (out)), sender ([this] { sendLoop(); })
        {
        }

        ~RtMidiOutputConnection() override
        {
            {
                std::lock_guard<std::mutex> guard (queueMutex);
                stopping = true;
            }
            queueChanged.notify_all();
            sender.join();
            std::lock_guard<std::mutex> guard (outputMutex);
            try
            {
                output->closePort();
            }
            catch (const std::exception&)
            {
            }
            output.reset();
        }

        bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) override
        {
            {
                std::lock_guard<std::mutex> guard (queueMutex);
                if (stopping)
                    return false;
                pending.push_back ({ std::move (bytes), std::move (onComplete) });
            }
            queueChanged.notify_all();
            return true;
        }

        bool sendShort (const std::uint8_t* bytes, int count) override
        {
            return write (bytes, count);
        }

        RtMidiOut& getOutput() { return *output; }

    private:
        struct Request
        {
            std::vector<std::uint8_t> bytes;
            std::function<void()> onComplete;
        };

        bool write (const std::uint8_t* bytes, int count)
        {
            if (count <= 0)
                return false;
            std::lock_guard<std::mutex> guard (outputMutex);
            try
            {
                output->sendMessage (bytes, (size_t) count);
                return true;
            }
            catch (const std::exception&)
            {
                return false;
            }
        }

        void sendLoop()
        {
            for (;;)
            {
                Request request;
                {
                    std::unique_lock<std::mutex> lock (queueMutex);
                    queueChanged.wait (lock, [this] { return stopping || ! pending.empty(); });
                    if (pending.empty())
                        return;
                    request = std::move (pending.front());
                    pending.pop_front();
                }
                write (request.bytes.data(), (int) request.bytes.size());
                if (request.onComplete)
                    request.onComplete();
            }
        }

        std::unique_ptr<RtMidiOut> output;
        std::mutex outputMutex;
        std::mutex queueMutex;
        std::condition_variable queueChanged;
        std::deque<Request> pending;
        bool stopping = false;
        std::thread sender;
    };
} // namespace

//==============================================================================
struct RtMidiBackend::Impl : private juce::Thread
{
    Impl (RtMidiBackend& ownerToUse, Api apiToUse, const juce::String& clientName)
        : juce::Thread ("MidiSetupWatcher"), owner (ownerToUse), api (apiToUse), ownClientName (clientName)
    {
        if (api != Api::none)
            startThread();
    }

    ~Impl() override { stopThread (2000); }

    bool isOwnDevice (const juce::String& device) const
    {
        if (device == ownClientName)
            return true;
        // JACK renames a second client of the same name "name-01", "name-02", ...
        if (api == Api::jack && device.startsWith (ownClientName + "-"))
            return device.substring (ownClientName.length() + 1).containsOnly ("0123456789");
        return false;
    }

    struct Listing
    {
        std::vector<std::string> raw;
        std::vector<MidiEndpointName> names;
    };

    template <class Port>
    Listing list (std::unique_ptr<Port>& enumerator)
    {
        Listing listing;
        std::lock_guard<std::mutex> guard (enumerationMutex);
        if (enumerator == nullptr)
            enumerator = makePort<Port> (api, ownClientName);
        if (enumerator == nullptr)
            return listing;
        for (auto& raw : listRawNames (*enumerator))
        {
            auto name = splitPortName (api, juce::String::fromUTF8 (raw.c_str()));
            if (isOwnDevice (name.device))
                continue;
            listing.raw.push_back (raw);
            listing.names.push_back (name);
        }
        return listing;
    }

    Listing listSources() { return list (inputEnumerator); }
    Listing listDestinations() { return list (outputEnumerator); }

    void run() override
    {
        std::vector<juce::String> last;
        bool first = true;
        while (! threadShouldExit())
        {
            wait (1000);
            if (threadShouldExit() || ! owner.hasSetupChangeCallbacks())
            {
                first = true;
                continue;
            }
            std::vector<juce::String> now;
            for (auto& n : listSources().names)
                now.push_back ("in:" + n.getDisplayName());
            for (auto& n : listDestinations().names)
                now.push_back ("out:" + n.getDisplayName());
            if (! first && now != last)
                owner.notifySetupChanged();
            last = std::move (now);
            first = false;
        }
    }

    RtMidiBackend& owner;
    const Api api;
    const juce::String ownClientName;
    std::mutex enumerationMutex;
    std::unique_ptr<RtMidiIn> inputEnumerator;
    std::unique_ptr<RtMidiOut> outputEnumerator;
};

RtMidiBackend::RtMidiBackend (Api api, const juce::String& ownClientName)
    : impl (std::make_unique<Impl> (*this, api, ownClientName))
{
}

RtMidiBackend::~RtMidiBackend() = default;

bool RtMidiBackend::isAlsaSequencerAvailable()
{
    return ::access ("/dev/snd/seq", R_OK | W_OK) == 0;
}

bool RtMidiBackend::isJackServerRunning()
{
    auto serverName = juce::SystemStats::getEnvironmentVariable ("JACK_DEFAULT_SERVER", {});
    if (serverName.isEmpty())
        serverName = "default";
    auto tmpDir = juce::SystemStats::getEnvironmentVariable ("JACK_TMPDIR", "/dev/shm");
    const auto socketPath = tmpDir + "/jack_" + serverName + "_" + juce::String ((int) ::getuid()) + "_0";

    // Asking the library to connect would print complaints when there is no server; a look at
    // its socket answers the question quietly.
    const int fd = ::socket (AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const auto path = socketPath.toStdString();
    if (path.size() >= sizeof (address.sun_path))
    {
        ::close (fd);
        return false;
    }
    std::memcpy (address.sun_path, path.c_str(), path.size() + 1);
    const bool running = ::connect (fd, reinterpret_cast<sockaddr*> (&address), sizeof (address)) == 0;
    ::close (fd);
    return running;
}

juce::String RtMidiBackend::getApiName() const
{
    switch (impl->api)
    {
        case Api::alsa: return "alsa";
        case Api::jack: return "jack";
        case Api::none: break;
    }
    return "none";
}

MidiEndpointName RtMidiBackend::splitPortName (Api api, const juce::String& rtMidiName)
{
    auto name = rtMidiName;
    if (api == Api::alsa)
    {
        // "client:port 20:0": the client and port numbers come last.
        const auto lastSpace = name.lastIndexOfChar (' ');
        if (lastSpace > 0 && name.substring (lastSpace + 1).containsOnly ("0123456789:"))
            name = name.substring (0, lastSpace);
    }
    const auto colon = name.indexOfChar (':');
    if (colon < 0)
        return { {}, name };
    return { name.substring (0, colon), name.substring (colon + 1) };
}

std::vector<MidiEndpointName> RtMidiBackend::getSources()
{
    return impl->listSources().names;
}

std::vector<MidiEndpointName> RtMidiBackend::getDestinations()
{
    return impl->listDestinations().names;
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::openSource (int index, const juce::String& portName,
                                                                MidiPacketCallback callback)
{
    const auto listing = impl->listSources();
    if (index < 0 || index >= (int) listing.raw.size())
        return {};
    auto input = makePort<RtMidiIn> (impl->api, impl->ownClientName);
    if (input == nullptr)
        return {};
    const int rawIndex = findRawIndex (*input, listing.raw[(size_t) index]);
    if (rawIndex < 0)
        return {};
    auto connection = std::make_unique<RtMidiInputConnection> (std::move (input), std::move (callback));
    auto& in = connection->getInput();
    if (! runOpeningStep (in, [&] { in.openPort ((unsigned int) rawIndex, portName.toStdString()); }))
        return {};
    return connection;
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openDestination (int index, const juce::String& portName)
{
    const auto listing = impl->listDestinations();
    if (index < 0 || index >= (int) listing.raw.size())
        return {};
    auto output = makePort<RtMidiOut> (impl->api, impl->ownClientName);
    if (output == nullptr)
        return {};
    const int rawIndex = findRawIndex (*output, listing.raw[(size_t) index]);
    if (rawIndex < 0)
        return {};
    auto& out = *output;
    if (! runOpeningStep (out, [&] { out.openPort ((unsigned int) rawIndex, portName.toStdString()); }))
        return {};
    return std::make_unique<RtMidiOutputConnection> (std::move (output));
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::createVirtualDestination (const juce::String& clientName,
                                                                              const juce::String& portName,
                                                                              MidiPacketCallback callback)
{
    auto input = makePort<RtMidiIn> (impl->api, clientName);
    if (input == nullptr)
        return {};
    auto connection = std::make_unique<RtMidiInputConnection> (std::move (input), std::move (callback));
    auto& in = connection->getInput();
    if (! runOpeningStep (in, [&] { in.openVirtualPort (portName.toStdString()); }))
        return {};
    return connection;
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::createVirtualSource (const juce::String& clientName,
                                                                          const juce::String& portName)
{
    auto output = makePort<RtMidiOut> (impl->api, clientName);
    if (output == nullptr)
        return {};
    auto& out = *output;
    if (! runOpeningStep (out, [&] { out.openVirtualPort (portName.toStdString()); }))
        return {};
    return std::make_unique<RtMidiOutputConnection> (std::move (output));
}
} // namespace midi
