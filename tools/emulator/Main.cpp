// tarnombi-emulator: the instrument's side of the System Exclusive protocol on MIDI ports of its
// own, so that the librarian finds it like a TarnOMBI.

#include "EmulatorFiles.h"

#include "midi/CPXRMidi.h"
#include "midi/InstrumentEmulator.h"
#include "midi/MidiBackend.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace
{
const char* const usage =
    "Usage: tarnombi-emulator [OPTIONS]\n"
    "Emulates a TarnOMBI on MIDI ports of its own.\n\n"
    "  --name NAME             port name (default \"TarnOMBI Emulator\")\n"
    "  --api jack|alsa         MIDI service (default: ALSA sequencer if present, else JACK)\n"
    "  --channel N             global MIDI channel 1 to 16 (default 1)\n"
    "  --library FILE          programs and favorites to start with (default: the factory preset)\n"
    "  --save FILE             write what it holds as a library (or .syx) file when it stops\n"
    "  --write-protect         refuse dumps\n"
    "  --refuse-requests       refuse dump requests\n"
    "  --silent                answer nothing\n"
    "  --identity-family N     answer as the device family N (decimal or 0x hex)\n"
    "  --truncate-dumps        send dumps that are too short\n"
    "  --delay-ms N            wait N ms before every answer\n"
    "  --baud N                pace the output at N baud (31250 for DIN MIDI)\n"
    "  --log FILE              write one line per received and sent message\n";

struct Settings
{
    juce::String name = "TarnOMBI Emulator";
    juce::String api;
    juce::File library;
    juce::File save;
    juce::File log;
    x38200_midi::InstrumentEmulator::Options options;
    int delayMs = 0;
    int baud = 0;
};

bool parseNumber (const juce::String& text, int& value)
{
    const auto t = text.trim();
    if (t.startsWithIgnoreCase ("0x") && t.length() > 2 && t.substring (2).containsOnly ("0123456789abcdefABCDEF"))
    {
        value = t.substring (2).getHexValue32();
        return true;
    }
    if (t.isNotEmpty() && t.containsOnly ("0123456789"))
    {
        value = t.getIntValue();
        return true;
    }
    return false;
}

// Returns an exit status when the program should stop at once, or -1 to go on.
int parseArguments (const juce::StringArray& args, Settings& settings)
{
    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        auto value = [&] (juce::String& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        auto number = [&] (int& out) {
            juce::String text;
            return value (text) && parseNumber (text, out);
        };
        juce::String text;
        int n = 0;
        bool ok = true;
        if (arg == "--help" || arg == "-h")
        {
            std::cout << usage;
            return 0;
        }
        else if (arg == "--name")
            ok = value (settings.name) && settings.name.isNotEmpty();
        else if (arg == "--api")
            ok = value (settings.api) && (settings.api == "jack" || settings.api == "alsa");
        else if (arg == "--channel")
        {
            ok = number (n) && n >= 1 && n <= 16;
            settings.options.channel = n - 1;
        }
        else if (arg == "--library" || arg == "--save" || arg == "--log")
        {
            ok = value (text) && text.isNotEmpty();
            const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (text);
            (arg == "--library" ? settings.library : arg == "--save" ? settings.save : settings.log) = file;
        }
        else if (arg == "--write-protect")
            settings.options.writeProtect = true;
        else if (arg == "--refuse-requests")
            settings.options.refuseRequests = true;
        else if (arg == "--silent")
            settings.options.silent = true;
        else if (arg == "--truncate-dumps")
            settings.options.truncateDumps = true;
        else if (arg == "--identity-family")
        {
            ok = number (n) && n >= 0 && n <= 0x7F7F;
            settings.options.familyId = n;
        }
        else if (arg == "--delay-ms")
        {
            ok = number (n) && n <= 60000;
            settings.delayMs = n;
        }
        else if (arg == "--baud")
        {
            ok = number (n) && n >= 10;
            settings.baud = n;
        }
        else
        {
            std::cerr << "tarnombi-emulator: unknown option " << arg << " (try --help)\n";
            return 2;
        }
        if (! ok)
        {
            std::cerr << "tarnombi-emulator: missing or bad value for " << arg << " (try --help)\n";
            return 2;
        }
    }
    return -1;
}

juce::String toHex (const unsigned char* bytes, int count)
{
    return juce::String::toHexString (bytes, count, 1).toUpperCase();
}

// Receives on the emulator's input, answers on its output. Answers are made on a thread of
// its own: the MIDI thread only queues what arrives.
class EmulatedInstrument : private midi::MidiPacketSink
{
public:
    EmulatedInstrument (const Settings& s, std::unique_ptr<juce::FileOutputStream> logStream)
        : settings (s), emulator (s.options), log (std::move (logStream)), worker ([this] { answerLoop(); })
    {
    }

    ~EmulatedInstrument() override { stop(); }

    // Ends the answering thread; messages still queued are dropped.
    void stop()
    {
        {
            std::lock_guard<std::mutex> guard (queueMutex);
            stopping = true;
        }
        queueChanged.notify_all();
        if (worker.joinable())
            worker.join();
    }

    x38200_midi::InstrumentEmulator& getEmulator() { return emulator; }
    void setOutput (midi::MidiOutputConnection* out) { output = out; }

    // Packet callback of the input port (MIDI thread).
    void receive (const std::uint8_t* bytes, int count) { midi::analyzeMidiPacket (buffer, bytes, count, *this); }

private:
    void shortMessageReceived (const unsigned char* bytes, int count) override
    {
        writeLog ("in", bytes, count);
    }

    void longMessageReceived (const std::vector<unsigned char>& message, int, const unsigned char*) override
    {
        {
            std::lock_guard<std::mutex> guard (queueMutex);
            received.push_back (message);
        }
        queueChanged.notify_all();
    }

    void longMessageReceiving (int, const unsigned char*) override {}
    void setReceiving (bool) override {}

    void writeLog (const char* direction, const unsigned char* bytes, int count)
    {
        std::lock_guard<std::mutex> guard (logMutex);
        if (log == nullptr)
            return;
        *log << direction << ' ' << toHex (bytes, count) << '\n';
        log->flush();
    }

    void answerLoop()
    {
        for (;;)
        {
            std::vector<unsigned char> message;
            {
                std::unique_lock<std::mutex> lock (queueMutex);
                queueChanged.wait (lock, [this] { return stopping || ! received.empty(); });
                if (stopping)
                    return;
                message = std::move (received.front());
                received.pop_front();
            }
            writeLog ("in", message.data(), (int) message.size());
            for (auto& answer : emulator.handleMessage (message.data(), (int) message.size()))
                send (answer);
        }
    }

    void send (const juce::MemoryBlock& answer)
    {
        using clock = std::chrono::steady_clock;
        if (settings.delayMs > 0)
            std::this_thread::sleep_for (std::chrono::milliseconds (settings.delayMs));
        const auto* bytes = static_cast<const std::uint8_t*> (answer.getData());
        const int count = (int) answer.getSize();
        if (settings.baud > 0)
        {
            // A DIN line carries ten bits per byte; the next message waits for the line.
            const auto now = clock::now();
            if (lineFreeAt > now)
                std::this_thread::sleep_until (lineFreeAt);
            const auto start = std::max (now, lineFreeAt);
            lineFreeAt = start + std::chrono::microseconds ((juce::int64) count * 10 * 1000000 / settings.baud);
            std::this_thread::sleep_until (lineFreeAt);
        }
        if (output != nullptr)
            output->sendShort (bytes, count);
        writeLog ("out", bytes, count);
    }

    const Settings& settings;
    x38200_midi::InstrumentEmulator emulator;
    midi::MidiOutputConnection* output = nullptr;
    CSysExBuffer buffer;
    std::mutex logMutex;
    std::unique_ptr<juce::FileOutputStream> log;
    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<std::vector<unsigned char>> received;
    bool stopping = false;
    std::chrono::steady_clock::time_point lineFreeAt {};
    std::thread worker;
};
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    Settings settings;
    if (const int status = parseArguments (args, settings); status >= 0)
        return status;

    // SIGINT and SIGTERM are taken by sigwait below; every thread started from here on has them
    // blocked. A parent may have left them ignored, which would discard them before sigwait.
    std::signal (SIGINT, SIG_DFL);
    std::signal (SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset (&stopSignals);
    sigaddset (&stopSignals, SIGINT);
    sigaddset (&stopSignals, SIGTERM);
    pthread_sigmask (SIG_BLOCK, &stopSignals, nullptr);

    auto library = tarnombi::emulator::getDefaultLibrary();
    if (settings.library != juce::File())
    {
        juce::String error;
        if (! tarnombi::emulator::loadLibrary (settings.library, library, error))
        {
            std::cerr << "tarnombi-emulator: " << error << '\n';
            return 1;
        }
    }

    std::unique_ptr<juce::FileOutputStream> logStream;
    if (settings.log != juce::File())
    {
        logStream = std::make_unique<juce::FileOutputStream> (settings.log);
        if (! logStream->openedOk())
        {
            std::cerr << "tarnombi-emulator: cannot write the log " << settings.log.getFullPathName() << '\n';
            return 1;
        }
        logStream->setPosition (0);
        logStream->truncate();
    }

    auto backend = midi::createSystemMidiBackend (settings.api, settings.name);
    if (backend->getApiName() == "none")
    {
        std::cerr << "tarnombi-emulator: no MIDI service (no ALSA sequencer and no JACK server)\n";
        return 1;
    }

    auto instrument = std::make_unique<EmulatedInstrument> (settings, std::move (logStream));
    instrument->getEmulator().setLibrary (library);

    const juce::String portName = "MIDI";
    const auto inClient = settings.name + " In";
    const auto outClient = settings.name + " Out";
    auto output = backend->createVirtualSource (outClient, portName);
    auto* instrumentPointer = instrument.get();
    auto input = backend->createVirtualDestination (inClient, portName, [instrumentPointer] (const std::uint8_t* bytes, int count) {
        instrumentPointer->receive (bytes, count);
    });
    if (output == nullptr || input == nullptr)
    {
        std::cerr << "tarnombi-emulator: cannot open MIDI ports on " << backend->getApiName() << '\n';
        return 1;
    }
    instrument->setOutput (output.get());

    std::cout << "tarnombi-emulator on " << backend->getApiName() << '\n'
              << "input: " << midi::MidiEndpointName { inClient, portName }.getDisplayName() << '\n'
              << "output: " << midi::MidiEndpointName { outClient, portName }.getDisplayName() << '\n'
              << "ready" << std::endl;

    int signalNumber = 0;
    sigwait (&stopSignals, &signalNumber);

    input.reset();
    instrument->stop();
    instrument->setOutput (nullptr);
    output.reset();
    const auto held = instrument->getEmulator().getLibrary();
    instrument.reset();

    if (settings.save != juce::File())
    {
        juce::String error;
        if (! tarnombi::emulator::saveLibrary (settings.save, held, error))
        {
            std::cerr << "tarnombi-emulator: " << error << '\n';
            return 1;
        }
    }
    return 0;
}
