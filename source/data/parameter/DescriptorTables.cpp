#include "data/parameter/DescriptorTables.h"

namespace userparameter::descriptor
{
namespace
{
    //==========================================================================
    // Enable rules. Each reads another parameter of the same area (same main ID).
    std::int16_t readSibling (const ::ProgramData* record, const UserParameterID& id, int subID)
    {
        return GetParameterValueInternal (record, UserParameterID { id.mainID, (std::int16_t) subID });
    }

    bool voiceModeIsNotSingle (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 13) != 0;
    }

    bool voiceModeIsSplit (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 13) == 2;
    }

    bool unisonIsOn (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 1) != 0;
    }

    // Semitone and Tune matter for every sounding oscillator type except the mic input.
    bool oscIsSounding (const ::ProgramData* record, const UserParameterID& id, int typeSubID)
    {
        const auto category = GetOSCCategory (readSibling (record, id, typeSubID));
        return category >= 0 && category <= 2;
    }

    bool osc1IsSounding (const ::ProgramData* record, const UserParameterID& id)
    {
        return oscIsSounding (record, id, 12);
    }

    bool osc2IsSounding (const ::ProgramData* record, const UserParameterID& id)
    {
        return oscIsSounding (record, id, 17);
    }

    bool osc3IsSounding (const ::ProgramData* record, const UserParameterID& id)
    {
        return oscIsSounding (record, id, 22);
    }

    bool filterLfoIsFree (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 55) == 0;
    }

    bool filterLfoIsSynced (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 55) != 0;
    }

    bool pitchLfoIsFree (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 60) == 0;
    }

    bool pitchLfoIsSynced (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 60) != 0;
    }

    bool vocoderIsOn (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 0) != 0;
    }

    // Step k (sub ID 10 + k) plays while the last step is at least k.
    bool stepIsInLastStep (const ::ProgramData* record, const UserParameterID& id)
    {
        return readSibling (record, id, 9) >= id.subID - 10;
    }

    // A control that the chosen oscillator or effect type does not have.
    bool never (const ::ProgramData*, const UserParameterID&)
    {
        return false;
    }

    //==========================================================================
    // Helpers that keep the table rows close to how the layout is documented.
    struct Range
    {
        std::int16_t minimum, maximum, centre;
        bool isSigned, isBipolar;
    };

    constexpr Range range (int minimum, int maximum)
    {
        return { (std::int16_t) minimum, (std::int16_t) maximum, 0, false, false };
    }

    // Two's complement, centred on 0.
    constexpr Range signedRange (int minimum, int maximum)
    {
        return { (std::int16_t) minimum, (std::int16_t) maximum, 0, true, true };
    }

    // Unsigned with a centre (pan).
    constexpr Range centredRange (int minimum, int maximum, int centre)
    {
        return { (std::int16_t) minimum, (std::int16_t) maximum, (std::int16_t) centre, false, true };
    }

    struct Field
    {
        std::uint16_t byteOffset;
        std::uint8_t byteCount, bitOffset, bitWidth;
    };

    constexpr Field byte1 (int byteOffset)
    {
        return { (std::uint16_t) byteOffset, 1, 0, 8 };
    }

    // A 16-bit little-endian field.
    constexpr Field byte2 (int byteOffset)
    {
        return { (std::uint16_t) byteOffset, 2, 0, 16 };
    }

    // One bit of a byte, bit 0 being the least significant.
    constexpr Field bit (int byteOffset, int bitNumber)
    {
        return { (std::uint16_t) byteOffset, 1, (std::uint8_t) (7 - bitNumber), 1 };
    }

    constexpr auto Number = UserParameterDescriptor::Number;
    constexpr auto Character = UserParameterDescriptor::Character;
    constexpr auto Text = UserParameterDescriptor::Text;
    constexpr auto Switch = UserParameterDescriptor::Switch;

    constexpr UserParameterDescriptor row (const char* name, const char* shortName, const char* qualifiedName,
                                           Range r, Field f, UserParameterDescriptor::ValueType valueType,
                                           int clipType, UserParameterEnableFunction enableFunction)
    {
        UserParameterDescriptor d;
        d.name = name;
        d.shortName = shortName;
        d.qualifiedName = qualifiedName;
        d.minimum = r.minimum;
        d.maximum = r.maximum;
        d.centre = r.centre;
        d.isBipolar = r.isBipolar;
        d.byteOffset = f.byteOffset;
        d.byteCount = f.byteCount;
        d.bitOffset = f.bitOffset;
        d.bitWidth = f.bitWidth;
        d.isSigned = r.isSigned;
        d.valueType = valueType;
        d.clipType = clipType;
        d.enableFunction = enableFunction;
        return d;
    }

    // A control of the variant tables. Oscillator controls are always in the Control1 or
    // Control2 byte of their oscillator; the lookup puts in the right one.
    constexpr UserParameterDescriptor control (const char* name, const char* shortName, const char* qualifiedName,
                                               Range r, Field f, UserParameterDescriptor::ValueType valueType,
                                               int clipType)
    {
        return row (name, shortName, qualifiedName, r, f, valueType, clipType, nullptr);
    }

    // A control that does not exist for its type: no bytes, no value, never in effect.
    constexpr UserParameterDescriptor noControl()
    {
        UserParameterDescriptor d;
        d.enableFunction = never;
        return d;
    }
} // namespace

