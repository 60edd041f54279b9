#include "data/parameter/ParameterListing.h"

#include "data/parameter/ValueConversion.h"

namespace userparameter
{
std::vector<ParameterEntry> ListProgramParameters (const ::ProgramData* record)
{
    std::vector<ParameterEntry> entries;
    if (record == nullptr)
        return entries;

    for (int mainID = 0; mainID < NumProgramAreas; ++mainID)
    {
        for (int subID = 0; subID < GetNumSubIDs (mainID); ++subID)
        {
            ParameterEntry entry;
            entry.id = { (std::int16_t) mainID, (std::int16_t) subID };
            if (! descriptor::GetDescriptor (record, entry.id, entry.descriptor))
                continue;
            const auto& d = entry.descriptor;
            entry.internalValue = descriptor::GetParameter (record->bytes, entry.id, d);
            entry.value = convert::InternalValueToValue (d, entry.internalValue);
            entry.text = convert::InternalValueToString (d, entry.internalValue);
            entry.inEffect = d.enableFunction == nullptr || d.enableFunction (record, entry.id);
            entries.push_back (std::move (entry));
        }
    }
    return entries;
}

const char* GetAreaName (int mainID)
{
    static const char* const names[NumProgramAreas] = { "Common",  "Common 2",      "Timbre A",
                                                        "Timbre A Virtual Patch",   "Timbre B",
                                                        "Timbre B Virtual Patch",   "Effects",
                                                        "Vocoder", "Arpeggiator" };
    return mainID >= 0 && mainID < NumProgramAreas ? names[mainID] : "";
}
} // namespace userparameter
