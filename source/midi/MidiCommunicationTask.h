#pragma once

#include "midi/CPXRMidi.h"
#include "midi/MidiMessageQueue.h"
#include "midi/SysExMessages.h"

#include <vector>

namespace x38200_midi
{
// Result codes of a communication with the instrument.
enum MidiCommunicationResult
{
    MidiCommunicationNoError = 0,
    MidiCommunicationCanceled = 1,
    MidiCommunicationErrorFailedToOpenDialog = 2,
    MidiCommunicationErrorTimeout = 3,
    MidiCommunicationErrorTargetDevice = 4,
    MidiCommunicationErrorReceiveNakOnReceive = 5,
    MidiCommunicationErrorReceiveNakOnWrite = 6,
    MidiCommunicationErrorReceiveWriteError = 7,
    MidiCommunicationErrorMessageBroken = 8,
    NumMidiCommunicationResults
};

// The status and detail texts of a result code, in the chosen language.
juce::String getMidiCommunicationErrorString (const int& code);
juce::String getMidiCommunicationErrorDetailString (const int& code);

// One request-and-reply step with the instrument. While it exists it queues every System
// Exclusive message that arrives, so a reply that comes before the wait starts is not lost.
class MidiCommunicationTask : public CPXRMidiListener
{
public:
    explicit MidiCommunicationTask (CPXRMidi& midi);
    ~MidiCommunicationTask() override;

    void OnPXRMidiInShortMessage (CPXRMidi*, CPXRMidiMessage&) override {}
    void OnPXRMidiInLongMessageReceived (CPXRMidi*, CPXRMidiMessage& message) override;

    // Takes the queued messages in arrival order, dropping those of other types, until one of
    // the types arrives or the time-out passes (then the type is Invalid). The wait sleeps
    // until a message arrives.
    AnalyzedInformation waitToReceiveSpecificMessage (const std::vector<MidiMessageType>& types, const int& timeoutMs);

protected:
    bool send (const juce::MemoryBlock& message);

    CPXRMidi& midi;
    midi::MidiMessageQueue queue;

private:
    juce::WaitableEvent messageArrived;
};

// Asks who answers and learns the instrument's MIDI channel.
class DeviceInquiry : public MidiCommunicationTask
{
public:
    static constexpr int Timeout = 3000;

    explicit DeviceInquiry (CPXRMidi& midiToUse) : MidiCommunicationTask (midiToUse) {}
    int execute();
    int getChannel() const noexcept { return channel; }

private:
    int channel = 0;
};

// The base of the receivers and transmitters: each uses the channel the inquiry found.
class ChannelTask : public MidiCommunicationTask
{
public:
    ChannelTask (CPXRMidi& midiToUse, const int& channelToUse) : MidiCommunicationTask (midiToUse), channel (channelToUse) {}

protected:
    // Sends the message and maps the reply: the awaited dump or acknowledgement gives 0.
    int exchange (const juce::MemoryBlock& message, MidiMessageType expected, int codeOnNak, int timeoutMs, AnalyzedInformation& reply);

    int channel;
};

class CurrentProgramReceiver : public ChannelTask
{
public:
    static constexpr int Timeout = 5000;
    using ChannelTask::ChannelTask;
    int execute();
    x38200_data::ProgramData program;
};

class ProgramDataReceiver : public ChannelTask
{
public:
    static constexpr int Timeout = 5000;
    using ChannelTask::ChannelTask;
    int execute (const int& programNumber);
    x38200_data::ProgramData program;
};

class GlobalDataReceiver : public ChannelTask
{
public:
    static constexpr int Timeout = 5000;
    using ChannelTask::ChannelTask;
    int execute();
    juce::MemoryBlock globalData;
};

class CurrentProgramTransmitter : public ChannelTask
{
public:
    static constexpr int Timeout = 5000;
    using ChannelTask::ChannelTask;
    int execute (const x38200_data::ProgramData& program);
};

class ProgramDataTransmitter : public ChannelTask
{
public:
    static constexpr int Timeout = 3000;
    using ChannelTask::ChannelTask;
    int execute (const int& programNumber, const x38200_data::ProgramData& program);
};

class GlobalDataTransmitter : public ChannelTask
{
public:
    static constexpr int Timeout = 3000;
    using ChannelTask::ChannelTask;
    int execute (const juce::MemoryBlock& globalData);
};

// The favorite table inside the instrument's 224-byte global block: bank b, slot s is a signed
// 16-bit little-endian program number at byte 128 + 16 b + 2 s.
void writeFavoritesToGlobalData (const x38200_data::FavoriteData& favorites, juce::MemoryBlock& globalData);
void readFavoritesFromGlobalData (const juce::MemoryBlock& globalData, x38200_data::FavoriteData& favorites);
} // namespace x38200_midi
