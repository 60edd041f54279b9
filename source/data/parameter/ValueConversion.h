#pragma once

#include "data/parameter/UserParameter.h"

#include <cstdint>
#include <string>

// Turns a parameter's stored value into the value and the text the user sees. Each
// descriptor names one row of the conversion table by its clip type.
namespace userparameter::convert
{
using ToValueFunction = std::int16_t (*) (std::int16_t internalValue);
using ToInternalFunction = std::int16_t (*) (std::int16_t value);
using FormatFunction = std::string (*) (std::int16_t value);

// One row of the conversion table; every entry may be absent.
struct ClipTypeFunctions
{
    ToValueFunction toValue;
    ToInternalFunction toInternal;
    FormatFunction format;
    const char* const* texts; // indexed by internal value - minimum
    int numTexts;
};

constexpr int NumClipTypes = 85;
extern const ClipTypeFunctions cliptype_function_table[NumClipTypes];

// Clamped into the descriptor's range, then converted to the user value.
std::int16_t InternalValueToValue (const UserParameterDescriptor& descriptor, std::int16_t internalValue);
// Converted to the internal value, then clamped into the descriptor's range.
std::int16_t ValueToInternalValue (const UserParameterDescriptor& descriptor, std::int16_t value);
// The display text of an internal value; empty when the row shows nothing.
std::string InternalValueToString (const UserParameterDescriptor& descriptor, std::int16_t internalValue);

// Number formats: at least `digits` characters, zeros after the sign ("005", "-05").
std::string FormatDecimal (int value, int digits);
// Always with a sign, '+' for zero ("+05", "+00", "-12").
std::string FormatSignedDecimal (int value, int digits);

// Formatting functions (the value is already clamped and converted).
std::string val2str_string (std::int16_t value);
std::string val2str_TimbBCh (std::int16_t value);
std::string val2str_SplitKey (std::int16_t value);
std::string val2str_PitchDetune (std::int16_t value);
std::string val2str_VibratoInt (std::int16_t value);
std::string val2str_OSCType (std::int16_t value);
std::string val2str_ModHarmonics (std::int16_t value);
std::string val2str_FilterKeyTrk (std::int16_t value);
std::string val2str_Pan (std::int16_t value);
std::string val2str_PreFxTone (std::int16_t value);
std::string val2str_BPMDelayTime (std::int16_t value);
std::string val2str_DisableEnable (std::int16_t value);
std::string val2str_VocoderEFSens (std::int16_t value);
std::string val2str_ArpGateTime (std::int16_t value);
std::string val2str_ArpSwing (std::int16_t value);
std::string val2str_OnOff (std::int16_t value);

// Text lists, entry 0 first.
extern const char* const strdata_Category[9];
extern const char* const strdata_VoiceMode[3];
extern const char* const strdata_KeyResponse[4];
extern const char* const strdata_VoiceAssign[3];
extern const char* const strdata_UnisonSW[4];
extern const char* const strdata_FilterType[18];
extern const char* const strdata_LFO1Wave[5];
extern const char* const strdata_LFO2Wave[5];
extern const char* const strdata_LFOFreq[128];
extern const char* const strdata_LFOKeySync[3];
extern const char* const strdata_LFOSyncNote[17];
extern const char* const strdata_VPSrc[12];
extern const char* const strdata_VPDest[42];
extern const char* const strdata_FxSW[4];
extern const char* const strdata_Fx1Type[6];
extern const char* const strdata_Fx2Type[6];
extern const char* const strdata_Fx3Type[6];
extern const char* const strdata_VocoderAudioSrc[2];
extern const char* const strdata_ArpTimbreAssign[3];
extern const char* const strdata_ArpType[6];
extern const char* const strdata_ArpResolution[9];

// Oscillator names: the analog types 1 to 32, and the waves of types 33 to 126
// (entry k belongs to type 33 + k; entries 64 and up are the PCM waves).
extern const char* const strdata_OSCTypeAnalog[32];
constexpr int NumWaveNames = 94;
extern const char g_VsNameTable[NumWaveNames][12];

// Cents of vibrato intensity and hundredths of filter key tracking, by magnitude 0 to 63.
extern const std::int16_t vibratoint_tbl[64];
extern const std::int16_t filtkeytrk_strtbl[64];
} // namespace userparameter::convert
