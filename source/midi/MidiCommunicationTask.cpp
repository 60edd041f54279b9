#include "midi/MidiCommunicationTask.h"

#include "application/CPXRResource.h"
#include "midi/MidiDeviceManager.h"

#include <algorithm>

namespace x38200_midi
{
namespace
{
    const juce::StringArray& statusKeys()
    {
        static const juce::StringArray keys {
            "MidiCommunicationNoError",
            "MidiCommunicationCanceled",
            "MidiCommunicationErrorFailedToOpenDialog",
            "MidiCommunicationErrorTimeout",
            "MidiCommunicationErrorTargetDevice",
            "MidiCommunicationErrorReceiveNakOnReceive",
            "MidiCommunicationErrorReceiveNakOnWrite",
            "MidiCommunicationErrorReceiveWriteError",
            "MidiCommunicationErrorMessageBroken",
        };
        return keys;
    }

    const juce::StringArray& detailKeys()
    {
        static const juce::StringArray keys = [] {
            juce::StringArray details;
            for (const auto& key : statusKeys())
                details.add (key + "Detail");
            return details;
        }();
        return keys;
    }

    constexpr int FavoriteOffset = 128;
} // namespace

juce::String getMidiCommunicationErrorString (const int& code)
{
    if (! juce::isPositiveAndBelow (code, (int) NumMidiCommunicationResults))
        return {};
    return getLocalizedString (statusKeys()[code]);
}

juce::String getMidiCommunicationErrorDetailString (const int& code)
{
    if (! juce::isPositiveAndBelow (code, (int) NumMidiCommunicationResults))
        return {};
    return getLocalizedString (detailKeys()[code]);
}

//==============================================================================
MidiCommunicationTask::MidiCommunicationTask (CPXRMidi& midiToUse)
    : midi (midiToUse)
{
    midi.AddListener (this);
}

MidiCommunicationTask::~MidiCommunicationTask()
{
    midi.RemoveListener (this);
}

void MidiCommunicationTask::OnPXRMidiInLongMessageReceived (CPXRMidi*, CPXRMidiMessage& message)
{
    queue.push (message);
    messageArrived.signal();
}

AnalyzedInformation MidiCommunicationTask::waitToReceiveSpecificMessage (const std::vector<MidiMessageType>& types, const int& timeoutMs)
{
    const MidiMessageAnalyzer analyzer;
    const auto start = juce::Time::getMillisecondCounter();
    for (;;)
    {
        const auto elapsed = juce::Time::getMillisecondCounter() - start;
        if (elapsed > (juce::uint32) timeoutMs)
            return AnalyzedInformation::InvalidValue;
        // The size is read under the queue's lock: the MIDI thread may be pushing.
        if (queue.size() == 0)
        {
            // Sleep until a message arrives or the time-out has passed; a message pushed just
            // before the wait leaves the event signalled, so nothing is missed.
            messageArrived.wait ((int) ((juce::uint32) timeoutMs - elapsed) + 1);
            continue;
        }
        auto info = analyzer.analyze (queue.pop());
        if (std::find (types.begin(), types.end(), info.type) != types.end())
            return info;
    }
}

bool MidiCommunicationTask::send (const juce::MemoryBlock& message)
{
    CPXRMidiMessage out (static_cast<const unsigned char*> (message.getData()), (juce::uint32) message.getSize());
    return midi.Out (out);
}

//==============================================================================
int DeviceInquiry::execute()
{
    // A failed send shows as no reply.
    send (SysExGenerator (0).createDeviceInquiryRequest());
    const auto reply = waitToReceiveSpecificMessage ({ DeviceInquiryReply }, Timeout);
    if (reply.type != DeviceInquiryReply || reply.data.getSize() < 15)
        return MidiCommunicationErrorTimeout;

    const auto* bytes = static_cast<const unsigned char*> (reply.data.getData());
    const int family = bytes[6] | (bytes[7] << 8);
    if (bytes[5] != midi::MidiDeviceManager::MidiDeviceVendorID || family != midi::MidiDeviceManager::instance().getDeviceFamilyId())
        return MidiCommunicationErrorTargetDevice;
    channel = bytes[2] & 0x0F;
    return MidiCommunicationNoError;
}

int ChannelTask::exchange (const juce::MemoryBlock& message, MidiMessageType expected, int codeOnNak, int timeoutMs, AnalyzedInformation& reply)
{
    send (message);
    reply = waitToReceiveSpecificMessage ({ Broken, expected, DumpNak }, timeoutMs);
    switch (reply.type)
    {
        case Invalid: return MidiCommunicationErrorTimeout;
        case Broken: return MidiCommunicationErrorMessageBroken;
        case DumpNak: return codeOnNak;
        default: return MidiCommunicationNoError;
    }
}

int CurrentProgramReceiver::execute()
{
    AnalyzedInformation reply;
    const int code = exchange (SysExGenerator (channel).createCurrentProgramDataDumpRequest(), CurrentProgramDataDump,
                               MidiCommunicationErrorReceiveNakOnReceive, Timeout, reply);
    if (code == MidiCommunicationNoError)
        program.copyFromRawData (static_cast<const unsigned char*> (reply.data.getData()), (int) reply.data.getSize());
    return code;
}

int ProgramDataReceiver::execute (const int& programNumber)
{
    AnalyzedInformation reply;
    const int code = exchange (SysExGenerator (channel).createProgramDataDumpRequest (programNumber), ProgramDataDump,
                               MidiCommunicationErrorReceiveNakOnReceive, Timeout, reply);
    if (code == MidiCommunicationNoError)
        program.copyFromRawData (static_cast<const unsigned char*> (reply.data.getData()), (int) reply.data.getSize());
    return code;
}

int GlobalDataReceiver::execute()
{
    AnalyzedInformation reply;
    const int code = exchange (SysExGenerator (channel).createGlobalDataDumpRequest(), GlobalDataDump,
                               MidiCommunicationErrorReceiveNakOnReceive, Timeout, reply);
    if (code == MidiCommunicationNoError)
        globalData = reply.data;
    return code;
}

int CurrentProgramTransmitter::execute (const x38200_data::ProgramData& program)
{
    AnalyzedInformation reply;
    return exchange (SysExGenerator (channel).createCurrentProgramDataDump (program), DumpAck,
                     MidiCommunicationErrorReceiveNakOnWrite, Timeout, reply);
}

int ProgramDataTransmitter::execute (const int& programNumber, const x38200_data::ProgramData& program)
{
    AnalyzedInformation reply;
    return exchange (SysExGenerator (channel).createProgramDataDump (programNumber, program), DumpAck,
                     MidiCommunicationErrorReceiveNakOnWrite, Timeout, reply);
}

int GlobalDataTransmitter::execute (const juce::MemoryBlock& globalData)
{
    AnalyzedInformation reply;
    return exchange (SysExGenerator (channel).createGlobalDataDump (globalData), DumpAck,
                     MidiCommunicationErrorReceiveNakOnWrite, Timeout, reply);
}

//==============================================================================
void writeFavoritesToGlobalData (const x38200_data::FavoriteData& favorites, juce::MemoryBlock& globalData)
{
    if (globalData.getSize() < (size_t) GlobalPayloadSize)
        globalData.setSize ((size_t) GlobalPayloadSize, true);
    auto* bytes = static_cast<unsigned char*> (globalData.getData());
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
    {
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
        {
            const auto value = (std::uint16_t) (std::int16_t) favorites.getFavoriteData (bank, slot);
            const int offset = FavoriteOffset + 16 * bank + 2 * slot;
            bytes[offset] = (unsigned char) (value & 0xFF);
            bytes[offset + 1] = (unsigned char) (value >> 8);
        }
    }
}

void readFavoritesFromGlobalData (const juce::MemoryBlock& globalData, x38200_data::FavoriteData& favorites)
{
    if (globalData.getSize() < (size_t) GlobalPayloadSize)
        return;
    const auto* bytes = static_cast<const unsigned char*> (globalData.getData());
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
    {
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
        {
            const int offset = FavoriteOffset + 16 * bank + 2 * slot;
            favorites.setFavoriteData (bank, slot, (std::int16_t) (std::uint16_t) (bytes[offset] | (bytes[offset + 1] << 8)));
        }
    }
}
} // namespace x38200_midi
