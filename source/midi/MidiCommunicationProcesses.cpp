#include "midi/MidiCommunicationProcesses.h"

#include "application/CPXRResource.h"
#include "midi/MidiCommunicationTask.h"
#include "midi/MidiDeviceManager.h"

namespace x38200_midi
{
TransferProcess::TransferProcess (const char* title, const char* status, bool canCancel)
    : titleKey (title), statusKey (status), cancellable (canCancel)
{
}

juce::String TransferProcess::getProcessName() const
{
    return getLocalizedString (titleKey);
}

int TransferProcess::execute()
{
    if (reportsTexts())
    {
        setProgress (0.0f);
        setStatusMessage (getLocalizedString (statusKey));
        setDetailMessage ({});
    }
    auto& midi = midi::MidiDeviceManager::instance().getMidi();
    // The inquiry lives to the end, queueing (and ignoring) the replies of the later steps.
    DeviceInquiry inquiry (midi);
    const int code = inquiry.execute();
    if (code != MidiCommunicationNoError)
        return finish (code);
    return finish (executeSteps (midi, inquiry.getChannel()));
}

int TransferProcess::finish (int code)
{
    if (reportsTexts() && code != MidiCommunicationNoError && code != MidiCommunicationCanceled)
    {
        setStatusMessage (getMidiCommunicationErrorString (code));
        setDetailMessage (getMidiCommunicationErrorDetailString (code));
    }
    return code;
}

int TransferProcess::cancel()
{
    setStatusMessage (getMidiCommunicationErrorString (MidiCommunicationCanceled));
    return MidiCommunicationCanceled;
}

//==============================================================================
WriteLibraryProcess::WriteLibraryProcess (const x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionWriteLibraryTitle", "CommunicationProcessWriteLibrary", true), library (l)
{
}

int WriteLibraryProcess::executeSteps (CPXRMidi& midi, int channel)
{
    const int count = x38200_data::LibraryData::NumPrograms;
    ProgramDataTransmitter transmitter (midi, channel);
    for (int n = 0; n < count; ++n)
    {
        if (threadShouldExit())
            return cancel();
        if (const int code = transmitter.execute (n, library.getProgramData (n)); code != MidiCommunicationNoError)
            return code;
        setProgress ((float) n / (float) count);
    }
    if (threadShouldExit())
        return cancel();

    GlobalDataReceiver receiver (midi, channel);
    if (const int code = receiver.execute(); code != MidiCommunicationNoError)
        return code;
    if (threadShouldExit())
        return cancel();

    // The instrument's other global settings go back as they came.
    auto globalData = receiver.globalData;
    writeFavoritesToGlobalData (library.favoriteData, globalData);
    return GlobalDataTransmitter (midi, channel).execute (globalData);
}

ReceiveLibraryProcess::ReceiveLibraryProcess (x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionReceiveLibraryTitle", "CommunicationProcessReceiveLibrary", true), library (l)
{
}

int ReceiveLibraryProcess::executeSteps (CPXRMidi& midi, int channel)
{
    const int count = x38200_data::LibraryData::NumPrograms;
    ProgramDataReceiver receiver (midi, channel);
    for (int n = 0; n < count; ++n)
    {
        if (threadShouldExit())
            return cancel();
        receiver.program = {};
        if (const int code = receiver.execute (n); code != MidiCommunicationNoError)
            return code;
        library.getProgramData (n) = receiver.program;
        setProgress ((float) n / (float) (count + 1));
    }
    if (threadShouldExit())
        return cancel();

    GlobalDataReceiver globalReceiver (midi, channel);
    if (const int code = globalReceiver.execute(); code != MidiCommunicationNoError)
        return code;
    readFavoritesFromGlobalData (globalReceiver.globalData, library.favoriteData);
    setProgress (1.0f);
    return MidiCommunicationNoError;
}

WriteSelectedProgramProcess::WriteSelectedProgramProcess (const std::vector<int>& numbers, const x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionWriteSelectedProgramTitle", "CommunicationProcessWriteSelectedProgram", true),
      programNumbers (numbers), library (l)
{
}

int WriteSelectedProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    ProgramDataTransmitter transmitter (midi, channel);
    const auto count = programNumbers.size();
    for (size_t i = 0; i < count && ! threadShouldExit(); ++i)
    {
        const int number = programNumbers[i];
        if (const int code = transmitter.execute (number, library.getProgramData (number)); code != MidiCommunicationNoError)
            return code;
        setProgress ((float) i / (float) count);
    }
    return threadShouldExit() ? cancel() : MidiCommunicationNoError;
}

ReceiveSelectedProgramProcess::ReceiveSelectedProgramProcess (const std::vector<int>& numbers, x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionReceiveSelectedProgramTitle", "CommunicationProcessReceiveSelectedProgram", true),
      programNumbers (numbers), library (l)
{
}

int ReceiveSelectedProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    ProgramDataReceiver receiver (midi, channel);
    const auto count = programNumbers.size();
    for (size_t i = 0; i < count && ! threadShouldExit(); ++i)
    {
        const int number = programNumbers[i];
        receiver.program = {};
        if (const int code = receiver.execute (number); code != MidiCommunicationNoError)
            return code;
        library.getProgramData (number) = receiver.program;
        setProgress ((float) i / (float) count);
    }
    return threadShouldExit() ? cancel() : MidiCommunicationNoError;
}

TransmitCurrentProgramProcess::TransmitCurrentProgramProcess (const x38200_data::ProgramData& p)
    : TransferProcess ("ConnectionTransmitCurrentProgramTitle", "CommunicationProcessTransmitCurrentProgram", false), program (p)
{
}

int TransmitCurrentProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    return CurrentProgramTransmitter (midi, channel).execute (program);
}

ReceiveCurrentProgramProcess::ReceiveCurrentProgramProcess (x38200_data::ProgramData& p)
    : TransferProcess ("ConnectionReceiveCurrentProgramTitle", "CommunicationProcessReceiveCurrentProgram", false), program (p)
{
}

int ReceiveCurrentProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    CurrentProgramReceiver receiver (midi, channel);
    const int code = receiver.execute();
    if (code == MidiCommunicationNoError)
        program = receiver.program;
    return code;
}

//==============================================================================
WriteAllProgramProcess::WriteAllProgramProcess (const x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionWriteAllProgramTitle", nullptr, false), library (l)
{
}

int WriteAllProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    const int count = x38200_data::LibraryData::NumPrograms;
    setProgress (0.0f);
    ProgramDataTransmitter transmitter (midi, channel);
    for (int n = 0; n < count; ++n)
    {
        if (const int code = transmitter.execute (n, library.getProgramData (n)); code != MidiCommunicationNoError)
            return code;
        setProgress ((float) n / (float) count);
    }
    return MidiCommunicationNoError;
}

ReceiveAllProgramProcess::ReceiveAllProgramProcess (x38200_data::LibraryData& l)
    : TransferProcess ("ConnectionReceiveAllProgramTitle", nullptr, false), library (l)
{
}

int ReceiveAllProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    const int count = x38200_data::LibraryData::NumPrograms;
    setProgress (0.0f);
    ProgramDataReceiver receiver (midi, channel);
    for (int n = 0; n < count; ++n)
    {
        receiver.program = {};
        if (const int code = receiver.execute (n); code != MidiCommunicationNoError)
            return code;
        library.getProgramData (n) = receiver.program;
        setProgress ((float) n / (float) count);
    }
    return MidiCommunicationNoError;
}