// clang-format off
const UserParameterDescriptor ProgramDescriptorsTable_Common[NumCommonRows] = {
    row ("Program Name 1", "", "", range (32, 125), byte1 (0), Character, 18, nullptr), // 0
    row ("Program Name 2", "", "", range (32, 125), byte1 (1), Character, 18, nullptr), // 1
    row ("Program Name 3", "", "", range (32, 125), byte1 (2), Character, 18, nullptr), // 2
    row ("Program Name 4", "", "", range (32, 125), byte1 (3), Character, 18, nullptr), // 3
    row ("Program Name 5", "", "", range (32, 125), byte1 (4), Character, 18, nullptr), // 4
    row ("Program Name 6", "", "", range (32, 125), byte1 (5), Character, 18, nullptr), // 5
    row ("Program Name 7", "", "", range (32, 125), byte1 (6), Character, 18, nullptr), // 6
    row ("Program Name 8", "", "", range (32, 125), byte1 (7), Character, 18, nullptr), // 7
    row ("Program Name 9", "", "", range (32, 125), byte1 (8), Character, 18, nullptr), // 8
    row ("Program Name 10", "", "", range (32, 125), byte1 (9), Character, 18, nullptr), // 9
    row ("Program Name 11", "", "", range (32, 125), byte1 (10), Character, 18, nullptr), // 10
    row ("Program Name 12", "", "", range (32, 125), byte1 (11), Character, 18, nullptr), // 11
    row ("Category", "Category", "", range (0, 8), byte1 (12), Text, 20, nullptr), // 12
    row ("Voice Mode", "VoiceMode", "", range (0, 2), byte1 (13), Text, 21, nullptr), // 13
    row ("Timb.B MIDI Ch", "Timb B Ch", "", range (0, 16), byte1 (14), Text, 22, voiceModeIsNotSingle), // 14
    row ("Split Key", "Split Key", "", range (0, 127), byte1 (15), Text, 23, voiceModeIsSplit), // 15
};

const UserParameterDescriptor ProgramDescriptorsTable_Common2[NumCommon2Rows] = {
    row ("Keyboard Response", "KeyResponse", "", range (0, 2), byte1 (0), Text, 24, nullptr), // 0
};

