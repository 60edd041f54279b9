#include "midi/JackPorts.h"

#include "midi/SysExSendQueue.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include <semaphore.h>
#include <time.h>

namespace midi
{
namespace
{
    // Set while the JACK thread runs our process callback, so that a port closed from inside a
    // packet callback does not wait for the cycle it is part of.
    thread_local bool insideProcessCallback = false;

    // A message in an output ring: this header, then the bytes.
    struct MessageHeader
    {
        std::uint32_t size;
        std::uint32_t notify; // the sender waits for this message to be out
    };

    // Room for the largest System Exclusive block the instrument uses, many times over.
    constexpr size_t outputRingSize = 256 * 1024;

    // Copies count bytes that start at offset from the readable part of a ring, without taking them.
    void peekAt (jack_ringbuffer_t* ring, size_t offset, std::uint8_t* target, size_t count)
    {
        jack_ringbuffer_data_t parts[2];
        jack_ringbuffer_get_read_vector (ring, parts);
        for (auto& part : parts)
        {
            if (count == 0)
                return;
            if (offset >= part.len)
            {
                offset -= part.len;
                continue;
            }
            const size_t n = std::min (count, part.len - offset);
            std::memcpy (target, part.buf + offset, n);
            target += n;
            count -= n;
            offset = 0;
        }
    }
} // namespace

//==============================================================================
struct JackPorts::Client
{
    struct Port
    {
        jack_port_t* port = nullptr;
        bool isInput = false;
        MidiPacketCallback callback; // inputs
        jack_ringbuffer_t* ring = nullptr; // outputs: messages waiting for the JACK thread
        size_t sentOfCurrent = 0; // outputs, JACK thread only: bytes of the first message already out
        sem_t messageOut {}; // outputs: posted when a message marked notify is out

        ~Port()
        {
            if (ring != nullptr)
            {
                jack_ringbuffer_free (ring);
                sem_destroy (&messageOut);
            }
        }
    };

    using PortList = std::vector<Port*>;

    ~Client()
    {
        if (handle != nullptr)
        {
            jack_deactivate (handle);
            jack_client_close (handle);
        }
        delete published.load();
    }

    // Opens and activates the client if it is not (or no longer) running. Call with mutex held.
    bool ensureOpen (const juce::String& name)
    {
        if (handle != nullptr && ! dead.load())
            return true;
        if (handle != nullptr)
        {
            if (! ports.empty())
                return false; // the ports of the lost client still exist
            jack_client_close (handle);
            handle = nullptr;
        }
        jack_status_t status {};
        handle = jack_client_open (name.toRawUTF8(), JackNoStartServer, &status);
        if (handle == nullptr)
            return false;
        dead = false;
        jack_set_process_callback (handle, &Client::process, this);
        jack_on_info_shutdown (handle, &Client::shutdown, this);
        if (jack_activate (handle) != 0)
        {
            jack_client_close (handle);
            handle = nullptr;
            return false;
        }
        return true;
    }

    jack_port_t* registerPort (const juce::String& portName, bool isInput)
    {
        const auto flags = isInput ? JackPortIsInput : JackPortIsOutput;
        // Port names are unique per client; a second port of the same name gets a number.
        for (int attempt = 1; attempt <= 100; ++attempt)
        {
            const auto name = attempt == 1 ? portName : portName + "-" + juce::String (attempt);
            if (auto* port = jack_port_register (handle, name.toRawUTF8(), JACK_DEFAULT_MIDI_TYPE, (unsigned long) flags, 0))
                return port;
        }
        return nullptr;
    }

    // Makes the JACK thread see the current port list. Once this returns, no cycle uses the
    // previous list any more (unless the JACK thread hangs, then the previous list is leaked).
    // Call with mutex held.
    bool publish()
    {
        auto* previous = published.exchange (new PortList (ports));
        const bool passed = waitForCycleToPass();
        if (passed)
            delete previous;
        return passed;
    }

    bool waitForCycleToPass()
    {
        if (insideProcessCallback)
            return false;
        const auto cycle = cycles.load();
        if ((cycle & 1) == 0)
            return true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds (2);
        while (cycles.load() == cycle)
        {
            if (std::chrono::steady_clock::now() > giveUp)
                return false;
            std::this_thread::sleep_for (std::chrono::microseconds (100));
        }
        return true;
    }

    // Unregisters a port; false when it may still be in use and must be leaked.
    bool remove (Port* port)
    {
        std::lock_guard<std::mutex> guard (mutex);
        ports.erase (std::remove (ports.begin(), ports.end(), port), ports.end());
        const bool safe = publish();
        if (! dead.load())
            jack_port_unregister (handle, port->port);
        return safe;
    }

