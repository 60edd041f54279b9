#include "data/ProgramData.h"
#include "data/parameter/DescriptorTables.h"
#include "data/parameter/UserParameter.h"
#include "data/parameter/ValueConversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace userparameter;

namespace
{
::ProgramData makeInitRecord()
{
    ::ProgramData record;
    std::memset (record.bytes, 0xAA, sizeof (record.bytes));
    InitData (&record);
    return record;
}

UserParameterID id (int mainID, int subID)
{
    return { (std::int16_t) mainID, (std::int16_t) subID };
}

void set (::ProgramData& record, int mainID, int subID, int value)
{
    SetParameterValueInternal (&record, id (mainID, subID), (std::int16_t) value);
}

std::string text (const ::ProgramData& record, int mainID, int subID)
{
    return GetParameterValueString (&record, id (mainID, subID));
}
} // namespace

//==============================================================================
TEST (ParameterAccess, InitProgramReadsAsTheInstrumentShowsIt)
{
    const auto record = makeInitRecord();
    ASSERT_EQ (0, std::memcmp (record.bytes, x38200_data::InitProgramData.bytes, sizeof (record.bytes)));

    struct Case
    {
        int mainID, subID, internal;
        const char* text;
    };
    const Case cases[] = {
        { 0, 0, 73, "I" }, // first name character
        { 0, 11, 32, " " },
        { 0, 12, 0, "Synth" },
        { 0, 13, 0, "Single" },
        { 0, 14, 0, "Global" },
        { 0, 15, 60, "C 4" },
        { 1, 0, 0, "Norm" },
        { 2, 0, 2, "Poly" },
        { 2, 2, 10, "10" },
        { 2, 3, 64, "064" },
        { 2, 5, 0, "+00 cent" },
        { 2, 7, 15, "+0120 cent" },
        { 2, 8, 2, "+02" },
        { 2, 9, 0, "Off" },
        { 2, 12, 1, "[ANLG] Saw" },
        { 2, 15, 0, "000" }, // the saw's Waveform control
        { 2, 16, 0, "" }, // the saw has no second control
        { 2, 17, 0, "Off" },
        { 2, 27, 127, "127" },
        { 2, 30, 0, "LPF Tarn 1" },
        { 2, 36, 0, "+0.00" },
        { 2, 38, 100, "100" },
        { 2, 39, 64, "Center" },
        { 2, 52, 2, "Triangle" },
        { 2, 53, 5, "000.06Hz" },
        { 2, 56, 5, "1/2" },
        { 2, 57, 2, "Sine" },
        { 2, 58, 70, "006.00Hz" },
        { 2, 61, 13, "1/16" },
        { 3, 0, 2, "LFO1" },
        { 3, 1, 1, "Pitch" },
        { 3, 14, 0, "+00" },
        { 3, 16, 30, "Panpot" },
        { 4, 12, 1, "[ANLG] Saw" }, // timbre B is a copy of timbre A
        { 5, 13, 29, "AmpLevel" },
        { 6, 0, 5, "Tone" },
        { 6, 2, 64, "Flat" }, // the tone effect's drive is a tone balance
        { 6, 3, 1, "Chorus" },
        { 6, 5, 64, "064" },
        { 6, 7, 5, "BPM Delay" },
        { 6, 9, 25, "025" },
        { 6, 10, 36, "1/8" },
        { 7, 0, 0, "Off" },
        { 7, 7, 1, "Enable" },
        { 7, 8, 2, "+0" },
        { 7, 11, 2, "LFO1" },
        { 7, 13, 30, "030" },
        { 8, 0, 0, "Off" },
        { 8, 1, 120, "120" },
        { 8, 6, 2, "1/16" },
        { 8, 7, 50, "050%" },
        { 8, 8, 0, "+000%" },
        { 8, 9, 8, "8" },
        { 8, 11, 1, "On" },
        { 8, 18, 1, "On" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "main " << c.mainID << " sub " << c.subID);
        EXPECT_EQ (c.internal, GetParameterValueInternal (&record, id (c.mainID, c.subID)));
        EXPECT_EQ (c.text, text (record, c.mainID, c.subID));
    }
    EXPECT_EQ ("Synth", GetProgramCategoryString (&record));
}

