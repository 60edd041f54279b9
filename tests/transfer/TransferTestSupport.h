#pragma once

#include "../midi/MidiTestSupport.h"

#include "midi/InstrumentEmulator.h"
#include "midi/LoopbackBackend.h"
#include "midi/MidiCommunicationProcess.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace tarnombi::test
{
// The device manager of this test process talks to an instrument emulator over the loopback
// back end: its output reaches the emulator, whose answers come back on its input, at once or
// after a delay per answer (a slow instrument).
class LoopbackInstrument
{
public:
    static LoopbackInstrument& get();

    // A fresh instrument with these options; what was sent before is forgotten.
    void reset (const x38200_midi::InstrumentEmulator::Options& options = {}, int answerDelayMs = 0);
    // Waits until every delayed answer has been delivered.
    void drain();

    x38200_midi::InstrumentEmulator& instrument() { return *emulator; }
    // Every message sent to the instrument, oldest first.
    std::vector<Bytes> getSent() const { return backend->getSent (0); }
    // Called on the sending thread for every message the instrument gets, before it answers.
    void setSpy (std::function<void (const Bytes&)> spy);

    std::shared_ptr<midi::LoopbackBackend> backend = std::make_shared<midi::LoopbackBackend>();

private:
    LoopbackInstrument();
    ~LoopbackInstrument();
    void answerLoop();

    std::unique_ptr<x38200_midi::InstrumentEmulator> emulator;
    int delayMs = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Bytes> answers;
    bool busy = false;
    bool stopping = false;
    std::function<void (const Bytes&)> spy;
    std::thread worker;
};

// Runs a process on its communication thread with the device manager's ports open, as the
// dialog does but without a window; returns the result code.
int runProcessWithoutWindow (midi::MidiCommunicationProcess& process, std::function<void (midi::MidiCommunicationThread&)> whileRunning = {});

// A library whose programs all differ (name "PROG nnn", bytes from the number) and whose
// favorites differ from the initial table.
x38200_data::LibraryData makeDistinctLibrary (int seed = 0);
} // namespace tarnombi::test