const UserParameterDescriptor ProgramDescriptorsTable_Timbre[NumTimbreRows] = {
    row ("Voice Assign", "Assign", "", range (0, 2), byte1 (0), Text, 25, nullptr), // 0
    row ("Unison SW", "Unison Voice", "", range (0, 3), byte1 (1), Text, 26, nullptr), // 1
    row ("Unison Detune", "Detune", "", range (0, 99), byte1 (2), Number, 2, unisonIsOn), // 2
    row ("Unison Spread", "Spread", "", range (0, 127), byte1 (3), Number, 4, unisonIsOn), // 3
    row ("Transpose", "Transpose", "", signedRange (-48, 48), byte1 (4), Number, 11, nullptr), // 4
    row ("Detune", "Detune", "", signedRange (-50, 50), byte1 (5), Text, 27, nullptr), // 5
    row ("LFO2 Mod Int", "LFO2ModInt", "PitchLFO ModInt", signedRange (-63, 63), byte1 (6), Number, 13, nullptr), // 6
    row ("LFO2 & JS+Y", "LFO2&JS+Y", "", signedRange (-63, 63), byte1 (7), Text, 28, nullptr), // 7
    row ("P.Bend Range", "BendRange", "", signedRange (-12, 12), byte1 (8), Number, 9, nullptr), // 8
    row ("Porta. On/Off", "Portamento", "", range (0, 1), byte1 (9), Switch, 84, nullptr), // 9
    row ("Porta. Time", "Porta.Time", "", range (0, 127), byte1 (10), Number, 4, nullptr), // 10
    row ("Analog Tuning", "Analog Tune", "", range (0, 127), byte1 (11), Number, 4, nullptr), // 11
    row ("Type", "Type", "Osc1Type", range (0, 127), byte1 (12), Text, 29, nullptr), // 12
    row ("Semitone", "Semitone", "Osc1Semitone", signedRange (-24, 24), byte1 (13), Number, 10, osc1IsSounding), // 13
    row ("Tune", "Tune", "Osc1Tune", signedRange (-63, 63), byte1 (14), Number, 13, osc1IsSounding), // 14
    row ("Control1", "Control1", "", range (0, 127), byte1 (15), Number, 4, nullptr), // 15
    row ("Control2", "Control2", "", range (0, 127), byte1 (16), Number, 4, nullptr), // 16
    row ("Type", "Type", "Osc2Type", range (0, 127), byte1 (20), Text, 29, nullptr), // 17
    row ("Semitone", "Semitone", "Osc2Semitone", signedRange (-24, 24), byte1 (21), Number, 10, osc2IsSounding), // 18
    row ("Tune", "Tune", "Osc2Tune", signedRange (-63, 63), byte1 (22), Number, 13, osc2IsSounding), // 19
    row ("Control1", "Control1", "", range (0, 127), byte1 (23), Number, 4, nullptr), // 20
    row ("Control2", "Control2", "", range (0, 127), byte1 (24), Number, 4, nullptr), // 21
    row ("Type", "Type", "Osc3Type", range (0, 127), byte1 (28), Text, 29, nullptr), // 22
    row ("Semitone", "Semitone", "Osc3Semitone", signedRange (-24, 24), byte1 (29), Number, 10, osc3IsSounding), // 23
    row ("Tune", "Tune", "Osc3Tune", signedRange (-63, 63), byte1 (30), Number, 13, osc3IsSounding), // 24
    row ("Control1", "Control1", "", range (0, 127), byte1 (31), Number, 4, nullptr), // 25
    row ("Control2", "Control2", "", range (0, 127), byte1 (32), Number, 4, nullptr), // 26
    row ("Osc1 Level", "Osc1Level", "", range (0, 127), byte1 (36), Number, 4, nullptr), // 27
    row ("Osc2 Level", "Osc2Level", "", range (0, 127), byte1 (37), Number, 4, nullptr), // 28
    row ("Osc3 Level", "Osc3Level", "", range (0, 127), byte1 (38), Number, 4, nullptr), // 29
    row ("Filter Type", "Type", "", range (0, 17), byte1 (39), Text, 31, nullptr), // 30
    row ("Cutoff", "Cutoff", "", range (0, 127), byte1 (40), Number, 4, nullptr), // 31
    row ("Resonance", "Resonance", "", range (0, 127), byte1 (41), Number, 4, nullptr), // 32
    row ("EG1 Int", "EG1Int", "", signedRange (-63, 63), byte1 (42), Number, 13, nullptr), // 33
    row ("LFO1 Mod Int", "LFO1ModInt", "FilterLFO ModInt", signedRange (-63, 63), byte1 (43), Number, 13, nullptr), // 34
    row ("LFO1 & JS-Y", "LFO1&JS-Y", "", signedRange (-63, 63), byte1 (44), Number, 13, nullptr), // 35
    row ("KeyTrack", "KeyTrack", "", signedRange (-63, 63), byte1 (45), Text, 32, nullptr), // 36
    row ("Velo Sens", "VeloSens", "", signedRange (-63, 63), byte1 (46), Number, 13, nullptr), // 37
    row ("Level", "Level", "", range (0, 127), byte1 (47), Number, 4, nullptr), // 38
    row ("Pan", "Pan", "", centredRange (0, 127, 64), byte1 (48), Text, 33, nullptr), // 39
    row ("Punch Level", "Punch Level", "", range (0, 127), byte1 (49), Number, 4, nullptr), // 40
    row ("KeyTrack", "KeyTrack", "", signedRange (-63, 63), byte1 (50), Number, 13, nullptr), // 41
    row ("Attack Time", "Attack", "FilterEG Attack", range (0, 127), byte1 (52), Number, 4, nullptr), // 42
    row ("Decay Time", "Decay", "FilterEG Decay", range (0, 127), byte1 (53), Number, 4, nullptr), // 43
    row ("Sustain Level", "Sustain", "FilterEG Sustain", range (0, 127), byte1 (54), Number, 4, nullptr), // 44
    row ("Release Time", "Release", "FilterEG Release", range (0, 127), byte1 (55), Number, 4, nullptr), // 45
    row ("Level Velo.Int.", "LevelVelInt", "FltEG LvlVelInt", signedRange (-63, 63), byte1 (56), Number, 13, nullptr), // 46
    row ("Attack Time", "Attack", "AmpEG Attack", range (0, 127), byte1 (60), Number, 4, nullptr), // 47
    row ("Decay Time", "Decay", "AmpEG Decay", range (0, 127), byte1 (61), Number, 4, nullptr), // 48
    row ("Sustain Level", "Sustain", "AmpEG Sustain", range (0, 127), byte1 (62), Number, 4, nullptr), // 49
    row ("Release Time", "Release", "AmpEG Release", range (0, 127), byte1 (63), Number, 4, nullptr), // 50
    row ("Level Velo.Int.", "LevelVelInt", "AmpEG LvlVelInt", signedRange (-63, 63), byte1 (64), Number, 13, nullptr), // 51
    row ("Wave", "Wave", "FilterLFO Wave", range (0, 4), byte1 (68), Text, 34, nullptr), // 52
    row ("Frequency", "Freq.", "FilterLFO Freq.", range (0, 127), byte1 (69), Text, 36, filterLfoIsFree), // 53
    row ("KeySync", "KeySync", "", range (0, 2), byte1 (70), Text, 37, nullptr), // 54
    row ("TempoSync", "TempoSync", "", range (0, 1), byte1 (71), Switch, 84, nullptr), // 55
    row ("SyncNote", "SyncNote", "FltLFO SyncNote", range (0, 16), byte1 (72), Text, 38, filterLfoIsSynced), // 56
    row ("Wave", "Wave", "PitchLFO Wave", range (0, 4), byte1 (76), Text, 35, nullptr), // 57
    row ("Frequency", "Freq.", "PitchLFO Freq.", range (0, 127), byte1 (77), Text, 36, pitchLfoIsFree), // 58
    row ("KeySync", "KeySync", "", range (0, 2), byte1 (78), Text, 37, nullptr), // 59
    row ("TempoSync", "TempoSync", "", range (0, 1), byte1 (79), Switch, 84, nullptr), // 60
    row ("SyncNote", "SyncNote", "PtchLFO SyncNote", range (0, 16), byte1 (80), Text, 38, pitchLfoIsSynced), // 61
};

