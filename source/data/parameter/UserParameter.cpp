#include "data/parameter/UserParameter.h"

#include "data/ProgramData.h"
#include "data/parameter/DescriptorTables.h"
#include "data/parameter/ValueConversion.h"

#include <algorithm>
#include <cstring>

namespace userparameter
{
// Program areas 0 to 8 cover record bytes 0 to 315; bytes 316 to 319 belong to none.
// Each timbre's virtual patches are the last 24 bytes of its 108-byte area.
const InfoTable_UserData UserDataInfoTable[NumAreas] = {
    { false, 0, 16 }, // 0 Common
    { false, 312, 4 }, // 1 Common2
    { false, 16, 108 }, // 2 Timbre A
    { false, 100, 24 }, // 3 Virtual patches of timbre A
    { false, 124, 108 }, // 4 Timbre B
    { false, 208, 24 }, // 5 Virtual patches of timbre B
    { false, 232, 12 }, // 6 Effects
    { false, 244, 52 }, // 7 Vocoder
    { false, 296, 16 }, // 8 Arpeggiator
    { true, 0, 16 }, // 9
    { true, 124, 4 }, // 10
    { true, 16, 12 }, // 11
    { true, 28, 64 }, // 12
    { true, 92, 8 }, // 13
    { true, 100, 12 }, // 14
    { true, 112, 4 }, // 15
    { true, 116, 4 }, // 16
    { true, 120, 4 }, // 17
    { true, 128, 96 }, // 18 favorites: 48 little-endian 16-bit program numbers
};

namespace descriptor
{
    namespace
    {
        bool plainLookup (const UserParameterID& id, UserParameterDescriptor& result)
        {
            if (id.mainID < 0 || id.mainID >= NumProgramAreas)
                return false;
            const auto& table = ProgramDescriptorTables[id.mainID];
            if (id.subID < 0 || id.subID >= table.numRows)
                return false;
            result = table.rows[id.subID];
            return true;
        }

        std::int16_t readPlain (const ::ProgramData* record, const UserParameterID& id)
        {
            UserParameterDescriptor d;
            if (record == nullptr || ! plainLookup (id, d))
                return 0;
            return GetParameter (record->bytes, id, d);
        }

        // The controls of an oscillator depend on its type: every analog type has its own
        // pair, the QXRM waves share one, the PCM waves have none, the mic input has a gain.
        bool oscillatorControlLookup (const ::ProgramData* record, const UserParameterID& id, int typeSubID,
                                      int controlIndex, UserParameterDescriptor& result)
        {
            const int type = readPlain (record, { id.mainID, (std::int16_t) typeSubID });
            int pair = 0;
            if (type != 0)
            {
                switch (GetOSCCategory (type))
                {
                    case 0: pair = type; break;
                    case 1: pair = 33; break;
                    case 2: pair = 0; break;
                    case 3: pair = 34; break;
                    default: return false;
                }
            }

            UserParameterDescriptor plainRow;
            if (! plainLookup (id, plainRow))
                return false;
            result = ProgramDescriptorsTable_OSC_ctrl1_ctrl2[2 * pair + controlIndex];
            // Whatever the type, its controls live in the Control1 and Control2 bytes.
            result.byteOffset = plainRow.byteOffset;
            return true;
        }

        bool effectControlLookup (const ::ProgramData* record, const UserParameterID& id, int effect,
                                  int controlIndex, UserParameterDescriptor& result)
        {
            static const int typeSubIDs[] = { 0, 3, 7 };
            static const UserParameterDescriptor* const tables[] = { ProgramDescriptorsTable_PreFx,
                                                                     ProgramDescriptorsTable_ModFx,
                                                                     ProgramDescriptorsTable_RevDlyFx };
            const int type = readPlain (record, { id.mainID, (std::int16_t) typeSubIDs[effect] });
            if (type < 0 || type >= NumEffectTypes)
                return false;
            result = tables[effect][2 * type + controlIndex];
            return true;
        }

        bool locate (const UserParameterID& id, const UserParameterDescriptor& d, int& offset)
        {
            if (id.mainID < 0 || id.mainID >= NumAreas)
                return false;
            const auto& area = UserDataInfoTable[id.mainID];
            if (d.byteOffset + d.byteCount > area.size)
                return false;
            offset = area.start + d.byteOffset;
            return true;
        }

        std::uint32_t assembleWord (const unsigned char* bytes, int count)
        {
            std::uint32_t word = 0;
            for (int i = count; --i >= 0;)
                word = (word << 8) | bytes[i];
            return word;
        }

        std::uint32_t lowBitsMask (int width)
        {
            return width >= 32 ? 0xffffffffu : ((1u << width) - 1u);
        }
    } // namespace

    bool GetDescriptor (const ::ProgramData* record, const UserParameterID& id, UserParameterDescriptor& result)
    {
        if (id.mainID < 0 || id.mainID >= NumProgramAreas)
            return false;

        if (id.mainID == 2 || id.mainID == 4)
        {
            switch (id.subID)
            {
                case 15: return oscillatorControlLookup (record, id, 12, 0, result);
                case 16: return oscillatorControlLookup (record, id, 12, 1, result);
                case 20: return oscillatorControlLookup (record, id, 17, 0, result);
                case 21: return oscillatorControlLookup (record, id, 17, 1, result);
                case 25: return oscillatorControlLookup (record, id, 22, 0, result);
                case 26: return oscillatorControlLookup (record, id, 22, 1, result);
                default: break;
            }
        }
        else if (id.mainID == 6)
        {
            switch (id.subID)
            {
                case 2: return effectControlLookup (record, id, 0, 0, result);
                case 5: return effectControlLookup (record, id, 1, 0, result);
                case 6: return effectControlLookup (record, id, 1, 1, result);
                case 9: return effectControlLookup (record, id, 2, 0, result);
                case 10: return effectControlLookup (record, id, 2, 1, result);
                default: break;
            }
        }
        return plainLookup (id, result);
    }

