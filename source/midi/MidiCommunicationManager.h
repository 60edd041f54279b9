#pragma once

#include "application/Singleton.h"
#include "data/ProgramData.h"
#include "midi/MidiCommunicationProcess.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <vector>

namespace x38200_midi
{
// Sends the current program to the instrument's edit buffer in the background. Requests made
// while a transmission runs collapse into one: only the latest program is sent next.
class AsyncCurrentProgramTransmitter : public juce::Thread, public juce::AsyncUpdater
{
public:
    AsyncCurrentProgramTransmitter();
    ~AsyncCurrentProgramTransmitter() override;

    void requestToTransmitCurrentProgram (const x38200_data::ProgramData& program);
    // Drops a waiting request and asks the thread to stop after the transmission under way.
    void cancelPendingTask();
    bool isProcessing() const { return isThreadRunning(); }

    void run() override;
    // Failures are not shown.
    void handleAsyncUpdate() override {}

private:
    std::atomic<bool> pending { false };
    x38200_data::ProgramData requestedProgram;
    x38200_data::ProgramData programToSend;
    juce::CriticalSection lock;
    // Under lock: the thread has decided to leave its loop, so a new request must start it again.
    bool leaving = false;
    bool cancelled = false;
};

// Runs the transfers of the menu commands in the modal progress dialog, and hands changes of
// the current program to the background transmitter.
class MidiCommunicationManager : public Singleton<MidiCommunicationManager>, public juce::DeletedAtShutdown
{
public:
    MidiCommunicationManager() = default;
    ~MidiCommunicationManager() override;

    // Each returns 0 when the transfer succeeded, 1 otherwise.
    int executeReceiveLibraryData (x38200_data::LibraryData& library);
    int executeWriteLibraryData (const x38200_data::LibraryData& library);
    int executeReceiveSelectedProgramData (const std::vector<int>& programNumbers, x38200_data::LibraryData& library);
    int executeWriteSelectedProgramData (const std::vector<int>& programNumbers, const x38200_data::LibraryData& library);
    int executeReceiveCurrentProgram (x38200_data::ProgramData& program);
    int executeTransmitCurrentProgram (const x38200_data::ProgramData& program);

    // Ignored while a modal transfer runs.
    void requestTransmitCurrentProgram (const x38200_data::ProgramData& program);
    bool isProcessing() const;

    int executeMidiCommunicationProcessAsModal (midi::MidiCommunicationProcess& process);

    AsyncCurrentProgramTransmitter& getTransmitter() noexcept { return transmitter; }

private:
    template <class Create>
    int runModal (Create&& create);

    AsyncCurrentProgramTransmitter transmitter;
    bool processing = false;
};
} // namespace x38200_midi
