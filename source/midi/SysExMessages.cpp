#include "midi/SysExMessages.h"

#include "midi/CPXRMidi.h"
#include "midi/MidiDeviceManager.h"

namespace x38200_midi
{
const AnalyzedInformation AnalyzedInformation::InvalidValue { Invalid, 0, {} };

int calculatePackedSize (int n)
{
    if (n <= 0)
        return 0;
    return (n / 7) * 8 + (n % 7 == 0 ? 0 : n % 7 + 1);
}

void packData (unsigned char* dst, const unsigned char* src, int n)
{
    for (int group = 0; group < n; group += 7)
    {
        const int k = std::min (7, n - group);
        unsigned char highBits = 0;
        for (int j = 0; j < k; ++j)
        {
            if ((src[group + j] & 0x80) != 0)
                highBits = (unsigned char) (highBits | (1 << j));
            dst[1 + j] = (unsigned char) (src[group + j] & 0x7F);
        }
        dst[0] = highBits;
        dst += k + 1;
    }
}

void unpackData (unsigned char* dst, const unsigned char* src, int n)
{
    for (int group = 0; group < n; group += 7)
    {
        const int k = std::min (7, n - group);
        const unsigned char highBits = *src++;
        for (int j = 0; j < k; ++j)
            *dst++ = (unsigned char) (((highBits << (7 - j)) & 0x80) | *src++);
    }
}

//==============================================================================
namespace
{
    int getManagerFamilyId()
    {
        return Singleton<midi::MidiDeviceManager>::instance().getDeviceFamilyId();
    }

    int getManagerMemberId()
    {
        return Singleton<midi::MidiDeviceManager>::instance().getDeviceMemberId();
    }