TEST (ParameterAccess, IdsThatNameNoParameter)
{
    const auto record = makeInitRecord();
    const UserParameterID ids[] = { id (19, 0), id (-1, 0), id (9, 0), id (18, 0), id (0, -1), id (0, 16),
                                    id (1, 1), id (2, 62), id (3, 18), id (6, 11), id (7, 34), id (8, 19) };
    for (const auto& parameter : ids)
    {
        SCOPED_TRACE (testing::Message() << "main " << parameter.mainID << " sub " << parameter.subID);
        UserParameterDescriptor d;
        EXPECT_FALSE (descriptor::GetDescriptor (&record, parameter, d));
        EXPECT_EQ (0, GetParameterValueInternal (&record, parameter));
        EXPECT_EQ (0, GetParameterValue (&record, parameter));
        EXPECT_EQ ("", GetParameterValueString (&record, parameter));
        EXPECT_FALSE (IsParameterEnabled (&record, parameter));

        auto copy = record;
        EXPECT_EQ (77, SetParameterValueInternal (&copy, parameter, 77));
        EXPECT_EQ (0, std::memcmp (copy.bytes, record.bytes, sizeof (record.bytes)));
    }
}

TEST (ParameterAccess, ArpeggiatorStepsAreSingleBitsOfOneByte)
{
    auto record = makeInitRecord();
    record.bytes[308] = 0;
    for (int step = 0; step < 8; ++step)
    {
        SCOPED_TRACE (testing::Message() << "step " << step + 1);
        const int mask = 0x80 >> step; // step 1 is the most significant bit

        record.bytes[308] = 0;
        set (record, 8, 11 + step, 1);
        EXPECT_EQ (mask, record.bytes[308]);

        record.bytes[308] = 0xFF;
        set (record, 8, 11 + step, 0);
        EXPECT_EQ (0xFF & ~mask, record.bytes[308]);
        EXPECT_EQ (0, GetParameterValueInternal (&record, id (8, 11 + step)));
        EXPECT_EQ (1, GetParameterValueInternal (&record, id (8, 11 + (step + 1) % 8)));
    }
}