const UserParameterDescriptor ProgramDescriptorsTable_VirtualPatch[NumVirtualPatchRows] = {
    row ("Source", "Src", "VP1Src", range (0, 11), byte1 (0), Text, 39, nullptr), // 0
    row ("Destination", "Dest", "VP1Dest", range (0, 41), byte1 (1), Text, 40, nullptr), // 1
    row ("Intensity", "Int", "VP1Int", signedRange (-63, 63), byte1 (2), Number, 13, nullptr), // 2
    row ("Source", "Src", "VP2Src", range (0, 11), byte1 (4), Text, 39, nullptr), // 3
    row ("Destination", "Dest", "VP2Dest", range (0, 41), byte1 (5), Text, 40, nullptr), // 4
    row ("Intensity", "Int", "VP2Int", signedRange (-63, 63), byte1 (6), Number, 13, nullptr), // 5
    row ("Source", "Src", "VP3Src", range (0, 11), byte1 (8), Text, 39, nullptr), // 6
    row ("Destination", "Dest", "VP3Dest", range (0, 41), byte1 (9), Text, 40, nullptr), // 7
    row ("Intensity", "Int", "VP3Int", signedRange (-63, 63), byte1 (10), Number, 13, nullptr), // 8
    row ("Source", "Src", "VP4Src", range (0, 11), byte1 (12), Text, 39, nullptr), // 9
    row ("Destination", "Dest", "VP4Dest", range (0, 41), byte1 (13), Text, 40, nullptr), // 10
    row ("Intensity", "Int", "VP4Int", signedRange (-63, 63), byte1 (14), Number, 13, nullptr), // 11
    row ("Source", "Src", "VP5Src", range (0, 11), byte1 (16), Text, 39, nullptr), // 12
    row ("Destination", "Dest", "VP5Dest", range (0, 41), byte1 (17), Text, 40, nullptr), // 13
    row ("Intensity", "Int", "VP5Int", signedRange (-63, 63), byte1 (18), Number, 13, nullptr), // 14
    row ("Source", "Src", "VP6Src", range (0, 11), byte1 (20), Text, 39, nullptr), // 15
    row ("Destination", "Dest", "VP6Dest", range (0, 41), byte1 (21), Text, 40, nullptr), // 16
    row ("Intensity", "Int", "VP6Int", signedRange (-63, 63), byte1 (22), Number, 13, nullptr), // 17
};