TransmitProgramProcess::TransmitProgramProcess (const int& number, const x38200_data::ProgramData& p)
    : TransferProcess ("ConnectionWriteProgramTitle", nullptr, false), programNumber (number), program (p)
{
}

int TransmitProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    return ProgramDataTransmitter (midi, channel).execute (programNumber, program);
}

ReceiveProgramProcess::ReceiveProgramProcess (const int& number, x38200_data::ProgramData& p)
    : TransferProcess ("ConnectionReceiveProgramTitle", nullptr, false), programNumber (number), program (p)
{
}

int ReceiveProgramProcess::executeSteps (CPXRMidi& midi, int channel)
{
    ProgramDataReceiver receiver (midi, channel);
    const int code = receiver.execute (programNumber);
    if (code == MidiCommunicationNoError)
        program = receiver.program;
    return code;
}

WriteFavoriteProcess::WriteFavoriteProcess (const x38200_data::FavoriteData& f)
    : TransferProcess ("ConnectionWriteFavoriteTitle", nullptr, false), favorites (f)
{
}

int WriteFavoriteProcess::executeSteps (CPXRMidi& midi, int channel)
{
    GlobalDataReceiver receiver (midi, channel);
    if (const int code = receiver.execute(); code != MidiCommunicationNoError)
        return code;
    auto globalData = receiver.globalData;
    writeFavoritesToGlobalData (favorites, globalData);
    return GlobalDataTransmitter (midi, channel).execute (globalData);
}

