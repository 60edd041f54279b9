#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

class CPXRMidiMessage;

namespace x38200_midi
{
// The device family number of the TarnOMBI. Start-up hands it to the device manager; the
// file conversions, which run without the device manager, use it directly.
constexpr int TarnOMBIFamilyID = 0x0118;

// Sizes of the payloads carried by the dumps, before and after 7-bit packing.
constexpr int ProgramPayloadSize = 320;
constexpr int PackedProgramPayloadSize = 366;
constexpr int GlobalPayloadSize = 224;
constexpr int PackedGlobalPayloadSize = 256;

// Function codes of the instrument's own messages (byte 6).
namespace function
{
    constexpr unsigned char GlobalDataDumpRequest = 0x0E;
    constexpr unsigned char CurrentProgramDataDumpRequest = 0x10;
    constexpr unsigned char ProgramDataDumpRequest = 0x1C;
    constexpr unsigned char Reply21 = 0x21;
    constexpr unsigned char Reply22 = 0x22;
    constexpr unsigned char DumpAck = 0x23;
    constexpr unsigned char DumpNak = 0x24;
    constexpr unsigned char Reply26 = 0x26;
    constexpr unsigned char CurrentProgramDataDump = 0x40;
    constexpr unsigned char ProgramDataDump = 0x4C;
    constexpr unsigned char GlobalDataDump = 0x51;
} // namespace function

// Minimum lengths of the dumps as whole messages.
constexpr int CurrentProgramDataDumpSize = 8 + PackedProgramPayloadSize; // 374
constexpr int ProgramDataDumpSize = 10 + PackedProgramPayloadSize; // 376
constexpr int GlobalDataDumpSize = 8 + PackedGlobalPayloadSize; // 264

enum MidiMessageType : int
{
    Broken = 0,
    Invalid = 1,
    DeviceInquiryReply = 3,
    CurrentProgramDataDumpRequest = 4,
    CurrentProgramDataDump = 5,
    ProgramDataDumpRequest = 6,
    ProgramDataDump = 7,
    GlobalDataDumpRequest = 8,
    GlobalDataDump = 9,
    Reply26 = 11,
    DumpAck = 12,
    DumpNak = 13,
    Reply21 = 14,
    Reply22 = 15,
};

// What one received message turned out to be.
class AnalyzedInformation
{
public:
    AnalyzedInformation() = default;
    AnalyzedInformation (MidiMessageType t, int v, const juce::MemoryBlock& d)
        : type (t), value (v), data (d)
    {
    }
    AnalyzedInformation (const AnalyzedInformation&) = default;
    AnalyzedInformation& operator= (const AnalyzedInformation&) = default;
    virtual ~AnalyzedInformation() = default;

    static const AnalyzedInformation InvalidValue;

    MidiMessageType type = Invalid;
    int value = 0;
    juce::MemoryBlock data;
};

// 7-bit packing shared by the builder, the analyzer and the ports layer.
int calculatePackedSize (int n);
void packData (unsigned char* dst, const unsigned char* src, int n);
void unpackData (unsigned char* dst, const unsigned char* src, int n);

// Builds the messages the librarian sends to the instrument.
class SysExGenerator
{
public:
    // Takes the family and member numbers from the device manager.
    explicit SysExGenerator (int channel);
    SysExGenerator (int channel, int familyId, int memberId);
    virtual ~SysExGenerator() = default;

    juce::MemoryBlock createDeviceInquiryRequest() const;
    juce::MemoryBlock createCurrentProgramDataDumpRequest() const;
    juce::MemoryBlock createProgramDataDumpRequest (const int& programNumber) const;
    juce::MemoryBlock createGlobalDataDumpRequest() const;
    juce::MemoryBlock createCurrentProgramDataDump (const x38200_data::ProgramData& program) const;
    juce::MemoryBlock createProgramDataDump (const int& programNumber, const x38200_data::ProgramData& program) const;
    juce::MemoryBlock createGlobalDataDump (const juce::MemoryBlock& globalData) const;

    // The same messages from the instrument's side (used by the emulator and the .syx files).
    juce::MemoryBlock createCurrentProgramDataDump (const ::ProgramData& raw) const;
    juce::MemoryBlock createProgramDataDump (const int& programNumber, const ::ProgramData& raw) const;
    juce::MemoryBlock createReply (unsigned char functionCode) const;

    int calculateDumpMessageSize (const int& n) const { return calculatePackedSize (n); }
    void convertDataToMidiMessage (unsigned char* dst, const unsigned char* src, const int& n) const { packData (dst, src, n); }

    int getChannel() const noexcept { return channel; }

private:
    void writeHeader (unsigned char* dst, unsigned char functionCode) const;
    juce::MemoryBlock createDump (unsigned char functionCode, const unsigned char* prefix, int prefixSize,
                                  const unsigned char* payload, int payloadSize) const;

    int channel;
    unsigned char vendorId;
    unsigned char familyHigh;
    unsigned char familyLow;
    unsigned char member;
};

// Classifies one complete System Exclusive message received from the instrument.
class MidiMessageAnalyzer
{
public:
    // Compares with the device manager's family number.
    MidiMessageAnalyzer();
    explicit MidiMessageAnalyzer (int familyId);
    virtual ~MidiMessageAnalyzer() = default;

    AnalyzedInformation analyze (const CPXRMidiMessage& message) const;
    AnalyzedInformation analyze (const unsigned char* bytes, int length) const;

    AnalyzedInformation analyzeNonRealtimeMessage (const unsigned char* bytes, int length) const;
    AnalyzedInformation analyzeOmbiSysExMessage (const unsigned char* bytes, int length) const;
    AnalyzedInformation analyzeCurrentProgramDataDump (const unsigned char* bytes, int length) const;
    AnalyzedInformation analyzeProgramDataDump (const unsigned char* bytes, int length) const;
    AnalyzedInformation analyzeGlobalDataDump (const unsigned char* bytes, int length) const;

    int calculateDumpMessageSize (const int& n) const { return calculatePackedSize (n); }
    void convertMidiMessageToData (unsigned char* dst, const unsigned char* src, const int& n) const { unpackData (dst, src, n); }

private:
    int familyId;
};
} // namespace x38200_midi