const UserParameterDescriptor ProgramDescriptorsTable_Fx[NumFxRows] = {
    row ("Type", "Type", "PreFX Type", range (0, 5), byte1 (0), Text, 42, nullptr), // 0
    row ("SW", "SW", "PreFX SW", range (0, 3), byte1 (1), Text, 41, nullptr), // 1
    row ("Drive", "Drive", "PreFX Drive", range (0, 127), byte1 (2), Number, 4, nullptr), // 2
    row ("Type", "Type", "ModFX Type", range (0, 5), byte1 (3), Text, 43, nullptr), // 3
    row ("SW", "SW", "ModFX SW", range (0, 3), byte1 (4), Text, 41, nullptr), // 4
    row ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4, nullptr), // 5
    row ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4, nullptr), // 6
    row ("Type", "Type", "Rev/Delay Type", range (0, 5), byte1 (7), Text, 44, nullptr), // 7
    row ("SW", "SW", "Rev/Delay SW", range (0, 3), byte1 (8), Text, 41, nullptr), // 8
    row ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4, nullptr), // 9
    row ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Number, 4, nullptr), // 10
};

const UserParameterDescriptor ProgramDescriptorsTable_Vocoder[NumVocoderRows] = {
    row ("SW", "Vocoder SW", "", range (0, 1), byte1 (0), Switch, 84, nullptr), // 0
    row ("Timbre A Level", "Timb A Level", "", range (0, 127), byte1 (1), Number, 4, vocoderIsOn), // 1
    row ("Timbre B Level", "Timb B Level", "", range (0, 127), byte1 (2), Number, 4, vocoderIsOn), // 2
    row ("Audio Source", "AudioSrc", "", range (0, 1), byte1 (3), Text, 47, vocoderIsOn), // 3
    row ("Gate Sens", "Gate Sens", "", range (0, 127), byte1 (4), Number, 4, vocoderIsOn), // 4
    row ("Threshold", "Threshold", "", range (0, 127), byte1 (5), Number, 4, vocoderIsOn), // 5
    row ("HPF Level", "HPF Level", "", range (0, 127), byte1 (6), Number, 4, vocoderIsOn), // 6
    row ("HPF Gate", "HPF Gate", "", range (0, 1), byte1 (7), Text, 48, vocoderIsOn), // 7
    row ("Formant Shift", "Formant Shift", "", range (0, 4), byte1 (8), Number, 15, vocoderIsOn), // 8
    row ("Fc Offset", "Offset", "", signedRange (-63, 63), byte1 (9), Number, 13, vocoderIsOn), // 9
    row ("Resonance", "Resonance", "", range (0, 127), byte1 (10), Number, 4, vocoderIsOn), // 10
    row ("Fc Mod.Source", "ModSrc", "", range (0, 11), byte1 (11), Text, 49, vocoderIsOn), // 11
    row ("Fc Mod.Int.", "ModInt", "", signedRange (-63, 63), byte1 (12), Number, 13, vocoderIsOn), // 12
    row ("E.F. Sens", "E.F.Sens", "", range (0, 127), byte1 (13), Text, 50, vocoderIsOn), // 13
    row ("Formant Hold Data Band1", "", "", range (0, 32767), byte2 (16), Number, 5, vocoderIsOn), // 14
    row ("Formant Hold Data Band2", "", "", range (0, 32767), byte2 (18), Number, 5, vocoderIsOn), // 15
    row ("Formant Hold Data Band3", "", "", range (0, 32767), byte2 (20), Number, 5, vocoderIsOn), // 16
    row ("Formant Hold Data Band4", "", "", range (0, 32767), byte2 (22), Number, 5, vocoderIsOn), // 17
    row ("Formant Hold Data Band5", "", "", range (0, 32767), byte2 (24), Number, 5, vocoderIsOn), // 18
    row ("Formant Hold Data Band6", "", "", range (0, 32767), byte2 (26), Number, 5, vocoderIsOn), // 19
    row ("Formant Hold Data Band7", "", "", range (0, 32767), byte2 (28), Number, 5, vocoderIsOn), // 20
    row ("Formant Hold Data Band8", "", "", range (0, 32767), byte2 (30), Number, 5, vocoderIsOn), // 21
    row ("Formant Hold Data Band9", "", "", range (0, 32767), byte2 (32), Number, 5, vocoderIsOn), // 22
    row ("Formant Hold Data Band10", "", "", range (0, 32767), byte2 (34), Number, 5, vocoderIsOn), // 23
    row ("Formant Hold Data Band11", "", "", range (0, 32767), byte2 (36), Number, 5, vocoderIsOn), // 24
    row ("Formant Hold Data Band12", "", "", range (0, 32767), byte2 (38), Number, 5, vocoderIsOn), // 25
    row ("Formant Hold Data Band13", "", "", range (0, 32767), byte2 (40), Number, 5, vocoderIsOn), // 26
    row ("Formant Hold Data Band14", "", "", range (0, 32767), byte2 (42), Number, 5, vocoderIsOn), // 27
    row ("Formant Hold Data Band15", "", "", range (0, 32767), byte2 (44), Number, 5, vocoderIsOn), // 28
    row ("Formant Hold Data Band16", "", "", range (0, 32767), byte2 (46), Number, 5, vocoderIsOn), // 29
    row ("Vocoder Level", "Vocoder Lvl", "", range (0, 127), byte1 (48), Number, 4, vocoderIsOn), // 30
    row ("Direct Level", "Direct Level", "", range (0, 127), byte1 (49), Number, 4, vocoderIsOn), // 31
    row ("Wet Spread", "Wet Spread", "", range (0, 127), byte1 (50), Number, 4, vocoderIsOn), // 32
    row ("Wet Level", "Wet Level", "", range (0, 127), byte1 (51), Number, 4, vocoderIsOn), // 33
};

