// Reads every parameter of all 300 programs of a library as display text, the way the
// program pages do, and prints the median time of one full pass.
// Target: under 20 ms per pass.

#include "data/ProgramData.h"
#include "data/parameter/UserParameter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace
{
// A library whose programs differ: every parameter area filled with random bytes, so that
// every oscillator and effect type, list and format is met.
x38200_data::LibraryData makeVariedLibrary()
{
    x38200_data::LibraryData library;
    std::mt19937 random (20261211);
    for (int number = 0; number < x38200_data::LibraryData::NumPrograms; ++number)
    {
        ::ProgramData raw = x38200_data::InitProgramData;
        for (int i = 12; i < 316; ++i)
            raw.bytes[i] = (std::uint8_t) (random() & 0xFF);
        library.getProgramData (number).copyFromNativeData (raw);
    }
    return library;
}

size_t readAllParametersAsText (const x38200_data::LibraryData& library)
{
    size_t characters = 0;
    for (int number = 0; number < x38200_data::LibraryData::NumPrograms; ++number)
    {
        const auto* record = &library.getProgramData (number).rawData;
        for (int mainID = 0; mainID < userparameter::NumProgramAreas; ++mainID)
            for (int subID = 0; subID < userparameter::GetNumSubIDs (mainID); ++subID)
                characters += userparameter::GetParameterValueString (record, { (std::int16_t) mainID, (std::int16_t) subID }).size();
    }
    return characters;
}
} // namespace

int main()
{
    const auto library = makeVariedLibrary();
    constexpr int runs = 31;
    std::vector<double> milliseconds;
    size_t characters = 0;
    for (int run = 0; run < runs; ++run)
    {
        const auto start = std::chrono::steady_clock::now();
        characters = readAllParametersAsText (library);
        const auto end = std::chrono::steady_clock::now();
        milliseconds.push_back (std::chrono::duration<double, std::milli> (end - start).count());
    }
    std::sort (milliseconds.begin(), milliseconds.end());
    std::printf ("parameter text of 300 programs: median %.3f ms, min %.3f ms, max %.3f ms over %d runs (%zu characters)\n",
                 milliseconds[runs / 2], milliseconds.front(), milliseconds.back(), runs, characters);
    std::printf ("target: under 20 ms: %s\n", milliseconds[runs / 2] < 20.0 ? "met" : "NOT met");
    return milliseconds[runs / 2] < 20.0 ? 0 : 1;
}