    const unsigned char* SetOffset_ParameterBuffer (const unsigned char* record, const UserParameterID& id,
                                                    const UserParameterDescriptor& d)
    {
        int offset = 0;
        if (record == nullptr || ! locate (id, d, offset))
            return nullptr;
        return record + offset;
    }

    std::int16_t GetParameter (const unsigned char* record, const UserParameterID& id, const UserParameterDescriptor& d)
    {
        const auto* bytes = SetOffset_ParameterBuffer (record, id, d);
        if (bytes == nullptr)
            return 0;

        const int shift = 8 * d.byteCount - d.bitOffset - d.bitWidth;
        if (shift < 0)
            return 0;

        const auto field = (assembleWord (bytes, d.byteCount) >> shift) & lowBitsMask (d.bitWidth);
        if (d.isSigned && d.bitWidth > 0 && d.bitWidth < 32 && (field & (1u << (d.bitWidth - 1))) != 0)
            return (std::int16_t) (field | ~lowBitsMask (d.bitWidth));
        return (std::int16_t) field;
    }

    std::int16_t SetParameter (unsigned char* record, const UserParameterID& id, const UserParameterDescriptor& d,
                               std::int16_t value)
    {
        const auto clamped = std::clamp<std::int16_t> (value, d.minimum, std::max (d.minimum, d.maximum));

        auto* bytes = const_cast<unsigned char*> (SetOffset_ParameterBuffer (record, id, d));
        const int shift = 8 * d.byteCount - d.bitOffset - d.bitWidth;
        if (bytes == nullptr || shift < 0 || d.byteCount == 0)
            return clamped;

        const auto mask = lowBitsMask (d.bitWidth) << shift;
        auto word = assembleWord (bytes, d.byteCount) & ~mask;
        word |= ((std::uint32_t) (std::uint16_t) clamped << shift) & mask;
        for (int i = 0; i < d.byteCount; ++i)
            bytes[i] = (unsigned char) (word >> (8 * i));
        return clamped;
    }
} // namespace descriptor

//==============================================================================
template <typename RecordPointer>
std::int16_t GetParameterValueInternal (RecordPointer record, const UserParameterID& id)
{
    UserParameterDescriptor d;
    if (record == nullptr || ! descriptor::GetDescriptor (record, id, d))
        return 0;
    return descriptor::GetParameter (record->bytes, id, d);
}

template <typename RecordPointer>
std::int16_t GetParameterValue (RecordPointer record, const UserParameterID& id)
{
    UserParameterDescriptor d;
    if (record == nullptr || ! descriptor::GetDescriptor (record, id, d))
        return 0;
    return convert::InternalValueToValue (d, descriptor::GetParameter (record->bytes, id, d));
}

template <typename RecordPointer>
std::string GetParameterValueString (RecordPointer record, const UserParameterID& id)
{
    UserParameterDescriptor d;
    if (record == nullptr || ! descriptor::GetDescriptor (record, id, d))
        return {};
    return convert::InternalValueToString (d, descriptor::GetParameter (record->bytes, id, d));
}

template std::int16_t GetParameterValueInternal (const ::ProgramData*, const UserParameterID&);
template std::int16_t GetParameterValueInternal (::ProgramData*, const UserParameterID&);
template std::int16_t GetParameterValue (const ::ProgramData*, const UserParameterID&);
template std::int16_t GetParameterValue (::ProgramData*, const UserParameterID&);
template std::string GetParameterValueString (const ::ProgramData*, const UserParameterID&);
template std::string GetParameterValueString (::ProgramData*, const UserParameterID&);

std::int16_t SetParameterValueInternal (::ProgramData* record, const UserParameterID& id, std::int16_t value)
{
    UserParameterDescriptor d;
    if (record == nullptr || ! descriptor::GetDescriptor (record, id, d))
        return value;
    return descriptor::SetParameter (record->bytes, id, d, value);
}

bool IsParameterEnabled (const ::ProgramData* record, const UserParameterID& id)
{
    UserParameterDescriptor d;
    if (record == nullptr || ! descriptor::GetDescriptor (record, id, d))
        return false;
    return d.enableFunction == nullptr || d.enableFunction (record, id);
}

int GetOSCCategory (ParamDef_OSCType type)
{
    if (type >= 1 && type <= 32)
        return 0;
    if (type >= 33 && type <= 96)
        return 1;
    if (type >= 97 && type <= 126)
        return 2;
    if (type == 127)
        return 3;
    return -1;
}

void InitData (::ProgramData* record)
{
    if (record != nullptr)
        *record = x38200_data::InitProgramData;
}

std::string GetProgramCategoryString (const ::ProgramData* record)
{
    return GetParameterValueString (record, UserParameterID { 0, 12 });
}

int GetNumSubIDs (int mainID)
{
    if (mainID < 0 || mainID >= NumProgramAreas)
        return 0;
    return descriptor::ProgramDescriptorTables[mainID].numRows;
}
} // namespace userparameter