const UserParameterDescriptor ProgramDescriptorsTable_Arpeggiator[NumArpeggiatorRows] = {
    row ("SW", "Arp SW", "", range (0, 1), byte1 (2), Switch, 84, nullptr), // 0
    row ("Tempo", "Tempo", "", range (20, 300), byte2 (0), Number, 16, nullptr), // 1
    row ("Latch", "Latch", "", range (0, 1), byte1 (3), Switch, 84, nullptr), // 2
    row ("Key Sync", "Key Sync", "", range (0, 1), byte1 (4), Switch, 84, nullptr), // 3
    row ("Timbre Assign", "Assign", "", range (0, 2), byte1 (5), Text, 51, nullptr), // 4
    row ("Type", "Type", "", range (0, 5), byte1 (6), Text, 52, nullptr), // 5
    row ("Resolution", "Resolution", "", range (0, 8), byte1 (7), Text, 53, nullptr), // 6
    row ("Gate Time", "Gate Time", "", range (0, 100), byte1 (8), Text, 54, nullptr), // 7
    row ("Swing", "Swing", "", signedRange (-100, 100), byte1 (9), Text, 55, nullptr), // 8
    row ("Last Step", "Last Step", "", range (1, 8), byte1 (10), Number, 7, nullptr), // 9
    row ("Octave Range", "Oct Range", "", range (1, 4), byte1 (11), Number, 6, nullptr), // 10
    row ("Step1", "", "", range (0, 1), bit (12, 7), Switch, 84, stepIsInLastStep), // 11
    row ("Step2", "", "", range (0, 1), bit (12, 6), Switch, 84, stepIsInLastStep), // 12
    row ("Step3", "", "", range (0, 1), bit (12, 5), Switch, 84, stepIsInLastStep), // 13
    row ("Step4", "", "", range (0, 1), bit (12, 4), Switch, 84, stepIsInLastStep), // 14
    row ("Step5", "", "", range (0, 1), bit (12, 3), Switch, 84, stepIsInLastStep), // 15
    row ("Step6", "", "", range (0, 1), bit (12, 2), Switch, 84, stepIsInLastStep), // 16
    row ("Step7", "", "", range (0, 1), bit (12, 1), Switch, 84, stepIsInLastStep), // 17
    row ("Step8", "", "", range (0, 1), bit (12, 0), Switch, 84, stepIsInLastStep), // 18
};

