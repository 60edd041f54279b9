#include "data/parameter/DescriptorTables.h"
#include "data/parameter/UserParameter.h"
#include "data/parameter/ValueConversion.h"

#include <gtest/gtest.h>

#include <string>

using namespace userparameter;

namespace
{
// The text of an internal value stored in a fresh init program.
std::string textOf (int mainID, int subID, int internalValue)
{
    ::ProgramData record;
    InitData (&record);
    const UserParameterID id { (std::int16_t) mainID, (std::int16_t) subID };
    UserParameterDescriptor d;
    if (! descriptor::GetDescriptor (&record, id, d))
        return "(no descriptor)";
    // Write the raw field directly, so that out-of-range stored values can be tested too.
    auto wide = d;
    wide.minimum = -32768;
    wide.maximum = 32767;
    descriptor::SetParameter (record.bytes, id, wide, (std::int16_t) internalValue);
    return GetParameterValueString (&record, id);
}

struct TextCase
{
    int mainID, subID, internalValue;
    const char* text;
};

void expectTexts (std::initializer_list<TextCase> cases)
{
    for (const auto& c : cases)
        EXPECT_EQ (c.text, textOf (c.mainID, c.subID, c.internalValue))
            << "main " << c.mainID << " sub " << c.subID << " value " << c.internalValue;
}
} // namespace

TEST (ValueFormatting, NumberFormats)
{
    struct Case
    {
        int value, digits;
        const char* plain;
        const char* withSign;
    };
    const Case cases[] = {
        { 5, 3, "005", "+005" }, { -5, 3, "-05", "-005" }, { 0, 2, "00", "+00" },  { 5, 2, "05", "+05" },
        { -12, 2, "-12", "-12" }, { 3, 1, "3", "+3" },     { -2, 1, "-2", "-2" },   { 127, 2, "127", "+127" },
        { 32767, 5, "32767", "+32767" }, { 0, 5, "00000", "+00000" }, { -100, 3, "-100", "-100" },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (c.plain, convert::FormatDecimal (c.value, c.digits)) << c.value << " in " << c.digits;
        EXPECT_EQ (c.withSign, convert::FormatSignedDecimal (c.value, c.digits)) << c.value << " in " << c.digits;
    }

    expectTexts ({
        { 2, 2, 7, "07" }, // unison detune, 2 digits
        { 2, 10, 5, "005" }, // portamento time, 3 digits
        { 8, 1, 20, "020" }, // tempo
        { 8, 1, 300, "300" },
        { 7, 14, 1234, "01234" }, // formant hold data, 5 digits
        { 8, 9, 8, "8" }, // last step, 1 digit
        { 8, 10, 4, "4" },
        { 2, 4, -48, "-48" }, // transpose
        { 2, 13, 0, "+00" }, // semitone
        { 2, 8, -12, "-12" }, // bend range
        { 2, 6, 63, "+63" },
        { 7, 8, 0, "-2" }, // formant shift shows internal - 2
        { 7, 8, 2, "+0" },
        { 7, 8, 4, "+2" },
        { 0, 0, 73, "I" }, // name characters
        { 0, 5, 125, "}" },
    });
}

TEST (ValueFormatting, FirstAndLastEntryOfEveryList)
{
    expectTexts ({
        { 0, 12, 0, "Synth" },        { 0, 12, 7, "SE/Voc" },      { 0, 12, 8, "User" },
        { 0, 12, 9, "User" }, // clamped into the range
        { 0, 13, 0, "Single" },       { 0, 13, 2, "Split" },       { 1, 0, 0, "Norm" },
        { 1, 0, 2, "Deep" }, // the range ends before the last list entry
        { 2, 0, 0, "Mono1" },         { 2, 0, 2, "Poly" },         { 2, 1, 0, "Off" },
        { 2, 1, 3, "4" },             { 2, 30, 0, "LPF Tarn 1" },  { 2, 30, 5, "LPF ZR-40" },
        { 2, 30, 17, "BPF+ Tarn" },   { 2, 52, 0, "Saw" },         { 2, 52, 4, "Random" },
        { 2, 57, 1, "Square+" },      { 2, 57, 4, "Random" },      { 2, 53, 0, "000.01Hz" },
        { 2, 53, 24, "000.25Hz" },    { 2, 53, 25, "000.29Hz" },   { 2, 58, 127, "100.00Hz" },
        { 2, 54, 0, "Off" },          { 2, 54, 2, "Voice" },       { 2, 56, 0, "8meas" },
        { 2, 56, 16, "1/64" },        { 3, 0, 0, "EG1" },          { 3, 0, 11, "MIDI3" },
        { 3, 1, 0, "Off" },           { 3, 1, 41, "R/D Time" },    { 7, 11, 0, "EG1" },
        { 7, 11, 11, "MIDI3" },       { 6, 1, 0, "Off" },          { 6, 1, 3, "A&B" },
        { 6, 0, 0, "Distortion" },    { 6, 0, 5, "Tone" },         { 6, 3, 0, "Flanger" },
        { 6, 3, 5, "Rotary" },        { 6, 7, 0, "Hall" },         { 6, 7, 5, "BPM Delay" },
        { 7, 3, 0, "Input" },         { 7, 3, 1, "TimbreB" },      { 8, 4, 0, "TimbreA" },
        { 8, 4, 2, "TimbreA+B" },     { 8, 5, 0, "Up" },           { 8, 5, 5, "Trigger" },
        { 8, 6, 0, "1/32" },          { 8, 6, 8, "1/1" },
    });
    EXPECT_STREQ ("Adpt", convert::strdata_KeyResponse[3]);
}

