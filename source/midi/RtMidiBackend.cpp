#include "midi/RtMidiBackend.h"

#include "midi/SysExSendQueue.h"

#include "midi/JackPorts.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <thread>
#include <type_traits>

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
    // RtMidi's JACK ports cannot be destroyed safely once opened: the output frees its ring
    // buffer before it closes its client, while the client's process thread may still read
    // it, and the input's callback can race with its removal. Closed JACK ports are therefore
    // kept (per client name) and reused, never destroyed; their callbacks go through a slot
    // that outlives them.
    struct InputSlot
    {
        std::mutex mutex;
        MidiPacketCallback callback;
        std::unique_ptr<RtMidiIn> port;

        static void receive (double, std::vector<unsigned char>* message, void* userData)
        {
            auto* slot = static_cast<InputSlot*> (userData);
            std::lock_guard<std::mutex> guard (slot->mutex);
            if (slot->callback && message != nullptr && ! message->empty())
                slot->callback (message->data(), (int) message->size());
        }
    };

    struct PortPool
    {
        std::mutex mutex;
        std::map<std::string, std::vector<InputSlot*>> inputs;
        std::map<std::string, std::vector<RtMidiOut*>> outputs;

        static PortPool& get()
        {
            static auto* pool = new PortPool(); // never destroyed, see above
            return *pool;
        }
    };

    // A slot with an RtMidiIn of that client name: a kept one on JACK, else a new one.
    InputSlot* takeInputSlot (RtMidiBackend::Api api, const juce::String& clientName, bool reuse)
    {
        if (api == RtMidiBackend::Api::jack && reuse)
        {
            auto& pool = PortPool::get();
            std::lock_guard<std::mutex> guard (pool.mutex);
            auto& kept = pool.inputs[clientName.toStdString()];
            if (! kept.empty())
            {
                auto* slot = kept.back();
                kept.pop_back();
                return slot;
            }
        }
        auto port = makePort<RtMidiIn> (api, clientName);
        if (port == nullptr)
            return nullptr;
        auto* slot = new InputSlot();
        slot->port = std::move (port);
        slot->port->ignoreTypes (false, false, false);
        slot->port->setCallback (&InputSlot::receive, slot);
        return slot;
    }

    void releaseInputSlot (RtMidiBackend::Api api, const juce::String& clientName, InputSlot* slot, bool reuse)
    {
        {
            std::lock_guard<std::mutex> guard (slot->mutex);
            slot->callback = nullptr;
        }
        try
        {
            slot->port->closePort();
        }
        catch (const std::exception&)
        {
        }
        if (api == RtMidiBackend::Api::jack)
        {
            // A virtual port's client keeps its own name; it is kept but not handed out again.
            auto& pool = PortPool::get();
            std::lock_guard<std::mutex> guard (pool.mutex);
            pool.inputs[reuse ? clientName.toStdString() : std::string()].push_back (slot);
            return;
        }
        delete slot;
    }

    RtMidiOut* takeOutput (RtMidiBackend::Api api, const juce::String& clientName, bool reuse)
    {
        if (api == RtMidiBackend::Api::jack && reuse)
        {
            auto& pool = PortPool::get();
            std::lock_guard<std::mutex> guard (pool.mutex);
            auto& kept = pool.outputs[clientName.toStdString()];
            if (! kept.empty())
            {
                auto* output = kept.back();
                kept.pop_back();
                return output;
            }
        }
        return makePort<RtMidiOut> (api, clientName).release();
    }

    void releaseOutput (RtMidiBackend::Api api, const juce::String& clientName, RtMidiOut* output, bool reuse)
    {
        try
        {
            output->closePort();
        }
        catch (const std::exception&)
        {
        }
        if (api == RtMidiBackend::Api::jack)
        {
            auto& pool = PortPool::get();
            std::lock_guard<std::mutex> guard (pool.mutex);
            pool.outputs[reuse ? clientName.toStdString() : std::string()].push_back (output);
            return;
        }
        delete output;
    }

    class RtMidiInputConnection : public MidiInputConnection
    {
    public:
        RtMidiInputConnection (RtMidiBackend::Api a, const juce::String& name, InputSlot* s, bool r)
            : api (a), clientName (name), slot (s), reuse (r)
        {
        }

        ~RtMidiInputConnection() override { releaseInputSlot (api, clientName, slot, reuse); }

        void setCallback (MidiPacketCallback callback)
        {
            std::lock_guard<std::mutex> guard (slot->mutex);
            slot->callback = std::move (callback);
        }

        RtMidiIn& getInput() { return *slot->port; }

    private:
        RtMidiBackend::Api api;
        juce::String clientName;
        InputSlot* slot;
        bool reuse;
    };

    // Sends System Exclusive blocks on a thread of its own, so that a sender never waits for
    // the system and learns of the end through its completion callback.
    class RtMidiOutputConnection : public MidiOutputConnection
    {
    public:
        RtMidiOutputConnection (RtMidiBackend::Api a, const juce::String& name, RtMidiOut* out, bool r)
            : api (a), clientName (name), output (out), reuse (r),
              sysExQueue ([this] (const std::vector<std::uint8_t>& bytes) { write (bytes.data(), (int) bytes.size()); })
        {
        }

        ~RtMidiOutputConnection() override
        {
            sysExQueue.stop();
            std::lock_guard<std::mutex> guard (outputMutex);
            releaseOutput (api, clientName, output, reuse);
        }

        bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) override
        {
            return sysExQueue.push (std::move (bytes), std::move (onComplete));
        }

        bool sendShort (const std::uint8_t* bytes, int count) override
        {
            return write (bytes, count);
        }

        RtMidiOut& getOutput() { return *output; }

    private:
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

        RtMidiBackend::Api api;
        juce::String clientName;
        RtMidiOut* output;
        bool reuse;
        std::mutex outputMutex;
        SysExSendQueue sysExQueue; // last: its thread uses the members above
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

    ~Impl() override
    {
        stopThread (2000);
        if (jackLister != nullptr)
            jack_client_close (jackLister);
    }

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

    // The names RtMidi would list for its inputs (JACK output ports) or outputs (JACK input
    // ports). Every RtMidi object on JACK is an active client that the server wakes in every
    // period, which during a transfer costs more processor time than the transfer itself;
    // the listing therefore uses one client of its own that is never activated.
    std::vector<std::string> listJackPorts (unsigned long flags)
    {
        std::vector<std::string> names;
        if (jackLister == nullptr)
        {
            jack_status_t status {};
            jackLister = jack_client_open (ownClientName.toRawUTF8(), JackNoStartServer, &status);
            if (jackLister == nullptr)
                return names;
        }
        if (const char** ports = jack_get_ports (jackLister, nullptr, JACK_DEFAULT_MIDI_TYPE, flags))
        {
            for (auto** port = ports; *port != nullptr; ++port)
                names.emplace_back (*port);
            jack_free (ports);
        }
        return names;
    }

    template <class Port>
    Listing list (std::unique_ptr<Port>& enumerator)
    {
        Listing listing;
        std::lock_guard<std::mutex> guard (enumerationMutex);
        std::vector<std::string> rawNames;
        if (api == Api::jack)
        {
            rawNames = listJackPorts (std::is_same_v<Port, RtMidiIn> ? JackPortIsOutput : JackPortIsInput);
        }
        else
        {
            if (enumerator == nullptr)
                enumerator = makePort<Port> (api, ownClientName);
            if (enumerator == nullptr)
                return listing;
            rawNames = listRawNames (*enumerator);
        }
        for (auto& raw : rawNames)
        {
            auto name = splitPortName (api, juce::String::fromUTF8 (raw.c_str()));
            if (isOwnDevice (name.device))
                continue;
            listing.raw.push_back (raw);
            listing.names.push_back (name);
        }
        return listing;
    }

    // The ports opened to reach other programs on JACK share one client of their own.
    JackPorts& getJackPorts()
    {
        std::lock_guard<std::mutex> guard (jackPortsMutex);
        if (jackPorts == nullptr)
            jackPorts = std::make_unique<JackPorts> (ownClientName);
        return *jackPorts;
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
    jack_client_t* jackLister = nullptr;
    std::mutex jackPortsMutex;
    std::unique_ptr<JackPorts> jackPorts;
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
    if (impl->api == Api::jack)
        return impl->getJackPorts().openInput (listing.raw[(size_t) index], portName, std::move (callback));
    auto* slot = takeInputSlot (impl->api, impl->ownClientName, true);
    if (slot == nullptr)
        return {};
    auto connection = std::make_unique<RtMidiInputConnection> (impl->api, impl->ownClientName, slot, true);
    auto& in = connection->getInput();
    const int rawIndex = findRawIndex (in, listing.raw[(size_t) index]);
    if (rawIndex < 0)
        return {};
    connection->setCallback (std::move (callback));
    if (! runOpeningStep (in, [&] { in.openPort ((unsigned int) rawIndex, portName.toStdString()); }))
        return {};
    return connection;
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::openDestination (int index, const juce::String& portName)
{
    const auto listing = impl->listDestinations();
    if (index < 0 || index >= (int) listing.raw.size())
        return {};
    if (impl->api == Api::jack)
        return impl->getJackPorts().openOutput (listing.raw[(size_t) index], portName);
    auto* output = takeOutput (impl->api, impl->ownClientName, true);
    if (output == nullptr)
        return {};
    const int rawIndex = findRawIndex (*output, listing.raw[(size_t) index]);
    if (rawIndex < 0 || ! runOpeningStep (*output, [&] { output->openPort ((unsigned int) rawIndex, portName.toStdString()); }))
    {
        releaseOutput (impl->api, impl->ownClientName, output, true);
        return {};
    }
    return std::make_unique<RtMidiOutputConnection> (impl->api, impl->ownClientName, output, true);
}

std::unique_ptr<MidiInputConnection> RtMidiBackend::createVirtualDestination (const juce::String& clientName,
                                                                              const juce::String& portName,
                                                                              MidiPacketCallback callback)
{
    auto* slot = takeInputSlot (impl->api, clientName, false);
    if (slot == nullptr)
        return {};
    auto connection = std::make_unique<RtMidiInputConnection> (impl->api, clientName, slot, false);
    connection->setCallback (std::move (callback));
    auto& in = connection->getInput();
    if (! runOpeningStep (in, [&] { in.openVirtualPort (portName.toStdString()); }))
        return {};
    return connection;
}

std::unique_ptr<MidiOutputConnection> RtMidiBackend::createVirtualSource (const juce::String& clientName,
                                                                          const juce::String& portName)
{
    auto* output = takeOutput (impl->api, clientName, false);
    if (output == nullptr)
        return {};
    if (! runOpeningStep (*output, [&] { output->openVirtualPort (portName.toStdString()); }))
    {
        releaseOutput (impl->api, clientName, output, false);
        return {};
    }
    return std::make_unique<RtMidiOutputConnection> (impl->api, clientName, output, false);
}
} // namespace midi