const UserParameterDescriptor ProgramDescriptorsTable_OSC_ctrl1_ctrl2[NumOscControlPairs * 2] = {
    noControl(), // pair 0
    noControl(),
    control ("Waveform", "Waveform", "", range (0, 127), byte1 (15), Number, 4), // pair 1
    noControl(),
    control ("PulseWidth", "PulseWidth", "", range (0, 127), byte1 (15), Number, 4), // pair 2
    noControl(),
    control ("Waveform", "Waveform", "", range (0, 127), byte1 (15), Number, 4), // pair 3
    noControl(),
    control ("Waveform", "Waveform", "", range (0, 127), byte1 (15), Number, 4), // pair 4
    noControl(),
    control ("Decimator Fc", "Decimator Fc", "", range (0, 127), byte1 (15), Number, 4), // pair 5
    control ("Noise Decay", "Noise Decay", "", range (0, 127), byte1 (16), Number, 4),
    control ("LPF Cutoff", "LPF Cutoff", "", range (0, 127), byte1 (15), Number, 4), // pair 6
    control ("Noise Decay", "Noise Decay", "", range (0, 127), byte1 (16), Number, 4),
    control ("HPF Cutoff", "HPF Cutoff", "", range (0, 127), byte1 (15), Number, 4), // pair 7
    control ("Noise Decay", "Noise Decay", "", range (0, 127), byte1 (16), Number, 4),
    control ("Resonance", "Resonance", "", range (0, 127), byte1 (15), Number, 4), // pair 8
    control ("Noise Decay", "Noise Decay", "", range (0, 127), byte1 (16), Number, 4),
    control ("Detune", "Detune", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 9
    noControl(),
    control ("Detune", "Detune", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 10
    noControl(),
    control ("Detune", "Detune", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 11
    noControl(),
    control ("Detune", "Detune", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 12
    noControl(),
    control ("Detune", "Detune", "", range (0, 127), byte1 (15), Number, 4), // pair 13
    noControl(),
    control ("Detune", "Detune", "", range (0, 127), byte1 (15), Number, 4), // pair 14
    noControl(),
    control ("Detune", "Detune", "", range (0, 127), byte1 (15), Number, 4), // pair 15
    noControl(),
    control ("Detune", "Detune", "", range (0, 127), byte1 (15), Number, 4), // pair 16
    noControl(),
    control ("SlaveOsc Pitch", "Mod Pitch", "", range (0, 127), byte1 (15), Number, 4), // pair 17
    noControl(),
    control ("SlaveOsc Pitch", "Mod Pitch", "", range (0, 127), byte1 (15), Number, 4), // pair 18
    noControl(),
    control ("SlaveOsc Pitch", "Mod Pitch", "", range (0, 127), byte1 (15), Number, 4), // pair 19
    noControl(),
    control ("SlaveOsc Pitch", "Mod Pitch", "", range (0, 127), byte1 (15), Number, 4), // pair 20
    noControl(),
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 21
    noControl(),
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 22
    noControl(),
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 23
    noControl(),
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 24
    noControl(),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 25
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (16), Number, 13),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 26
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (16), Number, 13),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 27
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (16), Number, 13),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 28
    control ("Mod Pitch", "Mod Pitch", "", signedRange (-63, 63), byte1 (16), Number, 13),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 29
    control ("Mod Harmonics", "Mod Harm", "", range (0, 32), byte1 (16), Text, 30),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 30
    control ("Mod Harmonics", "Mod Harm", "", range (0, 32), byte1 (16), Text, 30),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 31
    control ("Mod Harmonics", "Mod Harm", "", range (0, 32), byte1 (16), Text, 30),
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (15), Number, 4), // pair 32
    control ("Mod Harmonics", "Mod Harm", "", range (0, 32), byte1 (16), Text, 30),
    control ("Detune", "Detune", "", range (0, 127), byte1 (15), Number, 4), // pair 33
    control ("Mod Depth", "Mod Depth", "", range (0, 127), byte1 (16), Number, 4),
    control ("Gain", "Gain", "", signedRange (-63, 63), byte1 (15), Number, 13), // pair 34
    noControl(),
};

