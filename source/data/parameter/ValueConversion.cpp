#include "data/parameter/ValueConversion.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace userparameter::convert
{
// clang-format off
const char* const strdata_Category[] = {
    "Synth", "Lead", "Bass", "Brass", "Strings", "Piano", "Key", "SE/Voc", "User",
};

const char* const strdata_VoiceMode[] = {
    "Single", "Layer", "Split",
};

const char* const strdata_KeyResponse[] = {
    "Norm", "Shlw", "Deep", "Adpt",
};

const char* const strdata_VoiceAssign[] = {
    "Mono1", "Mono2", "Poly",
};

const char* const strdata_UnisonSW[] = {
    "Off", "2", "3", "4",
};

const char* const strdata_FilterType[] = {
    "LPF Tarn 1", "LPF Tarn 2", "LPF MG", "LPF P5", "LPF OB", "LPF ZR-40", "LPF Acid", "HPF Tarn", "HPF P5",
    "HPF OB", "HPF ZR-40", "HPF Acid", "BPF Tarn", "BPF P5", "BPF OB", "BPF ZR-40", "BPF Acid", "BPF+ Tarn",
};

const char* const strdata_LFO1Wave[] = {
    "Saw", "Square", "Triangle", "S&H", "Random",
};

const char* const strdata_LFO2Wave[] = {
    "Saw", "Square+", "Sine", "S&H", "Random",
};

const char* const strdata_LFOKeySync[] = {
    "Off", "Timbre", "Voice",
};

const char* const strdata_LFOSyncNote[] = {
    "8meas", "4meas", "2meas", "1/1", "3/4", "1/2", "3/8", "1/3", "1/4", "3/16", "1/6", "1/8", "1/12", "1/16",
    "1/24", "1/32", "1/64",
};

const char* const strdata_VPSrc[] = {
    "EG1", "EG2", "LFO1", "LFO2", "Velocity", "PitchBend", "JS+Y", "JS-Y", "KeyTrack", "MIDI1", "MIDI2",
    "MIDI3",
};

const char* const strdata_VPDest[] = {
    "Off", "Pitch", "Portamento", "Osc1Tune", "Osc2Tune", "Osc3Tune", "Osc1Ctr1", "Osc2Ctr1", "Osc3Ctr1",
    "Osc1Ctr2", "Osc2Ctr2", "Osc3Ctr2", "Osc1Level", "Osc2Level", "Osc3Level", "Cutoff", "Resonance",
    "FcEG1Int", "FcKeyTrk", "EG1Attack", "EG1Decay", "EG1Sustain", "EG1Release", "EG2Attack", "EG2Decay",
    "EG2Sustain", "EG2Release", "LFO1Freq", "LFO2Freq", "AmpLevel", "Panpot", "Patch1Int", "Patch2Int",
    "Patch3Int", "Patch4Int", "Patch5Int", "Patch6Int", "Pre Drive", "Mod Depth", "Mod Speed", "R/D Depth",
    "R/D Time",
};

const char* const strdata_FxSW[] = {
    "Off", "A", "B", "A&B",
};

const char* const strdata_Fx1Type[] = {
    "Distortion", "Decimator", "Ring Mod", "EP.Amp", "GT.Amp", "Tone",
};

const char* const strdata_Fx2Type[] = {
    "Flanger", "Chorus", "U-Vibe", "Tremolo", "Phaser", "Rotary",
};

const char* const strdata_Fx3Type[] = {
    "Hall", "Room", "Plate", "Tape Echo", "Mod Delay", "BPM Delay",
};

const char* const strdata_VocoderAudioSrc[] = {
    "Input", "TimbreB",
};

const char* const strdata_ArpTimbreAssign[] = {
    "TimbreA", "TimbreB", "TimbreA+B",
};

const char* const strdata_ArpType[] = {
    "Up", "Down", "Alt1", "Alt2", "Random", "Trigger",
};

const char* const strdata_ArpResolution[] = {
    "1/32", "1/24", "1/16", "1/12", "1/8", "1/6", "1/4", "1/2", "1/1",
};

const char* const strdata_LFOFreq[] = {
    "000.01Hz", "000.02Hz", "000.03Hz", "000.04Hz", "000.05Hz", "000.06Hz", "000.07Hz", "000.08Hz",
    "000.09Hz", "000.10Hz", "000.11Hz", "000.12Hz", "000.13Hz", "000.14Hz", "000.15Hz", "000.16Hz",
    "000.17Hz", "000.18Hz", "000.19Hz", "000.20Hz", "000.21Hz", "000.22Hz", "000.23Hz", "000.24Hz",
    "000.25Hz", "000.29Hz", "000.33Hz", "000.42Hz", "000.50Hz", "000.58Hz", "000.67Hz", "000.75Hz",
    "000.83Hz", "000.92Hz", "001.00Hz", "001.13Hz", "001.25Hz", "001.38Hz", "001.50Hz", "001.63Hz",
    "001.75Hz", "001.88Hz", "002.00Hz", "002.13Hz", "002.25Hz", "002.38Hz", "002.50Hz", "002.63Hz",
    "002.75Hz", "002.88Hz", "003.00Hz", "003.13Hz", "003.25Hz", "003.38Hz", "003.50Hz", "003.63Hz",
    "003.75Hz", "003.88Hz", "004.00Hz", "004.13Hz", "004.25Hz", "004.38Hz", "004.50Hz", "004.63Hz",
    "004.75Hz", "004.88Hz", "005.00Hz", "005.25Hz", "005.50Hz", "005.75Hz", "006.00Hz", "006.25Hz",
    "006.50Hz", "006.75Hz", "007.00Hz", "007.25Hz", "007.50Hz", "007.75Hz", "008.00Hz", "008.25Hz",
    "008.50Hz", "008.75Hz", "009.00Hz", "009.25Hz", "009.50Hz", "009.75Hz", "010.00Hz", "010.50Hz",
    "011.00Hz", "011.50Hz", "012.00Hz", "012.50Hz", "013.00Hz", "013.50Hz", "014.00Hz", "014.50Hz",
    "015.00Hz", "016.00Hz", "017.00Hz", "018.00Hz", "019.00Hz", "020.00Hz", "021.50Hz", "023.00Hz",
    "024.50Hz", "026.00Hz", "027.50Hz", "029.00Hz", "031.00Hz", "033.00Hz", "035.00Hz", "037.00Hz",
    "039.00Hz", "041.00Hz", "044.00Hz", "047.00Hz", "050.00Hz", "053.00Hz", "057.00Hz", "061.00Hz",
    "065.00Hz", "070.00Hz", "075.00Hz", "080.00Hz", "085.00Hz", "090.00Hz", "095.00Hz", "100.00Hz",
};

const char* const strdata_OSCTypeAnalog[] = {
    "Saw", "Pulse", "Triangle", "Sine", "White Noise", "Pink Noise", "Blue Noise", "Res. Noise", "Dual Saw",
    "Dual Square", "Dual Tri.", "Dual Sine", "Unison Saw", "Unison Squ.", "Unison Tri.", "Unison Sine",
    "Sync Saw", "Sync Square", "Sync Tri.", "Sync Sine", "Ring Saw", "Ring Square", "Ring Tri.", "Ring Sine",
    "XMod Saw", "XMod Square", "XMod Tri.", "XMod Sine", "VPM Saw", "VPM Square", "VPM Tri.", "VPM Sine",
};

const char g_VsNameTable[NumWaveNames][12] = {
    "Syn Sine 1", "Syn Sine 2", "Syn Sine 3", "Syn Sine 4", "Syn Sine 5", "Syn Sine 6", "Syn Sine 7",
    "Syn Sine 8", "Syn Sine 9", "Syn Wave 1", "Syn Wave 2", "Syn Wave 3", "Syn Wave 4", "Syn Wave 5",
    "Syn Wave 6", "Syn Wave 7", "Syn Wire 1", "Syn Wire 2", "Syn Wire 3", "Syn Wire 4", "5th Saw",
    "5th Square", "Inharm 1", "Inharm 2", "Inharm 3", "Inharm 4", "Inharm 5", "Inharm 6", "Inharm 7",
    "Inharm 8", "Inharm 9", "Digital 1", "Digital 2", "Digital 3", "Digital 4", "Digital 5", "Digital 6",
    "Digital 7", "Digital 8", "Digital 9", "E.Piano 1", "E.Piano 2", "E.Piano 3", "E.Piano 4", "Organ 1",
    "Organ 2", "Organ 3", "Organ 4", "Organ 5", "Organ 6", "Organ 7", "Clav 1", "Clav 2", "Guitar 1",
    "Guitar 2", "E.Bass 1", "E.Bass 2", "E.Bass 3", "Bell 1", "Bell 2", "Bell 3", "Bell 4", "Syn Vox 1",
    "Syn Vox 2", "A.Piano", "E.Grand", "Tine EP", "Dyno EP", "Wurly EP", "Clav 1", "Clav 2", "Organ 1",
    "Organ 2", "Organ 3", "Z7 Organ", "Vox Organ", "Marimba", "Bell 1", "Bell 2", "Tape Flute", "Brass 1",
    "Brass 2", "Trumpet", "Strings", "Tape Str.", "Choir 1", "Choir 2", "Choir 3", "A.Guitar", "E.Guitar",
    "A.Bass", "E.Bass 1", "E.Bass 2", "E.Bass 3",
};

const std::int16_t vibratoint_tbl[64] = {
    0, 1, 2, 3, 4, 5, 10, 15, 20, 25, 30, 40, 60, 80, 100, 120, 160, 200, 260, 320, 380, 440, 500, 550, 600, 625, 650, 675, 700, 725, 750, 775, 800, 825, 850, 875, 900, 925, 950, 975, 1000, 1025, 1050, 1075, 1100, 1125, 1150, 1175, 1200, 1280, 1360, 1440, 1520, 1600, 1680, 1760, 1840, 1920, 2000, 2080, 2160, 2240, 2320, 2400,
};

const std::int16_t filtkeytrk_strtbl[64] = {
    0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 25, 27, 29, 31, 33, 35, 37, 39, 41, 43, 45, 47, 50, 52, 54, 56, 58, 60, 62, 64, 66, 68, 70, 72, 75, 77, 79, 81, 83, 85, 87, 89, 91, 93, 95, 97, 100, 106, 113, 120, 126, 133, 140, 146, 153, 160, 166, 173, 180, 186, 193, 200,
};

// clang-format on

//==============================================================================
std::string FormatDecimal (int value, int digits)
{
    char text[16];
    std::snprintf (text, sizeof (text), "%0*d", digits, value);
    return text;
}

std::string FormatSignedDecimal (int value, int digits)
{
    char text[16];
    std::snprintf (text, sizeof (text), "%+0*d", digits + 1, value);
    return text;
}

namespace
{
    std::int16_t clampValue (int value, int minimum, int maximum)
    {
        return (std::int16_t) std::clamp (value, minimum, maximum);
    }

    // "L63" ... "Center" ... "R63" for pan; the pre-effect tone names its ends differently.
    std::string formatBalance (std::int16_t value, const char* centre, const char* below, const char* above)
    {
        if (value == 64)
            return centre;
        if (value < 64)
            return below + FormatDecimal (std::min (64 - value, 63), 2);
        return above + FormatDecimal (std::min (value - 64, 63), 2);
    }

    std::string signText (int value)
    {
        return value < 0 ? "-" : "+";
    }

    std::int16_t identity (std::int16_t value)
    {
        return value;
    }

    std::int16_t formantShiftToValue (std::int16_t internalValue)
    {
        return (std::int16_t) (internalValue - 2);
    }

    std::int16_t formantShiftToInternal (std::int16_t value)
    {
        return (std::int16_t) (value + 2);
    }

    std::string decimal1 (std::int16_t value) { return FormatDecimal (value, 1); }
    std::string decimal2 (std::int16_t value) { return FormatDecimal (value, 2); }
    std::string decimal3 (std::int16_t value) { return FormatDecimal (value, 3); }
    std::string decimal5 (std::int16_t value) { return FormatDecimal (value, 5); }
    std::string signedDecimal1 (std::int16_t value) { return FormatSignedDecimal (value, 1); }
    std::string signedDecimal2 (std::int16_t value) { return FormatSignedDecimal (value, 2); }

    constexpr ClipTypeFunctions none {};

    constexpr ClipTypeFunctions format (FormatFunction function)
    {
        return { nullptr, nullptr, function, nullptr, 0 };
    }

    constexpr ClipTypeFunctions convertAndFormat (ToValueFunction toValue, ToInternalFunction toInternal,
                                                  FormatFunction function)
    {
        return { toValue, toInternal, function, nullptr, 0 };
    }

    template <size_t N>
    constexpr ClipTypeFunctions list (const char* const (&texts)[N])
    {
        return { nullptr, nullptr, nullptr, texts, (int) N };
    }
} // namespace

//==============================================================================
std::string val2str_string (std::int16_t value)
{
    return std::string (1, (char) value);
}

std::string val2str_TimbBCh (std::int16_t value)
{
    return value == 0 ? std::string ("Global") : FormatDecimal (value, 2);
}

std::string val2str_SplitKey (std::int16_t value)
{
    static const char* const noteNames[] = { "C ", "C#", "D ", "D#", "E ", "F ", "F#", "G ", "G#", "A ", "A#", "B " };
    const auto key = std::max<int> (value, 0);
    return noteNames[key % 12] + std::to_string (key / 12 - 1);
}

std::string val2str_PitchDetune (std::int16_t value)
{
    return FormatSignedDecimal (value, 2) + " cent";
}

std::string val2str_VibratoInt (std::int16_t value)
{
    const auto v = clampValue (value, -63, 63);
    return signText (v) + FormatDecimal (vibratoint_tbl[std::abs (v)], 4) + " cent";
}

std::string val2str_OSCType (std::int16_t value)
{
    if (value == 0)
        return "Off";
    if (value >= 1 && value <= 32)
        return std::string ("[ANLG] ") + strdata_OSCTypeAnalog[value - 1];

    const auto waveName = [] (int type) {
        const auto* entry = g_VsNameTable[type - 33];
        return std::string (entry, strnlen (entry, sizeof (g_VsNameTable[0])));
    };
    if (value >= 33 && value <= 96)
        return "[QXRM] " + waveName (value);
    if (value >= 97 && value <= 126)
        return "[PCM] " + waveName (value);
    if (value == 127)
        return "[MIC] Mic In";
    return "Invalid!";
}

std::string val2str_ModHarmonics (std::int16_t value)
{
    return value == 0 ? std::string ("0.5") : std::to_string (value);
}

std::string val2str_FilterKeyTrk (std::int16_t value)
{
    const auto v = clampValue (value, -63, 63);
    const int hundredths = filtkeytrk_strtbl[std::abs (v)];
    return signText (v) + std::to_string (hundredths / 100) + "." + FormatDecimal (hundredths % 100, 2);
}

std::string val2str_Pan (std::int16_t value)
{
    return formatBalance (value, "Center", "L", "R");
}

std::string val2str_PreFxTone (std::int16_t value)
{
    return formatBalance (value, "Flat", "L", "H");
}

std::string val2str_BPMDelayTime (std::int16_t value)
{
    static const int thresholds[] = { 10, 28, 46, 64, 82, 100, 118, 128 };
    static const char* const texts[] = { "1/32", "1/16", "1/8", "1/6", "3/16", "1/4", "3/8", "1/2" };
    const auto v = clampValue (value, 0, 127);
    const auto count = std::count_if (std::begin (thresholds), std::end (thresholds), [v] (int t) { return t <= v; });
    return texts[count];
}

std::string val2str_DisableEnable (std::int16_t value)
{
    return value == 0 ? "Disable" : "Enable";
}

std::string val2str_VocoderEFSens (std::int16_t value)
{
    return value == 127 ? std::string ("Hold") : FormatDecimal (value, 3);
}

std::string val2str_ArpGateTime (std::int16_t value)
{
    return FormatDecimal (value, 3) + "%";
}

std::string val2str_ArpSwing (std::int16_t value)
{
    return FormatSignedDecimal (value, 3) + "%";
}

std::string val2str_OnOff (std::int16_t value)
{
    return value == 0 ? "Off" : "On";
}

//==============================================================================
// Rows without entries belong to no program parameter.
const ClipTypeFunctions cliptype_function_table[NumClipTypes] = {
    none,                                                              // 0
    none,                                                              // 1
    format (decimal2),                                                 // 2
    none,                                                              // 3
    format (decimal3),                                                 // 4
    format (decimal5),                                                 // 5
    format (decimal1),                                                 // 6
    format (decimal1),                                                 // 7
    none,                                                              // 8
    format (signedDecimal2),                                           // 9
    format (signedDecimal2),                                           // 10
    format (signedDecimal2),                                           // 11
    none,                                                              // 12
    format (signedDecimal2),                                           // 13
    none,                                                              // 14
    convertAndFormat (formantShiftToValue, formantShiftToInternal, signedDecimal1), // 15
    format (decimal3),                                                 // 16
    none,                                                              // 17
    format (val2str_string),                                           // 18
    none,                                                              // 19
    list (strdata_Category),                                           // 20
    list (strdata_VoiceMode),                                          // 21
    format (val2str_TimbBCh),                                          // 22
    format (val2str_SplitKey),                                         // 23
    list (strdata_KeyResponse),                                        // 24
    list (strdata_VoiceAssign),                                        // 25
    list (strdata_UnisonSW),                                           // 26
    format (val2str_PitchDetune),                                      // 27
    format (val2str_VibratoInt),                                       // 28
    format (val2str_OSCType),                                          // 29
    format (val2str_ModHarmonics),                                     // 30
    list (strdata_FilterType),                                         // 31
    format (val2str_FilterKeyTrk),                                     // 32
    convertAndFormat (identity, identity, val2str_Pan),                // 33
    list (strdata_LFO1Wave),                                           // 34
    list (strdata_LFO2Wave),                                           // 35
    list (strdata_LFOFreq),                                            // 36
    list (strdata_LFOKeySync),                                         // 37
    list (strdata_LFOSyncNote),                                        // 38
    list (strdata_VPSrc),                                              // 39
    list (strdata_VPDest),                                             // 40
    list (strdata_FxSW),                                               // 41
    list (strdata_Fx1Type),                                            // 42
    list (strdata_Fx2Type),                                            // 43
    list (strdata_Fx3Type),                                            // 44
    convertAndFormat (identity, identity, val2str_PreFxTone),          // 45
    format (val2str_BPMDelayTime),                                     // 46
    list (strdata_VocoderAudioSrc),                                    // 47
    format (val2str_DisableEnable),                                    // 48
    list (strdata_VPSrc),                                              // 49
    format (val2str_VocoderEFSens),                                    // 50
    list (strdata_ArpTimbreAssign),                                    // 51
    list (strdata_ArpType),                                            // 52
    list (strdata_ArpResolution),                                      // 53
    format (val2str_ArpGateTime),                                      // 54
    format (val2str_ArpSwing),                                         // 55
    none, none, none, none, none, none, none, none, none, none,        // 56 to 65
    none, none, none, none, none, none, none, none, none, none,        // 66 to 75
    none, none, none, none, none, none, none, none,                    // 76 to 83
    format (val2str_OnOff),                                            // 84
};

//==============================================================================
namespace
{
    // Clip types outside the table leave values alone; negative ones are treated the same
    // way so that a stray descriptor can never index outside the table.
    const ClipTypeFunctions* findRow (const UserParameterDescriptor& descriptor)
    {
        if (descriptor.clipType < 0 || descriptor.clipType >= NumClipTypes)
            return nullptr;
        return &cliptype_function_table[descriptor.clipType];
    }
} // namespace

std::int16_t InternalValueToValue (const UserParameterDescriptor& descriptor, std::int16_t internalValue)
{
    const auto* row = findRow (descriptor);
    if (row == nullptr)
        return internalValue;
    const auto v = clampValue (internalValue, descriptor.minimum, descriptor.maximum);
    return row->toValue != nullptr ? row->toValue (v) : v;
}

std::int16_t ValueToInternalValue (const UserParameterDescriptor& descriptor, std::int16_t value)
{
    const auto* row = findRow (descriptor);
    if (row == nullptr)
        return value;
    const auto v = row->toInternal != nullptr ? row->toInternal (value) : value;
    return clampValue (v, descriptor.minimum, descriptor.maximum);
}

std::string InternalValueToString (const UserParameterDescriptor& descriptor, std::int16_t internalValue)
{
    const auto* row = findRow (descriptor);
    if (row == nullptr)
        return {};
    auto v = clampValue (internalValue, descriptor.minimum, descriptor.maximum);
    if (row->toValue != nullptr)
        v = row->toValue (v);
    if (row->format != nullptr)
        return row->format (v);
    if (row->texts != nullptr)
    {
        const auto index = v - descriptor.minimum;
        if (index >= 0 && index < row->numTexts)
            return row->texts[index];
    }
    return {};
}
} // namespace userparameter::convert