TEST (ParameterAccess, WritingClampsAndKeepsTheOtherBytes)
{
    struct Case
    {
        int mainID, subID, written, stored, recordByte;
        std::vector<int> bytes; // the field's bytes after writing, least significant first
    };
    const Case cases[] = {
        { 8, 1, 400, 300, 296, { 0x2C, 0x01 } }, // tempo: 16-bit little-endian
        { 8, 1, 10, 20, 296, { 0x14, 0x00 } },
        { 8, 1, 256, 256, 296, { 0x00, 0x01 } },
        { 2, 4, -5, -5, 20, { 0xFB } }, // signed 8-bit transpose
        { 2, 4, -60, -48, 20, { 0xD0 } },
        { 2, 4, 100, 48, 20, { 0x30 } },
        { 4, 4, -5, -5, 128, { 0xFB } }, // the same field of timbre B
        { 3, 2, -63, -63, 102, { 0xC1 } }, // virtual patch 1 intensity of timbre A
        { 5, 17, 63, 63, 230, { 0x3F } }, // virtual patch 6 intensity of timbre B
        { 0, 12, 9, 8, 12, { 8 } }, // category
        { 0, 0, 20, 32, 0, { 32 } }, // name characters stay printable
        { 7, 14, 32767, 32767, 260, { 0xFF, 0x7F } }, // formant hold data
        { 7, 29, -1, 0, 290, { 0x00, 0x00 } },
        { 8, 9, 0, 1, 306, { 1 } }, // last step
        { 6, 7, 7, 5, 239, { 5 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "main " << c.mainID << " sub " << c.subID << " value " << c.written);
        auto record = makeInitRecord();
        const auto before = record;
        EXPECT_EQ (c.stored, SetParameterValueInternal (&record, id (c.mainID, c.subID), (std::int16_t) c.written));
        EXPECT_EQ (c.stored, GetParameterValueInternal (&record, id (c.mainID, c.subID)));
        for (int i = 0; i < (int) sizeof (record.bytes); ++i)
        {
            const int fieldIndex = i - c.recordByte;
            if (fieldIndex >= 0 && fieldIndex < (int) c.bytes.size())
                EXPECT_EQ (c.bytes[(size_t) fieldIndex], record.bytes[i]) << "byte " << i;
            else
                EXPECT_EQ (before.bytes[i], record.bytes[i]) << "byte " << i;
        }
    }
}

TEST (ParameterAccess, EveryParameterStoresWhatItReadsBack)
{
    // Write the extremes of every parameter under every oscillator and effect type:
    // each reads back clamped, and the bytes outside the parameter areas never change.
    const int oscTypes[] = { 0, 1, 5, 9, 13, 17, 21, 25, 29, 32, 33, 96, 97, 126, 127 };
    for (int oscType : oscTypes)
    {
        for (int fxType = 0; fxType < 6; ++fxType)
        {
            auto record = makeInitRecord();
            for (int mainID : { 2, 4 })
                for (int typeSub : { 12, 17, 22 })
                    set (record, mainID, typeSub, oscType);
            for (int typeSub : { 0, 3, 7 })
                set (record, 6, typeSub, fxType);
            std::memset (record.bytes + 316, 0x5A, 4);

            for (int mainID = 0; mainID < NumProgramAreas; ++mainID)
            {
                for (int subID = 0; subID < GetNumSubIDs (mainID); ++subID)
                {
                    UserParameterDescriptor d;
                    ASSERT_TRUE (descriptor::GetDescriptor (&record, id (mainID, subID), d));
                    if (d.byteCount == 0)
                        continue;
                    for (int value : { -32768, (int) d.minimum, (int) d.maximum, 32767 })
                    {
                        const auto expected = std::min<int> (std::max<int> (value, d.minimum), d.maximum);
                        SCOPED_TRACE (testing::Message() << "osc " << oscType << " fx " << fxType << " main " << mainID
                                                         << " sub " << subID << " value " << value);
                        auto copy = record;
                        EXPECT_EQ (expected, SetParameterValueInternal (&copy, id (mainID, subID), (std::int16_t) value));
                        EXPECT_EQ (expected, GetParameterValueInternal (&copy, id (mainID, subID)));
                    }
                }
            }
            for (int i = 316; i < 320; ++i)
                EXPECT_EQ (0x5A, record.bytes[i]);
        }
    }
}

TEST (ParameterAccess, FieldsOutsideTheirAreaAreNeitherReadNorWritten)
{
    auto record = makeInitRecord();
    const auto before = record;
    auto d = descriptor::ProgramDescriptorsTable_Common[12];
    d.byteOffset = 16; // one past the end of the common area
    EXPECT_EQ (0, descriptor::GetParameter (record.bytes, id (0, 12), d));
    EXPECT_EQ (5, descriptor::SetParameter (record.bytes, id (0, 12), d, 5));
    EXPECT_EQ (0, std::memcmp (before.bytes, record.bytes, sizeof (record.bytes)));

    d.byteOffset = 15;
    d.byteCount = 2;
    EXPECT_EQ (nullptr, descriptor::SetOffset_ParameterBuffer (record.bytes, id (0, 12), d));
    EXPECT_EQ (nullptr, descriptor::SetOffset_ParameterBuffer (record.bytes, id (19, 0), d));

    // A field wider than its bytes reads as 0 and is not written.
    d = descriptor::ProgramDescriptorsTable_Common[12];
    d.bitOffset = 4;
    d.bitWidth = 8;
    EXPECT_EQ (0, descriptor::GetParameter (record.bytes, id (0, 12), d));
    descriptor::SetParameter (record.bytes, id (0, 12), d, 3);
    EXPECT_EQ (0, std::memcmp (before.bytes, record.bytes, sizeof (record.bytes)));

    // The global areas locate into the global record.
    ::GlobalData global {};
    global.bytes[128] = 0x2C;
    global.bytes[129] = 0x01;
    UserParameterDescriptor slot;
    slot.byteCount = 2;
    slot.bitWidth = 16;
    slot.isSigned = true;
    slot.minimum = -32768;
    slot.maximum = 32767;
    EXPECT_EQ (300, descriptor::GetParameter (global.bytes, id (18, 0), slot));
    slot.byteOffset = 94;
    EXPECT_EQ (-2, descriptor::SetParameter (global.bytes, id (18, 47), slot, -2));
    EXPECT_EQ (0xFE, global.bytes[222]);
    EXPECT_EQ (0xFF, global.bytes[223]);
    slot.byteOffset = 95;
    EXPECT_EQ (nullptr, descriptor::SetOffset_ParameterBuffer (global.bytes, id (18, 47), slot));
}

//==============================================================================
TEST (ParameterAccess, OscillatorControlsFollowTheOscillatorType)
{
    struct Case
    {
        int type;
        const char* control1;
        int min1, max1;
        const char* control2;
        int min2, max2;
    };
    const Case cases[] = {
        { 0, "", 0, 0, "", 0, 0 },
        { 1, "Waveform", 0, 127, "", 0, 0 },
        { 2, "PulseWidth", 0, 127, "", 0, 0 },
        { 5, "Decimator Fc", 0, 127, "Noise Decay", 0, 127 },
        { 8, "Resonance", 0, 127, "Noise Decay", 0, 127 },
        { 9, "Detune", -63, 63, "", 0, 0 },
        { 16, "Detune", 0, 127, "", 0, 0 },
        { 17, "SlaveOsc Pitch", 0, 127, "", 0, 0 },
        { 24, "Mod Pitch", -63, 63, "", 0, 0 },
        { 25, "Mod Depth", 0, 127, "Mod Pitch", -63, 63 },
        { 32, "Mod Depth", 0, 127, "Mod Harmonics", 0, 32 },
        { 33, "Detune", 0, 127, "Mod Depth", 0, 127 }, // every QXRM wave
        { 96, "Detune", 0, 127, "Mod Depth", 0, 127 },
        { 97, "", 0, 0, "", 0, 0 }, // PCM waves have no controls
        { 126, "", 0, 0, "", 0, 0 },
        { 127, "Gain", -63, 63, "", 0, 0 },
    };
    struct Oscillator
    {
        int typeSub, control1Sub, control1Byte;
    };
    const Oscillator oscillators[] = { { 12, 15, 15 }, { 17, 20, 23 }, { 22, 25, 31 } };

    for (int mainID : { 2, 4 })
    {
        for (const auto& osc : oscillators)
        {
            for (const auto& c : cases)
            {
                SCOPED_TRACE (testing::Message() << "main " << mainID << " type sub " << osc.typeSub << " type " << c.type);
                auto record = makeInitRecord();
                set (record, mainID, osc.typeSub, c.type);

                for (int control = 0; control < 2; ++control)
                {
                    const auto parameter = id (mainID, osc.control1Sub + control);
                    const std::string name = control == 0 ? c.control1 : c.control2;
                    UserParameterDescriptor d;
                    ASSERT_TRUE (descriptor::GetDescriptor (&record, parameter, d));
                    EXPECT_EQ (name, d.name);
                    EXPECT_EQ (osc.control1Byte + control, d.byteOffset);
                    if (name.empty())
                    {
                        EXPECT_EQ (0, d.byteCount);
                        EXPECT_EQ (0u, d.valueType);
                        EXPECT_FALSE (IsParameterEnabled (&record, parameter));
                        EXPECT_EQ (0, GetParameterValueInternal (&record, parameter));
                        EXPECT_EQ ("", GetParameterValueString (&record, parameter));
                        continue;
                    }
                    EXPECT_EQ (control == 0 ? c.min1 : c.min2, d.minimum);
                    EXPECT_EQ (control == 0 ? c.max1 : c.max2, d.maximum);
                    EXPECT_EQ (d.minimum < 0, d.isSigned);
                    EXPECT_TRUE (IsParameterEnabled (&record, parameter));

                    // Every type's controls live in the same two bytes.
                    const int recordByte = (mainID == 2 ? 16 : 124) + osc.control1Byte + control;
                    EXPECT_EQ (d.minimum, SetParameterValueInternal (&record, parameter, -100));
                    EXPECT_EQ ((std::uint8_t) d.minimum, record.bytes[recordByte]);
                }
            }
        }
    }
}

TEST (ParameterAccess, OscillatorControlTexts)
{
    auto record = makeInitRecord();
    set (record, 2, 17, 17);
    EXPECT_STREQ ("Mod Pitch", [&] {
        UserParameterDescriptor d;
        descriptor::GetDescriptor (&record, id (2, 20), d);
        return d.shortName;
    }());
    set (record, 2, 22, 29);
    set (record, 2, 26, 0);
    EXPECT_EQ ("0.5", text (record, 2, 26));
    set (record, 2, 26, 32);
    EXPECT_EQ ("32", text (record, 2, 26));
    set (record, 4, 12, 127);
    set (record, 4, 15, -7);
    EXPECT_EQ ("-07", text (record, 4, 15));
}

TEST (ParameterAccess, EffectControlsFollowTheEffectType)
{
    struct Case
    {
        int typeSub, type, controlSub;
        const char* name;
        const char* qualifiedName;
        int recordByte, stored;
        const char* text;
    };
    const Case cases[] = {
        { 0, 0, 2, "Drive", "PreFX Drive", 234, 100, "100" },
        { 0, 1, 2, "Frequency", "PreFX Freq", 234, 100, "100" },
        { 0, 2, 2, "Frequency", "PreFX Freq", 234, 100, "100" },
        { 0, 5, 2, "Drive", "PreFX Drive", 234, 100, "H36" }, // tone: "L63" .. "Flat" .. "H63"
        { 0, 5, 2, "Drive", "PreFX Drive", 234, 1, "L63" },
        { 3, 0, 5, "Depth", "ModFX Depth", 237, 3, "003" },
        { 3, 5, 6, "Speed", "ModFX Speed", 238, 127, "127" },
        { 7, 0, 9, "Depth", "Rev/Delay Depth", 241, 9, "009" },
        { 7, 3, 10, "Time", "Rev/Delay Time", 242, 64, "064" },
        { 7, 4, 10, "Time", "Rev/Delay Time", 242, 9, "1/32" }, // the delays count in notes
        { 7, 5, 10, "Time", "Rev/Delay Time", 242, 0, "1/32" },
        { 7, 5, 10, "Time", "Rev/Delay Time", 242, 10, "1/16" },
        { 7, 5, 10, "Time", "Rev/Delay Time", 242, 64, "3/16" },
        { 7, 5, 10, "Time", "Rev/Delay Time", 242, 117, "3/8" },
        { 7, 5, 10, "Time", "Rev/Delay Time", 242, 127, "1/2" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "type sub " << c.typeSub << " type " << c.type << " value " << c.stored);
        auto record = makeInitRecord();
        set (record, 6, c.typeSub, c.type);
        UserParameterDescriptor d;
        ASSERT_TRUE (descriptor::GetDescriptor (&record, id (6, c.controlSub), d));
        EXPECT_STREQ (c.name, d.name);
        EXPECT_STREQ (c.qualifiedName, d.qualifiedName);
        set (record, 6, c.controlSub, c.stored);
        EXPECT_EQ (c.stored, record.bytes[c.recordByte]);
        EXPECT_EQ (c.text, text (record, 6, c.controlSub));
        EXPECT_TRUE (IsParameterEnabled (&record, id (6, c.controlSub)));
    }

    // A stored type beyond the six known ones leaves its controls without a descriptor.
    auto record = makeInitRecord();
    record.bytes[232] = 6;
    record.bytes[235] = 0x80; // sign bit set: not a known type either
    record.bytes[239] = 100;
    for (int sub : { 2, 5, 6, 9, 10 })
    {
        UserParameterDescriptor d;
        EXPECT_FALSE (descriptor::GetDescriptor (&record, id (6, sub), d)) << "sub " << sub;
        EXPECT_EQ ("", text (record, 6, sub));
    }
    EXPECT_EQ ("Tone", text (record, 6, 0)); // the type itself is clamped for display
}

//==============================================================================
TEST (ParameterAccess, RulesOfParametersInEffect)
{
    struct Case
    {
        const char* what;
        std::vector<std::vector<int>> writes; // main, sub, value
        int mainID, subID;
        bool enabled;
    };
    const Case cases[] = {
        { "Timbre B channel, single", {}, 0, 14, false },
        { "Timbre B channel, layer", { { 0, 13, 1 } }, 0, 14, true },
        { "Split key, layer", { { 0, 13, 1 } }, 0, 15, false },
        { "Split key, split", { { 0, 13, 2 } }, 0, 15, true },
        { "Unison detune, unison off", {}, 2, 2, false },
        { "Unison spread, unison 2", { { 2, 1, 1 } }, 2, 3, true },
        { "Unison of timbre B follows timbre B", { { 2, 1, 1 } }, 4, 3, false },
        { "Osc1 semitone, saw", {}, 2, 13, true },
        { "Osc1 tune, off", { { 2, 12, 0 } }, 2, 14, false },
        { "Osc2 semitone, PCM", { { 2, 17, 126 } }, 2, 18, true },
        { "Osc3 tune, mic input", { { 2, 22, 127 } }, 2, 24, false },
        { "Osc3 tune, QXRM", { { 4, 22, 40 } }, 4, 24, true },
        { "Filter LFO frequency, free", {}, 2, 53, true },
        { "Filter LFO sync note, free", {}, 2, 56, false },
        { "Filter LFO frequency, synced", { { 2, 55, 1 } }, 2, 53, false },
        { "Filter LFO sync note, synced", { { 2, 55, 1 } }, 2, 56, true },
        { "Pitch LFO sync note, synced", { { 4, 60, 1 } }, 4, 61, true },
        { "Pitch LFO frequency, synced", { { 4, 60, 1 } }, 4, 58, false },
        { "Vocoder level, vocoder off", {}, 7, 1, false },
        { "Vocoder wet level, vocoder on", { { 7, 0, 1 } }, 7, 33, true },
        { "Vocoder switch itself", {}, 7, 0, true },
        { "Step 5, last step 4", { { 8, 9, 4 } }, 8, 15, false },
        { "Step 5, last step 5", { { 8, 9, 5 } }, 8, 15, true },
        { "Step 1, last step 1", { { 8, 9, 1 } }, 8, 11, true },
        { "Step 8, last step 7", { { 8, 9, 7 } }, 8, 18, false },
        { "Step 8, last step 8", { { 8, 9, 8 } }, 8, 18, true },
        { "Category", {}, 0, 12, true },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto record = makeInitRecord();
        for (const auto& w : c.writes)
            set (record, w[0], w[1], w[2]);
        EXPECT_EQ (c.enabled, IsParameterEnabled (&record, id (c.mainID, c.subID)));
    }
}

TEST (ParameterAccess, TimbresShareTheirTablesAtDifferentStarts)
{
    auto record = makeInitRecord();
    for (int sub = 0; sub < GetNumSubIDs (2); ++sub)
    {
        UserParameterDescriptor a, b;
        ASSERT_TRUE (descriptor::GetDescriptor (&record, id (2, sub), a));
        ASSERT_TRUE (descriptor::GetDescriptor (&record, id (4, sub), b));
        EXPECT_STREQ (a.name, b.name);
        EXPECT_EQ (a.byteOffset, b.byteOffset);
    }
    EXPECT_EQ (GetNumSubIDs (3), GetNumSubIDs (5));

    set (record, 2, 30, 5);
    set (record, 4, 30, 17);
    EXPECT_EQ (5, record.bytes[16 + 39]);
    EXPECT_EQ (17, record.bytes[124 + 39]);
    set (record, 3, 0, 11);
    set (record, 5, 0, 4);
    EXPECT_EQ (11, record.bytes[100]);
    EXPECT_EQ (4, record.bytes[208]);
    EXPECT_EQ ("LPF ZR-40", text (record, 2, 30));
    EXPECT_EQ ("BPF+ Tarn", text (record, 4, 30));
    EXPECT_EQ ("MIDI3", text (record, 3, 0));
    EXPECT_EQ ("Velocity", text (record, 5, 0));
}

TEST (ParameterAccess, OscillatorCategories)
{
    const std::pair<int, int> cases[] = { { -1, -1 }, { 0, -1 }, { 1, 0 }, { 32, 0 }, { 33, 1 }, { 96, 1 },
                                          { 97, 2 }, { 126, 2 }, { 127, 3 }, { 128, -1 }, { 255, -1 } };
    for (const auto& [type, category] : cases)
        EXPECT_EQ (category, GetOSCCategory (type)) << "type " << type;
}

TEST (ParameterAccess, DescriptorTablesStayInsideTheirAreas)
{
    // Every plain row's bytes lie inside its area, and no two parameters of one area
    // share a bit.
    for (int mainID = 0; mainID < NumProgramAreas; ++mainID)
    {
        std::vector<std::uint32_t> usedBits (UserDataInfoTable[mainID].size, 0);
        for (int sub = 0; sub < GetNumSubIDs (mainID); ++sub)
        {
            SCOPED_TRACE (testing::Message() << "main " << mainID << " sub " << sub);
            const auto& d = descriptor::ProgramDescriptorTables[mainID].rows[sub];
            ASSERT_LE (d.byteOffset + d.byteCount, UserDataInfoTable[mainID].size);
            ASSERT_LE (d.bitOffset + d.bitWidth, 8 * d.byteCount);
            const int shift = 8 * d.byteCount - d.bitOffset - d.bitWidth;
            const std::uint32_t mask = ((1u << d.bitWidth) - 1u) << shift;
            for (int i = 0; i < d.byteCount; ++i)
            {
                const auto bits = (mask >> (8 * i)) & 0xFFu;
                EXPECT_EQ (0u, usedBits[(size_t) (d.byteOffset + i)] & bits);
                usedBits[(size_t) (d.byteOffset + i)] |= bits;
            }
        }
    }
}

TEST (ParameterAccess, ConversionOutsideTheTableLeavesValuesAlone)
{
    UserParameterDescriptor d = descriptor::ProgramDescriptorsTable_Vocoder[8]; // formant shift
    EXPECT_EQ (-2, convert::InternalValueToValue (d, 0));
    EXPECT_EQ (2, convert::InternalValueToValue (d, 9)); // clamped to 4 first
    EXPECT_EQ (0, convert::ValueToInternalValue (d, -2));
    EXPECT_EQ (4, convert::ValueToInternalValue (d, 5)); // 7, clamped
    EXPECT_EQ (0, convert::ValueToInternalValue (d, -9));

    d.clipType = 85;
    EXPECT_EQ (500, convert::InternalValueToValue (d, 500));
    EXPECT_EQ (-500, convert::ValueToInternalValue (d, -500));
    EXPECT_EQ ("", convert::InternalValueToString (d, 3));
    d.clipType = -1;
    EXPECT_EQ (500, convert::InternalValueToValue (d, 500));
    EXPECT_EQ ("", convert::InternalValueToString (d, 3));

    auto record = makeInitRecord();
    set (record, 7, 8, 4);
    EXPECT_EQ (2, GetParameterValue (&record, id (7, 8)));
    EXPECT_EQ ("+2", text (record, 7, 8));
    set (record, 7, 8, 2);
    EXPECT_EQ (0, GetParameterValue (&record, id (7, 8)));
    EXPECT_EQ ("+0", text (record, 7, 8));
}