const UserParameterDescriptor ProgramDescriptorsTable_PreFx[NumEffectTypes * 2] = {
    control ("Drive", "Drive", "PreFX Drive", range (0, 127), byte1 (2), Number, 4), // type 0
    noControl(),
    control ("Frequency", "Frequency", "PreFX Freq", range (0, 127), byte1 (2), Number, 4), // type 1
    noControl(),
    control ("Frequency", "Frequency", "PreFX Freq", range (0, 127), byte1 (2), Number, 4), // type 2
    noControl(),
    control ("Drive", "Drive", "PreFX Drive", range (0, 127), byte1 (2), Number, 4), // type 3
    noControl(),
    control ("Drive", "Drive", "PreFX Drive", range (0, 127), byte1 (2), Number, 4), // type 4
    noControl(),
    control ("Drive", "Drive", "PreFX Drive", range (0, 127), byte1 (2), Text, 45), // type 5
    noControl(),
};

const UserParameterDescriptor ProgramDescriptorsTable_ModFx[NumEffectTypes * 2] = {
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 0
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 1
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 2
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 3
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 4
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
    control ("Depth", "Depth", "ModFX Depth", range (0, 127), byte1 (5), Number, 4), // type 5
    control ("Speed", "Speed", "ModFX Speed", range (0, 127), byte1 (6), Number, 4),
};

const UserParameterDescriptor ProgramDescriptorsTable_RevDlyFx[NumEffectTypes * 2] = {
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 0
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Number, 4),
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 1
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Number, 4),
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 2
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Number, 4),
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 3
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Number, 4),
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 4
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Text, 46),
    control ("Depth", "Depth", "Rev/Delay Depth", range (0, 127), byte1 (9), Number, 4), // type 5
    control ("Time", "Time", "Rev/Delay Time", range (0, 127), byte1 (10), Text, 46),
};
// clang-format on

const ProgramDescriptorTable ProgramDescriptorTables[NumProgramAreas] = {
    { ProgramDescriptorsTable_Common, NumCommonRows },
    { ProgramDescriptorsTable_Common2, NumCommon2Rows },
    { ProgramDescriptorsTable_Timbre, NumTimbreRows },
    { ProgramDescriptorsTable_VirtualPatch, NumVirtualPatchRows },
    { ProgramDescriptorsTable_Timbre, NumTimbreRows },
    { ProgramDescriptorsTable_VirtualPatch, NumVirtualPatchRows },
    { ProgramDescriptorsTable_Fx, NumFxRows },
    { ProgramDescriptorsTable_Vocoder, NumVocoderRows },
    { ProgramDescriptorsTable_Arpeggiator, NumArpeggiatorRows },
};
} // namespace userparameter::descriptor
