#pragma once

#include "data/RawRecords.h"

#include <cstdint>
#include <string>

// The parameter layer: reads and writes single synthesizer parameters inside the raw
// program record and turns them into the values and texts the user sees. Everything is
// driven by the descriptor tables (DescriptorTables.h) and the conversion table
// (ValueConversion.h); views never touch offsets or bits themselves.

// Names one parameter: its area (main ID) and its row in that area's table (sub ID).
// Main IDs 0 to 8 lie in a program record, 9 to 18 in the global record.
struct UserParameterID
{
    std::int16_t mainID = 0;
    std::int16_t subID = 0;

    bool operator== (const UserParameterID& other) const noexcept
    {
        return mainID == other.mainID && subID == other.subID;
    }
    bool operator!= (const UserParameterID& other) const noexcept { return ! (*this == other); }
};

// Tells whether a parameter is in effect, given the other parameters of the record.
using UserParameterEnableFunction = bool (*) (const ::ProgramData* record, const UserParameterID& id);

// One row of a descriptor table: where a parameter's bits lie, its range and how it is shown.
struct UserParameterDescriptor
{
    enum ValueType : std::uint32_t
    {
        NoParameter = 0,
        Number = 1,
        Character = 2,
        Text = 3,
        Switch = 4
    };

    const char* name = "";
    const char* shortName = "";
    const char* qualifiedName = ""; // tells apart rows with the same name ("Osc1Type")
    std::int16_t minimum = 0;
    std::int16_t maximum = 0;
    std::int16_t centre = 0;
    bool isBipolar = false;
    std::uint16_t byteOffset = 0; // relative to the area start
    std::uint8_t byteCount = 0; // 1 or 2; 0 for a row that describes no parameter
    std::uint8_t bitOffset = 0; // bits above the field, from the top of the little-endian word
    std::uint8_t bitWidth = 0;
    bool isSigned = false;
    std::uint32_t valueType = NoParameter;
    std::int32_t clipType = 0; // row of the conversion table
    UserParameterEnableFunction enableFunction = nullptr;
};

// The oscillator type as stored in a timbre's Type parameter (0 off, 1 to 127).
using ParamDef_OSCType = int;

namespace userparameter
{
// Where a main ID's bytes lie inside its record.
struct InfoTable_UserData
{
    bool inGlobalRecord;
    std::uint16_t start;
    std::uint16_t size;
};

constexpr int NumProgramAreas = 9; // main IDs 0 to 8
constexpr int NumAreas = 19; // main IDs 0 to 18
extern const InfoTable_UserData UserDataInfoTable[NumAreas];

namespace descriptor
{
    // Fills the descriptor of a program parameter; false when the ID names none.
    // Oscillator and effect controls depend on the chosen type, read from the record.
    bool GetDescriptor (const ::ProgramData* record, const UserParameterID& id, UserParameterDescriptor& descriptor);

    // The first byte of the field, or null when the descriptor's bytes lie outside the area.
    const unsigned char* SetOffset_ParameterBuffer (const unsigned char* record, const UserParameterID& id,
                                                    const UserParameterDescriptor& descriptor);

    // The internal value; 0 when the bytes cannot be located.
    std::int16_t GetParameter (const unsigned char* record, const UserParameterID& id,
                               const UserParameterDescriptor& descriptor);

    // Clamps the value into the descriptor's range, stores it (other bits of the bytes are
    // kept) and returns the clamped value. Nothing is written when the field cannot be located.
    std::int16_t SetParameter (unsigned char* record, const UserParameterID& id,
                               const UserParameterDescriptor& descriptor, std::int16_t value);
} // namespace descriptor

// The value functions look the descriptor up themselves. An ID without a descriptor gives
// 0 and an empty text.
template <typename RecordPointer>
std::int16_t GetParameterValueInternal (RecordPointer record, const UserParameterID& id);
template <typename RecordPointer>
std::int16_t GetParameterValue (RecordPointer record, const UserParameterID& id);
template <typename RecordPointer>
std::string GetParameterValueString (RecordPointer record, const UserParameterID& id);

// Stores an internal value (clamped) and returns what was stored; the value unchanged
// when the ID names no parameter.
std::int16_t SetParameterValueInternal (::ProgramData* record, const UserParameterID& id, std::int16_t value);

// Whether the parameter is in effect given the other parameters (true when its row has
// no rule). False when the ID names no parameter.
bool IsParameterEnabled (const ::ProgramData* record, const UserParameterID& id);

// 0 analog (types 1 to 32), 1 QXRM (33 to 96), 2 PCM (97 to 126), 3 mic input (127),
// -1 for anything else, including 0 (off).
int GetOSCCategory (ParamDef_OSCType type);

// Fills the record with the init program.
void InitData (::ProgramData* record);

// The category text of a program, as the program list shows it.
std::string GetProgramCategoryString (const ::ProgramData* record);

// The number of rows of a main ID's table (0 for main IDs without a table).
int GetNumSubIDs (int mainID);

extern template std::int16_t GetParameterValueInternal (const ::ProgramData*, const UserParameterID&);
extern template std::int16_t GetParameterValueInternal (::ProgramData*, const UserParameterID&);
extern template std::int16_t GetParameterValue (const ::ProgramData*, const UserParameterID&);
extern template std::int16_t GetParameterValue (::ProgramData*, const UserParameterID&);
extern template std::string GetParameterValueString (const ::ProgramData*, const UserParameterID&);
extern template std::string GetParameterValueString (::ProgramData*, const UserParameterID&);
} // namespace userparameter
