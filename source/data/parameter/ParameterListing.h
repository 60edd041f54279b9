#pragma once

#include "data/parameter/UserParameter.h"

#include <string>
#include <vector>

namespace userparameter
{
// One parameter of a program as a reader sees it.
struct ParameterEntry
{
    UserParameterID id;
    UserParameterDescriptor descriptor;
    std::int16_t internalValue = 0;
    std::int16_t value = 0;
    std::string text;
    bool inEffect = false;
};

// Every parameter of a program that has a descriptor: main IDs 0 to 8 in order, and
// inside each area the sub IDs in order.
std::vector<ParameterEntry> ListProgramParameters (const ::ProgramData* record);

// The name of a program area ("Timbre A"), empty for other main IDs.
const char* GetAreaName (int mainID);
} // namespace userparameter
