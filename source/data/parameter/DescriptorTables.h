#pragma once

#include "data/parameter/UserParameter.h"

// The descriptor tables of the program record: the authoritative layout of every
// parameter's byte, bits, range and display form.
namespace userparameter::descriptor
{
constexpr int NumCommonRows = 16;
constexpr int NumCommon2Rows = 1;
constexpr int NumTimbreRows = 62;
constexpr int NumVirtualPatchRows = 18;
constexpr int NumFxRows = 11;
constexpr int NumVocoderRows = 34;
constexpr int NumArpeggiatorRows = 19;

constexpr int NumOscControlPairs = 35;
constexpr int NumEffectTypes = 6;

extern const UserParameterDescriptor ProgramDescriptorsTable_Common[NumCommonRows];
extern const UserParameterDescriptor ProgramDescriptorsTable_Common2[NumCommon2Rows];
extern const UserParameterDescriptor ProgramDescriptorsTable_Timbre[NumTimbreRows];
extern const UserParameterDescriptor ProgramDescriptorsTable_VirtualPatch[NumVirtualPatchRows];
extern const UserParameterDescriptor ProgramDescriptorsTable_Fx[NumFxRows];
extern const UserParameterDescriptor ProgramDescriptorsTable_Vocoder[NumVocoderRows];
extern const UserParameterDescriptor ProgramDescriptorsTable_Arpeggiator[NumArpeggiatorRows];

// Variant tables, reached through the oscillator-control and effect-control lookups:
// two rows (control 1 and control 2) per oscillator control pair or effect type.
extern const UserParameterDescriptor ProgramDescriptorsTable_OSC_ctrl1_ctrl2[NumOscControlPairs * 2];
extern const UserParameterDescriptor ProgramDescriptorsTable_PreFx[NumEffectTypes * 2];
extern const UserParameterDescriptor ProgramDescriptorsTable_ModFx[NumEffectTypes * 2];
extern const UserParameterDescriptor ProgramDescriptorsTable_RevDlyFx[NumEffectTypes * 2];

// The table of each program main ID (0 to 8) and its row count.
struct ProgramDescriptorTable
{
    const UserParameterDescriptor* rows;
    int numRows;
};
extern const ProgramDescriptorTable ProgramDescriptorTables[NumProgramAreas];
} // namespace userparameter::descriptor
