#include "midi/MidiCommunicationManager.h"

#include "midi/MidiCommunicationDialog.h"
#include "midi/MidiCommunicationProcesses.h"
#include "midi/MidiDeviceManager.h"

#include <memory>

namespace x38200_midi
{
AsyncCurrentProgramTransmitter::AsyncCurrentProgramTransmitter()
    : juce::Thread ("AsyncCurrentProgramTransmitter")
{
}

AsyncCurrentProgramTransmitter::~AsyncCurrentProgramTransmitter()
{
    cancelPendingTask();
    // The transmission under way ends by its own time-out at the latest.
    stopThread (-1);
    cancelPendingUpdate();
}

void AsyncCurrentProgramTransmitter::requestToTransmitCurrentProgram (const x38200_data::ProgramData& program)
{
    bool mustStart = false;
    {
        const juce::ScopedLock sl (lock);
        requestedProgram = program;
        pending = true;
        // A thread that has already decided to leave its loop would not see this request.
        mustStart = leaving || cancelled || ! isThreadRunning();
    }
    if (! mustStart)
        return;
    // A leaving thread is only returning; wait for it so that it can be started again.
    waitForThreadToExit (-1);
    {
        const juce::ScopedLock sl (lock);
        leaving = false;
        cancelled = false;
    }
    startThread();
}

void AsyncCurrentProgramTransmitter::cancelPendingTask()
{
    const juce::ScopedLock sl (lock);
    pending = false;
    if (isThreadRunning())
    {
        cancelled = true;
        signalThreadShouldExit();
    }
}

void AsyncCurrentProgramTransmitter::run()
{
    for (;;)
    {
        {
            const juce::ScopedLock sl (lock);
            if (threadShouldExit() || ! pending)
            {
                leaving = true;
                return;
            }
            pending = false;
            programToSend = requestedProgram;
        }

        auto& manager = midi::MidiDeviceManager::instance();
        // Before the first scan has ended connect() would start a scan, and a scan belongs on
        // the message thread: this transmission fails as it would anyway, without the scan.
        const bool scanPending = manager.isAutoDeviceScan() && ! manager.isScanFinished();
        if (scanPending || ! manager.connect())
        {
            triggerAsyncUpdate();
            continue;
        }
        {
            TransmitCurrentProgramProcess process (programToSend);
            // Cancellation of this thread reaches the process.
            process.setThread (this);
            if (! process.isSucceeded (process.execute()))
                triggerAsyncUpdate();
        }
        manager.disconnect();
    }
}

//==============================================================================
MidiCommunicationManager::~MidiCommunicationManager()
{
    transmitter.cancelPendingTask();
    transmitter.stopThread (-1);
}

template <class Create>
int MidiCommunicationManager::runModal (Create&& create)
{
    processing = true;
    MidiCommunicationProcessFactory factory;
    std::unique_ptr<midi::MidiCommunicationProcess> process (create (factory));
    const int result = executeMidiCommunicationProcessAsModal (*process);
    process.reset();
    processing = false;
    return result;
}

int MidiCommunicationManager::executeReceiveLibraryData (x38200_data::LibraryData& library)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createReceiveLibraryProcess (library); });
}

int MidiCommunicationManager::executeWriteLibraryData (const x38200_data::LibraryData& library)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createWriteLibraryProcess (library); });
}

int MidiCommunicationManager::executeReceiveSelectedProgramData (const std::vector<int>& programNumbers, x38200_data::LibraryData& library)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createReceiveSelectedProgramProcess (programNumbers, library); });
}

int MidiCommunicationManager::executeWriteSelectedProgramData (const std::vector<int>& programNumbers, const x38200_data::LibraryData& library)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createWriteSelectedProgramProcess (programNumbers, library); });
}

int MidiCommunicationManager::executeReceiveCurrentProgram (x38200_data::ProgramData& program)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createReceiveCurrentProgramProcess (program); });
}

int MidiCommunicationManager::executeTransmitCurrentProgram (const x38200_data::ProgramData& program)
{
    return runModal ([&] (MidiCommunicationProcessFactory& f) { return f.createTransmitCurrentProgramProcess (program); });
}

void MidiCommunicationManager::requestTransmitCurrentProgram (const x38200_data::ProgramData& program)
{
    if (processing)
        return;
    transmitter.requestToTransmitCurrentProgram (program);
}

bool MidiCommunicationManager::isProcessing() const
{
    return processing || transmitter.isProcessing();
}

int MidiCommunicationManager::executeMidiCommunicationProcessAsModal (midi::MidiCommunicationProcess& process)
{
    transmitter.cancelPendingTask();
    // The background transmission must have let go of the ports before the dialog opens them.
    transmitter.waitForThreadToExit (-1);
    return midi::MidiCommunicationDialog::openModalWindow (process.getProcessName(), process, false, nullptr);
}
} // namespace x38200_midi