TEST (ValueFormatting, OscillatorTypes)
{
    expectTexts ({
        { 2, 12, 0, "Off" },
        { 2, 12, 1, "[ANLG] Saw" },
        { 2, 12, 32, "[ANLG] VPM Sine" },
        { 2, 17, 33, "[QXRM] Syn Sine 1" },
        { 2, 17, 96, "[QXRM] Syn Vox 2" },
        { 4, 22, 97, "[PCM] A.Piano" },
        { 4, 22, 126, "[PCM] E.Bass 3" },
        { 4, 12, 127, "[MIC] Mic In" },
        { 2, 12, 255, "[MIC] Mic In" }, // clamped into 0 to 127
    });
    EXPECT_EQ ("Invalid!", convert::val2str_OSCType (128));
    EXPECT_EQ ("Invalid!", convert::val2str_OSCType (-1));
}

TEST (ValueFormatting, PanAndTone)
{
    expectTexts ({
        { 2, 39, 64, "Center" },
        { 2, 39, 100, "R36" },
        { 2, 39, 10, "L54" },
        { 2, 39, 0, "L63" },
        { 2, 39, 1, "L63" },
        { 2, 39, 63, "L01" },
        { 2, 39, 65, "R01" },
        { 4, 39, 127, "R63" },
    });
    EXPECT_EQ ("Flat", convert::val2str_PreFxTone (64));
    EXPECT_EQ ("L63", convert::val2str_PreFxTone (0));
    EXPECT_EQ ("H63", convert::val2str_PreFxTone (127));
}

TEST (ValueFormatting, NoteAndChannel)
{
    expectTexts ({
        { 0, 15, 0, "C -1" },
        { 0, 15, 11, "B -1" },
        { 0, 15, 12, "C 0" },
        { 0, 15, 60, "C 4" },
        { 0, 15, 61, "C#4" },
        { 0, 15, 127, "G 9" },
        { 0, 14, 0, "Global" },
        { 0, 14, 1, "01" },
        { 0, 14, 16, "16" },
        { 0, 14, 17, "16" },
    });
}

TEST (ValueFormatting, CentsAndKeyTracking)
{
    expectTexts ({
        { 2, 5, 5, "+05 cent" },
        { 2, 5, -50, "-50 cent" },
        { 2, 5, 0, "+00 cent" },
        { 2, 7, 0, "+0000 cent" },
        { 2, 7, 5, "+0005 cent" },
        { 2, 7, -63, "-2400 cent" },
        { 2, 7, 48, "+1200 cent" },
        { 2, 36, 0, "+0.00" },
        { 2, 36, 63, "+2.00" },
        { 2, 36, -12, "-0.25" },
        { 2, 36, 1, "+0.02" },
        { 2, 36, -49, "-1.06" },
    });
    EXPECT_EQ ("-2400 cent", convert::val2str_VibratoInt (-100)); // its own clamp
    EXPECT_EQ ("+2.00", convert::val2str_FilterKeyTrk (90));
}

TEST (ValueFormatting, ArpeggiatorAndVocoderTexts)
{
    expectTexts ({
        { 8, 7, 75, "075%" },
        { 8, 7, 0, "000%" },
        { 8, 7, 100, "100%" },
        { 8, 7, 120, "100%" },
        { 8, 8, -50, "-050%" },
        { 8, 8, 0, "+000%" },
        { 8, 8, 100, "+100%" },
        { 8, 8, -100, "-100%" },
        { 8, 0, 0, "Off" },
        { 8, 0, 1, "On" },
        { 8, 11, 1, "On" },
        { 7, 7, 0, "Disable" },
        { 7, 7, 1, "Enable" },
        { 7, 13, 0, "000" },
        { 7, 13, 126, "126" },
        { 7, 13, 127, "Hold" },
    });
}

TEST (ValueFormatting, DelayTimeInNotes)
{
    const std::pair<int, const char*> cases[] = {
        { 0, "1/32" },  { 9, "1/32" },  { 10, "1/16" }, { 27, "1/16" }, { 28, "1/8" },  { 46, "1/6" },
        { 63, "1/6" },  { 64, "3/16" }, { 82, "1/4" },  { 100, "3/8" }, { 117, "3/8" }, { 118, "1/2" },
        { 127, "1/2" }, { -5, "1/32" }, { 200, "1/2" },
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ (expected, convert::val2str_BPMDelayTime ((std::int16_t) value)) << value;
}

TEST (ValueFormatting, ModulationHarmonics)
{
    EXPECT_EQ ("0.5", convert::val2str_ModHarmonics (0));
    EXPECT_EQ ("1", convert::val2str_ModHarmonics (1));
    EXPECT_EQ ("32", convert::val2str_ModHarmonics (32));
}

TEST (ValueFormatting, EveryConversionRowOfAProgramParameterShowsText)
{
    // Every parameter that has bytes shows a non-empty text for every value of its range.
    ::ProgramData record;
    InitData (&record);
    for (int mainID = 0; mainID < NumProgramAreas; ++mainID)
        for (int sub = 0; sub < GetNumSubIDs (mainID); ++sub)
        {
            const auto& d = descriptor::ProgramDescriptorTables[mainID].rows[sub];
            for (int v = d.minimum; v <= d.maximum; v += (d.maximum > 1000 ? 997 : 1))
                EXPECT_FALSE (convert::InternalValueToString (d, (std::int16_t) v).empty())
                    << "main " << mainID << " sub " << sub << " value " << v;
        }
}
