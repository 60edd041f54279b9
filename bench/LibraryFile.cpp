// Reading and writing a library file of 300 programs: median times of repeated runs.
//   make bench_LibraryFile && ./bench_LibraryFile [rounds]

#include "data/ProgramData.h"
#include "file/LibraryFiles.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
x38200_data::LibraryData makeLibrary()
{
    x38200_data::LibraryData library;
    juce::Random random (99);
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
    {
        ::ProgramData raw;
        for (auto& byte : raw.bytes)
            byte = (std::uint8_t) random.nextInt (128);
        auto& program = library.getProgramData (i);
        program.copyFromNativeData (raw);
        program.information.programmer = "Programmer " + juce::String (i);
        program.information.comment = "A comment about program " + juce::String (i) + " and how it sounds.";
    }
    return library;
}

double median (std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main (int argc, char** argv)
{
    tarnombi::test::redirectUserFolders();
    juce::ScopedJuceInitialiser_GUI juce;

    const int rounds = argc > 1 ? std::max (1, std::atoi (argv[1])) : 50;
    const auto library = makeLibrary();
    const auto file = tarnombi::test::makeTemporaryFolder ("bench").getChildFile ("library.tolib");

    std::vector<double> writeTimes, readTimes;
    for (int round = 0; round < rounds; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        if (x38200_file::LibraryFileWriter (library).writeToFile (file) != 0)
        {
            std::fprintf (stderr, "write failed\n");
            return 1;
        }
        const auto written = std::chrono::steady_clock::now();
        x38200_data::LibraryData read;
        if (x38200_file::LibraryFileReader (read).readFromFile (file) != 0 || ! (read == library))
        {
            std::fprintf (stderr, "read failed\n");
            return 1;
        }
        const auto done = std::chrono::steady_clock::now();
        writeTimes.push_back (std::chrono::duration<double, std::milli> (written - start).count());
        readTimes.push_back (std::chrono::duration<double, std::milli> (done - written).count());
    }

    std::printf ("library file of 300 programs, %lld bytes, %d rounds\n", (long long) file.getSize(), rounds);
    std::printf ("write: median %.2f ms (target under 30 ms)\n", median (writeTimes));
    std::printf ("read:  median %.2f ms (target under 30 ms)\n", median (readTimes));
    return 0;
}