    juce::MemoryBlock makeBlock (std::initializer_list<unsigned char> bytes)
    {
        return juce::MemoryBlock (bytes.begin(), bytes.size());
    }
} // namespace

SysExGenerator::SysExGenerator (int channelToUse)
    : SysExGenerator (channelToUse, getManagerFamilyId(), getManagerMemberId())
{
}

SysExGenerator::SysExGenerator (int channelToUse, int familyId, int memberId)
    : channel (channelToUse),
      vendorId ((unsigned char) midi::MidiDeviceManager::MidiDeviceVendorID),
      familyHigh ((unsigned char) ((familyId >> 8) & 0x7F)),
      familyLow ((unsigned char) (familyId & 0x7F)),
      member ((unsigned char) (memberId & 0x7F))
{
    juce::ignoreUnused (member);
}

void SysExGenerator::writeHeader (unsigned char* dst, unsigned char functionCode) const
{
    dst[0] = 0xF0;
    dst[1] = vendorId;
    dst[2] = (unsigned char) (0x30 | (channel & 0x0F));
    dst[3] = 0x00;
    dst[4] = familyHigh;
    dst[5] = familyLow;
    dst[6] = functionCode;
}

juce::MemoryBlock SysExGenerator::createReply (unsigned char functionCode) const
{
    juce::MemoryBlock block (8, true);
    auto* bytes = static_cast<unsigned char*> (block.getData());
    writeHeader (bytes, functionCode);
    bytes[7] = 0xF7;
    return block;
}

juce::MemoryBlock SysExGenerator::createDeviceInquiryRequest() const
{
    return makeBlock ({ 0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7 });
}

juce::MemoryBlock SysExGenerator::createCurrentProgramDataDumpRequest() const
{
    return createReply (function::CurrentProgramDataDumpRequest);
}

juce::MemoryBlock SysExGenerator::createGlobalDataDumpRequest() const
{
    return createReply (function::GlobalDataDumpRequest);
}

juce::MemoryBlock SysExGenerator::createProgramDataDumpRequest (const int& programNumber) const
{
    juce::MemoryBlock block (10, true);
    auto* bytes = static_cast<unsigned char*> (block.getData());
    writeHeader (bytes, function::ProgramDataDumpRequest);
    bytes[7] = (unsigned char) (programNumber & 0x7F);
    bytes[8] = (unsigned char) ((programNumber >> 7) & 0x7F);
    bytes[9] = 0xF7;
    return block;
}

juce::MemoryBlock SysExGenerator::createDump (unsigned char functionCode, const unsigned char* prefix, int prefixSize,
                                              const unsigned char* payload, int payloadSize) const
{
    const int headerSize = 7 + prefixSize;
    const int packedSize = calculatePackedSize (payloadSize);
    juce::MemoryBlock block ((size_t) (headerSize + packedSize + 1), true);
    auto* bytes = static_cast<unsigned char*> (block.getData());
    writeHeader (bytes, functionCode);
    for (int i = 0; i < prefixSize; ++i)
        bytes[7 + i] = prefix[i];
    packData (bytes + headerSize, payload, payloadSize);
    bytes[block.getSize() - 1] = 0xF7;
    return block;
}

juce::MemoryBlock SysExGenerator::createCurrentProgramDataDump (const ::ProgramData& raw) const
{
    return createDump (function::CurrentProgramDataDump, nullptr, 0, raw.bytes, ::ProgramData::Size);
}

juce::MemoryBlock SysExGenerator::createProgramDataDump (const int& programNumber, const ::ProgramData& raw) const
{
    const unsigned char number[2] = { (unsigned char) (programNumber & 0x7F), (unsigned char) ((programNumber >> 7) & 0x7F) };
    return createDump (function::ProgramDataDump, number, 2, raw.bytes, ::ProgramData::Size);
}

juce::MemoryBlock SysExGenerator::createCurrentProgramDataDump (const x38200_data::ProgramData& program) const
{
    return createCurrentProgramDataDump (program.rawData);
}

juce::MemoryBlock SysExGenerator::createProgramDataDump (const int& programNumber, const x38200_data::ProgramData& program) const
{
    return createProgramDataDump (programNumber, program.rawData);
}

juce::MemoryBlock SysExGenerator::createGlobalDataDump (const juce::MemoryBlock& globalData) const
{
    return createDump (function::GlobalDataDump, nullptr, 0, static_cast<const unsigned char*> (globalData.getData()),
                       (int) globalData.getSize());
}

//==============================================================================
MidiMessageAnalyzer::MidiMessageAnalyzer()
    : familyId (getManagerFamilyId())
{
}

MidiMessageAnalyzer::MidiMessageAnalyzer (int familyToAccept)
    : familyId (familyToAccept)
{
}

AnalyzedInformation MidiMessageAnalyzer::analyze (const CPXRMidiMessage& message) const
{
    return analyze (message.getData(), (int) message.getLength());
}

AnalyzedInformation MidiMessageAnalyzer::analyze (const unsigned char* bytes, int length) const
{
    if (bytes == nullptr || length < 2)
        return AnalyzedInformation::InvalidValue;
    if (bytes[1] == 0x7E)
        return analyzeNonRealtimeMessage (bytes, length);
    if (bytes[1] == midi::MidiDeviceManager::MidiDeviceVendorID)
        return analyzeOmbiSysExMessage (bytes, length);
    return AnalyzedInformation::InvalidValue;
}

AnalyzedInformation MidiMessageAnalyzer::analyzeNonRealtimeMessage (const unsigned char* bytes, int length) const
{
    if (length == 15 && bytes[3] == 0x06 && bytes[4] == 0x02)
        return { DeviceInquiryReply, 0, juce::MemoryBlock (bytes, 15) };
    return AnalyzedInformation::InvalidValue;
}

AnalyzedInformation MidiMessageAnalyzer::analyzeOmbiSysExMessage (const unsigned char* bytes, int length) const
{
    if (length < 8 || (bytes[2] & 0xF0) != 0x30 || ((bytes[4] << 8) | bytes[5]) != familyId)
        return AnalyzedInformation::InvalidValue;

    const int f = bytes[6] & 0x7F;
    if (f < 0x1C)
    {
        if (f == function::GlobalDataDumpRequest)
            return { GlobalDataDumpRequest, 0, {} };
        if (f == function::CurrentProgramDataDumpRequest)
            return { CurrentProgramDataDumpRequest, 0, {} };
        return AnalyzedInformation::InvalidValue;
    }
    if (f < 0x40)
    {
        switch (f)
        {
            // The program number of a request sits in bytes 7 and 8; an 8-byte message
            // has its 0xF7 in byte 7 and no byte 8, so it reads as program 0.
            case function::ProgramDataDumpRequest:
                return { ProgramDataDumpRequest, length >= 9 ? (bytes[7] | bytes[8] << 7) : 0, {} };
            case function::Reply21: return { Reply21, 0, {} };
            case function::Reply22: return { Reply22, 0, {} };
            case function::DumpAck: return { DumpAck, 0, {} };
            case function::DumpNak: return { DumpNak, 0, {} };
            case function::Reply26: return { Reply26, 0, {} };
            default: return AnalyzedInformation::InvalidValue;
        }
    }
    switch (f)
    {
        case function::CurrentProgramDataDump: return analyzeCurrentProgramDataDump (bytes, length);
        case function::ProgramDataDump: return analyzeProgramDataDump (bytes, length);
        case function::GlobalDataDump: return analyzeGlobalDataDump (bytes, length);
        default: return AnalyzedInformation::InvalidValue;
    }
}

AnalyzedInformation MidiMessageAnalyzer::analyzeCurrentProgramDataDump (const unsigned char* bytes, int length) const
{
    if (length < CurrentProgramDataDumpSize)
        return { Broken, 0, {} };
    juce::MemoryBlock data ((size_t) ProgramPayloadSize, true);
    unpackData (static_cast<unsigned char*> (data.getData()), bytes + 7, ProgramPayloadSize);
    return { CurrentProgramDataDump, 0, data };
}

AnalyzedInformation MidiMessageAnalyzer::analyzeProgramDataDump (const unsigned char* bytes, int length) const
{
    if (length < ProgramDataDumpSize)
        return { Broken, 0, {} };
    juce::MemoryBlock data ((size_t) ProgramPayloadSize, true);
    unpackData (static_cast<unsigned char*> (data.getData()), bytes + 9, ProgramPayloadSize);
    return { ProgramDataDump, bytes[7] | bytes[8] << 7, data };
}

AnalyzedInformation MidiMessageAnalyzer::analyzeGlobalDataDump (const unsigned char* bytes, int length) const
{
    if (length < GlobalDataDumpSize)
        return { Broken, 0, {} };
    juce::MemoryBlock data ((size_t) GlobalPayloadSize, true);
    unpackData (static_cast<unsigned char*> (data.getData()), bytes + 7, GlobalPayloadSize);
    return { GlobalDataDump, 0, data };
}
} // namespace x38200_midi
