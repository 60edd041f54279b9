#include "TransferTestSupport.h"

#include "midi/MidiDeviceManager.h"
#include "support/TestSupport.h"

namespace tarnombi::test
{
LoopbackInstrument& LoopbackInstrument::get()
{
    static LoopbackInstrument* rig = new LoopbackInstrument(); // lives to the end of the process
    return *rig;
}

LoopbackInstrument::LoopbackInstrument()
{
    backend->addSource ("TarnOMBI", "MIDI");
    backend->addDestination ("TarnOMBI", "MIDI");
    midi::setMidiBackend (backend);
    auto& manager = midi::MidiDeviceManager::instance();
    manager.setDeviceFamilyId (x38200_midi::TarnOMBIFamilyID);
    manager.setAutoDeviceScan (false);
    manager.setManualMidiInputPort ("TarnOMBI - MIDI");
    manager.setManualMidiOutputPort ("TarnOMBI - MIDI");
    reset();
    worker = std::thread ([this] { answerLoop(); });
    backend->setDestinationHandler ([this] (int destination, const Bytes& bytes) {
        if (destination != 0)
            return;
        std::function<void (const Bytes&)> spyCopy;
        {
            std::lock_guard<std::mutex> guard (mutex);
            spyCopy = spy;
        }
        if (spyCopy)
            spyCopy (bytes);
        std::vector<juce::MemoryBlock> replies;
        int delay = 0;
        {
            std::lock_guard<std::mutex> guard (mutex);
            replies = emulator->handleMessage (bytes.data(), (int) bytes.size());
            delay = delayMs;
        }
        if (delay == 0)
        {
            for (auto& reply : replies)
                backend->deliver (0, toBytes (reply));
            return;
        }
        {
            std::lock_guard<std::mutex> guard (mutex);
            for (auto& reply : replies)
                answers.push_back (toBytes (reply));
        }
        changed.notify_all();
    });
}

LoopbackInstrument::~LoopbackInstrument()
{
    {
        std::lock_guard<std::mutex> guard (mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

void LoopbackInstrument::reset (const x38200_midi::InstrumentEmulator::Options& options, int answerDelayMs)
{
    drain();
    std::lock_guard<std::mutex> guard (mutex);
    emulator = std::make_unique<x38200_midi::InstrumentEmulator> (options);
    delayMs = answerDelayMs;
    spy = nullptr;
    answers.clear();
    backend->clearSent();
}

void LoopbackInstrument::setSpy (std::function<void (const Bytes&)> newSpy)
{
    std::lock_guard<std::mutex> guard (mutex);
    spy = std::move (newSpy);
}

void LoopbackInstrument::drain()
{
    std::unique_lock<std::mutex> lock (mutex);
    changed.wait (lock, [this] { return answers.empty() && ! busy; });
}

void LoopbackInstrument::answerLoop()
{
    std::unique_lock<std::mutex> lock (mutex);
    for (;;)
    {
        changed.wait (lock, [this] { return stopping || ! answers.empty(); });
        if (stopping)
            return;
        auto answer = std::move (answers.front());
        answers.pop_front();
        busy = true;
        const int delay = delayMs;
        lock.unlock();
        std::this_thread::sleep_for (std::chrono::milliseconds (delay));
        backend->deliver (0, answer);
        lock.lock();
        busy = false;
        changed.notify_all();
    }
}

int runProcessWithoutWindow (midi::MidiCommunicationProcess& process, std::function<void (midi::MidiCommunicationThread&)> whileRunning)
{
    auto& manager = midi::MidiDeviceManager::instance();
    if (! manager.connect())
        return -1;
    midi::MidiCommunicationThread thread (process);
    thread.startThread();
    if (whileRunning)
        whileRunning (thread);
    runMessageLoopUntil ([&] { return thread.hasFinished(); }, 60000);
    thread.stopThread (-1);
    manager.disconnect();
    runMessageLoopFor (10);
    return thread.hasFinished() ? thread.getResult() : -2;
}

x38200_data::LibraryData makeDistinctLibrary (int seed)
{
    x38200_data::LibraryData library;
    for (int n = 0; n < x38200_data::LibraryData::NumPrograms; ++n)
    {
        auto& program = library.getProgramData (n);
        const auto name = juce::String ("PROG ") + juce::String (n + 1).paddedLeft ('0', 3) + juce::String (seed % 10) + "   ";
        for (int i = 0; i < 12; ++i)
            program.rawData.bytes[i] = (std::uint8_t) name[i];
        for (int i = 12; i < 320; ++i)
            program.rawData.bytes[i] = (std::uint8_t) ((i * 7 + n * 13 + seed * 31) & 0xFF);
        program.updateMD5();
    }
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
            library.favoriteData.setFavoriteData (bank, slot, (299 - bank * 8 - slot - seed + 300) % 300);
    return library;
}
} // namespace tarnombi::test