    static int process (jack_nframes_t frames, void* userData)
    {
        auto& client = *static_cast<Client*> (userData);
        insideProcessCallback = true;
        client.cycles.fetch_add (1); // odd while a cycle runs
        if (const auto* list = client.published.load())
        {
            for (auto* port : *list)
            {
                if (port->isInput)
                    receive (*port, frames);
                else
                    transmit (*port, frames);
            }
        }
        client.cycles.fetch_add (1);
        insideProcessCallback = false;
        return 0;
    }

    static void receive (Port& port, jack_nframes_t frames)
    {
        void* buffer = jack_port_get_buffer (port.port, frames);
        if (buffer == nullptr)
            return;
        const auto count = jack_midi_get_event_count (buffer);
        for (std::uint32_t i = 0; i < count; ++i)
        {
            jack_midi_event_t event {};
            if (jack_midi_event_get (&event, buffer, i) == 0 && event.size > 0 && port.callback)
                port.callback (event.buffer, (int) event.size);
        }
    }

    // One JACK event per message. A message that does not fit in what is left of this period's
    // buffer waits for the next period; one larger than an empty buffer goes out in parts.
    static void transmit (Port& port, jack_nframes_t frames)
    {
        void* buffer = jack_port_get_buffer (port.port, frames);
        if (buffer == nullptr)
            return;
        jack_midi_clear_buffer (buffer);
        bool wroteAny = false;
        for (;;)
        {
            const auto available = jack_ringbuffer_read_space (port.ring);
            if (available < sizeof (MessageHeader))
                return;
            MessageHeader header {};
            jack_ringbuffer_peek (port.ring, reinterpret_cast<char*> (&header), sizeof (header));
            if (available < sizeof (header) + header.size)
                return; // still being written
            const size_t left = header.size - port.sentOfCurrent;
            const size_t room = jack_midi_max_event_size (buffer);
            if (room >= left)
            {
                if (left > 0)
                {
                    auto* target = jack_midi_event_reserve (buffer, 0, left);
                    if (target == nullptr)
                        return;
                    peekAt (port.ring, sizeof (header) + port.sentOfCurrent, target, left);
                }
                jack_ringbuffer_read_advance (port.ring, sizeof (header) + header.size);
                port.sentOfCurrent = 0;
                wroteAny = true;
                if (header.notify != 0)
                    sem_post (&port.messageOut);
                continue;
            }
            if (! wroteAny && room > 0)
            {
                if (auto* target = jack_midi_event_reserve (buffer, 0, room))
                {
                    peekAt (port.ring, sizeof (header) + port.sentOfCurrent, target, room);
                    port.sentOfCurrent += room;
                }
            }
            return;
        }
    }

    static void shutdown (jack_status_t, const char*, void* userData)
    {
        static_cast<Client*> (userData)->dead = true;
    }

    std::mutex mutex; // port list changes; never taken by the JACK thread
    jack_client_t* handle = nullptr;
    PortList ports;
    std::atomic<PortList*> published { nullptr };
    std::atomic<std::uint64_t> cycles { 0 };
    std::atomic<bool> dead { false };
};

namespace
{
    using Client = JackPorts::Client;
    using Port = JackPorts::Client::Port;

    // Closing disconnects the port and unregisters it once the JACK thread no longer uses it.
    void closePort (const std::shared_ptr<Client>& client, std::unique_ptr<Port>& port)
    {
        if (! client->remove (port.get()))
            port.release(); // the JACK thread may still hold it
    }

    class JackInputConnection : public MidiInputConnection
    {
    public:
        JackInputConnection (std::shared_ptr<Client> c, std::unique_ptr<Port> p)
            : client (std::move (c)), port (std::move (p))
        {
        }

        ~JackInputConnection() override { closePort (client, port); }

    private:
        std::shared_ptr<Client> client;
        std::unique_ptr<Port> port;
    };

    // System Exclusive blocks go out from a thread of its own, which learns from the JACK
    // thread when a block is out and then tells the sender.
    class JackOutputConnection : public MidiOutputConnection
    {
    public:
        JackOutputConnection (std::shared_ptr<Client> c, std::unique_ptr<Port> p)
            : client (std::move (c)), port (std::move (p)),
              sysExQueue ([this] (const std::vector<std::uint8_t>& bytes) { send (bytes); })
        {
        }

        ~JackOutputConnection() override
        {
            sysExQueue.stop();
            // What was queued last still goes out before the port closes.
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds (500);
            while (jack_ringbuffer_read_space (port->ring) > 0 && ! client->dead.load()
                   && std::chrono::steady_clock::now() < giveUp && ! insideProcessCallback)
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            closePort (client, port);
        }

