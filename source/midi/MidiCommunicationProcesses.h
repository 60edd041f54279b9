#pragma once

#include "data/ProgramData.h"
#include "midi/MidiCommunicationProcess.h"

#include <vector>

class CPXRMidi;

namespace x38200_midi
{
class DeviceInquiry;

// The common frame of the transfers: every process first asks who answers, then runs its
// steps with the channel learnt. The processes that report texts set the start status, and
// on a failure the status and detail texts of the code.
class TransferProcess : public midi::MidiCommunicationProcess
{
public:
    int execute() override;
    bool isSucceeded (int result) override { return result == 0; }
    juce::String getProcessName() const override;
    bool isSupportedCancel() const override { return cancellable; }

protected:
    // titleKey: the window title; statusKey: the start status, empty for the processes
    // that set no texts.
    TransferProcess (const char* titleKey, const char* statusKey, bool cancellable);

    // The steps after a successful device inquiry.
    virtual int executeSteps (CPXRMidi& midi, int channel) = 0;

    // Ends the process as cancelled (code 1, status "Canceled.").
    int cancel();
    bool reportsTexts() const noexcept { return statusKey != nullptr && *statusKey != 0; }

private:
    int finish (int code);

    const char* titleKey;
    const char* statusKey;
    const bool cancellable;
};

class WriteLibraryProcess : public TransferProcess
{
public:
    explicit WriteLibraryProcess (const x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const x38200_data::LibraryData& library;
};

class ReceiveLibraryProcess : public TransferProcess
{
public:
    explicit ReceiveLibraryProcess (x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    x38200_data::LibraryData& library;
};

class WriteSelectedProgramProcess : public TransferProcess
{
public:
    WriteSelectedProgramProcess (const std::vector<int>& programNumbers, const x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const std::vector<int>& programNumbers;
    const x38200_data::LibraryData& library;
};

class ReceiveSelectedProgramProcess : public TransferProcess
{
public:
    ReceiveSelectedProgramProcess (const std::vector<int>& programNumbers, x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const std::vector<int>& programNumbers;
    x38200_data::LibraryData& library;
};

class TransmitCurrentProgramProcess : public TransferProcess
{
public:
    explicit TransmitCurrentProgramProcess (const x38200_data::ProgramData& program);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const x38200_data::ProgramData& program;
};

class ReceiveCurrentProgramProcess : public TransferProcess
{
public:
    explicit ReceiveCurrentProgramProcess (x38200_data::ProgramData& program);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    x38200_data::ProgramData& program;
};

class WriteAllProgramProcess : public TransferProcess
{
public:
    explicit WriteAllProgramProcess (const x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const x38200_data::LibraryData& library;
};

class ReceiveAllProgramProcess : public TransferProcess
{
public:
    explicit ReceiveAllProgramProcess (x38200_data::LibraryData& library);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    x38200_data::LibraryData& library;
};

class TransmitProgramProcess : public TransferProcess
{
public:
    TransmitProgramProcess (const int& programNumber, const x38200_data::ProgramData& program);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const int programNumber;
    const x38200_data::ProgramData& program;
};

class ReceiveProgramProcess : public TransferProcess
{
public:
    ReceiveProgramProcess (const int& programNumber, x38200_data::ProgramData& program);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const int programNumber;
    x38200_data::ProgramData& program;
};

class WriteFavoriteProcess : public TransferProcess
{
public:
    explicit WriteFavoriteProcess (const x38200_data::FavoriteData& favorites);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    const x38200_data::FavoriteData& favorites;
};

class ReceiveFavoriteProcess : public TransferProcess
{
public:
    explicit ReceiveFavoriteProcess (x38200_data::FavoriteData& favorites);

protected:
    int executeSteps (CPXRMidi& midi, int channel) override;

private:
    x38200_data::FavoriteData& favorites;
};

// Makes the processes; the caller deletes what it gets.
class MidiCommunicationProcessFactory
{
public:
    virtual ~MidiCommunicationProcessFactory() = default;

    midi::MidiCommunicationProcess* createWriteLibraryProcess (const x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createReceiveLibraryProcess (x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createWriteSelectedProgramProcess (const std::vector<int>&, const x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createReceiveSelectedProgramProcess (const std::vector<int>&, x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createTransmitCurrentProgramProcess (const x38200_data::ProgramData&);
    midi::MidiCommunicationProcess* createReceiveCurrentProgramProcess (x38200_data::ProgramData&);
    midi::MidiCommunicationProcess* createWriteAllProgramProcess (const x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createReceiveAllProgramProcess (x38200_data::LibraryData&);
    midi::MidiCommunicationProcess* createTransmitProgramProcess (const int& programNumber, const x38200_data::ProgramData&);
    midi::MidiCommunicationProcess* createReceiveProgramProcess (const int& programNumber, x38200_data::ProgramData&);
    midi::MidiCommunicationProcess* createWriteFavoriteProcess (const x38200_data::FavoriteData&);
    midi::MidiCommunicationProcess* createReceiveFavoriteProcess (x38200_data::FavoriteData&);
};
} // namespace x38200_midi