ReceiveFavoriteProcess::ReceiveFavoriteProcess (x38200_data::FavoriteData& f)
    : TransferProcess ("ConnectionReceiveFavoriteTitle", nullptr, false), favorites (f)
{
}

int ReceiveFavoriteProcess::executeSteps (CPXRMidi& midi, int channel)
{
    GlobalDataReceiver receiver (midi, channel);
    const int code = receiver.execute();
    if (code == MidiCommunicationNoError)
        readFavoritesFromGlobalData (receiver.globalData, favorites);
    return code;
}

//==============================================================================
using Process = midi::MidiCommunicationProcess;

Process* MidiCommunicationProcessFactory::createWriteLibraryProcess (const x38200_data::LibraryData& l) { return new WriteLibraryProcess (l); }
Process* MidiCommunicationProcessFactory::createReceiveLibraryProcess (x38200_data::LibraryData& l) { return new ReceiveLibraryProcess (l); }
Process* MidiCommunicationProcessFactory::createWriteSelectedProgramProcess (const std::vector<int>& n, const x38200_data::LibraryData& l) { return new WriteSelectedProgramProcess (n, l); }
Process* MidiCommunicationProcessFactory::createReceiveSelectedProgramProcess (const std::vector<int>& n, x38200_data::LibraryData& l) { return new ReceiveSelectedProgramProcess (n, l); }
Process* MidiCommunicationProcessFactory::createTransmitCurrentProgramProcess (const x38200_data::ProgramData& p) { return new TransmitCurrentProgramProcess (p); }
Process* MidiCommunicationProcessFactory::createReceiveCurrentProgramProcess (x38200_data::ProgramData& p) { return new ReceiveCurrentProgramProcess (p); }
Process* MidiCommunicationProcessFactory::createWriteAllProgramProcess (const x38200_data::LibraryData& l) { return new WriteAllProgramProcess (l); }
Process* MidiCommunicationProcessFactory::createReceiveAllProgramProcess (x38200_data::LibraryData& l) { return new ReceiveAllProgramProcess (l); }
Process* MidiCommunicationProcessFactory::createTransmitProgramProcess (const int& n, const x38200_data::ProgramData& p) { return new TransmitProgramProcess (n, p); }
Process* MidiCommunicationProcessFactory::createReceiveProgramProcess (const int& n, x38200_data::ProgramData& p) { return new ReceiveProgramProcess (n, p); }
Process* MidiCommunicationProcessFactory::createWriteFavoriteProcess (const x38200_data::FavoriteData& f) { return new WriteFavoriteProcess (f); }
Process* MidiCommunicationProcessFactory::createReceiveFavoriteProcess (x38200_data::FavoriteData& f) { return new ReceiveFavoriteProcess (f); }
} // namespace x38200_midi