        bool sendSysEx (std::vector<std::uint8_t> bytes, std::function<void()> onComplete) override
        {
            if (bytes.empty() || bytes.size() + sizeof (MessageHeader) >= outputRingSize)
                return false;
            return sysExQueue.push (std::move (bytes), std::move (onComplete));
        }

        bool sendShort (const std::uint8_t* bytes, int count) override
        {
            if (count <= 0 || bytes == nullptr)
                return false;
            std::lock_guard<std::mutex> guard (writeMutex);
            return write (bytes, (size_t) count, false);
        }

    private:
        // Call with writeMutex held.
        bool write (const std::uint8_t* bytes, size_t count, bool notify)
        {
            if (jack_ringbuffer_write_space (port->ring) < sizeof (MessageHeader) + count)
                return false;
            const MessageHeader header { (std::uint32_t) count, notify ? 1u : 0u };
            jack_ringbuffer_write (port->ring, reinterpret_cast<const char*> (&header), sizeof (header));
            jack_ringbuffer_write (port->ring, reinterpret_cast<const char*> (bytes), count);
            return true;
        }

        bool clientGone() const { return client->dead.load(); }

        void send (const std::vector<std::uint8_t>& bytes)
        {
            // Waits for room in the ring, then for the JACK thread to report the block out.
            for (;;)
            {
                {
                    std::lock_guard<std::mutex> guard (writeMutex);
                    if (write (bytes.data(), bytes.size(), true))
                        break;
                }
                if (clientGone())
                    return;
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            }
            for (;;)
            {
                timespec deadline {};
                clock_gettime (CLOCK_REALTIME, &deadline);
                deadline.tv_nsec += 100 * 1000 * 1000;
                if (deadline.tv_nsec >= 1000 * 1000 * 1000)
                {
                    deadline.tv_sec += 1;
                    deadline.tv_nsec -= 1000 * 1000 * 1000;
                }
                if (sem_timedwait (&port->messageOut, &deadline) == 0)
                    return;
                if (errno != ETIMEDOUT && errno != EINTR)
                    return;
                if (clientGone())
                    return;
            }
        }

        std::shared_ptr<Client> client;
        std::unique_ptr<Port> port;
        std::mutex writeMutex; // one writer at a time into the ring
        SysExSendQueue sysExQueue; // last: its thread uses the members above
    };
} // namespace

//==============================================================================
JackPorts::JackPorts (const juce::String& name) : clientName (name), client (std::make_shared<Client>()) {}

JackPorts::~JackPorts() = default;

std::unique_ptr<MidiInputConnection> JackPorts::openInput (const std::string& sourcePort, const juce::String& portName,
                                                           MidiPacketCallback callback)
{
    auto port = std::make_unique<Port>();
    port->isInput = true;
    port->callback = std::move (callback);
    jack_client_t* handle = nullptr;
    {
        std::lock_guard<std::mutex> guard (client->mutex);
        if (! client->ensureOpen (clientName))
            return {};
        handle = client->handle;
        port->port = client->registerPort (portName, true);
        if (port->port == nullptr)
            return {};
        client->ports.push_back (port.get());
        client->publish();
    }
    auto* jackPort = port->port;
    auto connection = std::make_unique<JackInputConnection> (client, std::move (port));
    // Connected only once the JACK thread reads the port, so that nothing sent is lost.
    if (jack_connect (handle, sourcePort.c_str(), jack_port_name (jackPort)) != 0)
        return {};
    return connection;
}

std::unique_ptr<MidiOutputConnection> JackPorts::openOutput (const std::string& destinationPort,
                                                             const juce::String& portName)
{
    auto port = std::make_unique<Port>();
    port->ring = jack_ringbuffer_create (outputRingSize);
    if (port->ring == nullptr)
        return {};
    sem_init (&port->messageOut, 0, 0);
    jack_ringbuffer_mlock (port->ring);
    jack_client_t* handle = nullptr;
    {
        std::lock_guard<std::mutex> guard (client->mutex);
        if (! client->ensureOpen (clientName))
            return {};
        handle = client->handle;
        port->port = client->registerPort (portName, false);
        if (port->port == nullptr)
            return {};
        client->ports.push_back (port.get());
        client->publish();
    }
    auto* jackPort = port->port;
    auto connection = std::make_unique<JackOutputConnection> (client, std::move (port));
    if (jack_connect (handle, jack_port_name (jackPort), destinationPort.c_str()) != 0)
        return {};
    return connection;
}
} // namespace midi
