// Receives and writes the whole library with the command-line tool against tarnombi-emulator
// over a private JACK server (dummy driver, -p 64), and prints the wall time and the processor
// time of the tarnombi process.
//   unpaced: the emulator answers at once. Targets: under 3 s wall, under 0.3 s processor time.
//   paced:   the emulator's output is throttled to 31 250 baud. The wire needs 113 079 bytes
//            / 3 125 bytes per second = 36.2 s; target within 3 % of it, under 1 s processor time.
// Usage: bench_TransferLibrary [unpaced|paced] (both by default). Build the tools first
// (make tarnombi tarnombi-emulator).

#include "midi/JackTestServer.cpp"

#include "data/ProgramData.h"
#include "file/LibraryFiles.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace tarnombi::test;

namespace
{
double childProcessorSeconds()
{
    rusage usage {};
    ::getrusage (RUSAGE_CHILDREN, &usage);
    return (double) usage.ru_utime.tv_sec + (double) usage.ru_stime.tv_sec
           + ((double) usage.ru_utime.tv_usec + (double) usage.ru_stime.tv_usec) / 1.0e6;
}

struct Figure
{
    double wall = 0, cpu = 0;
    int status = -1;
};

// Runs the tool once; its processor time is what the reaped child adds to RUSAGE_CHILDREN.
Figure runTool (const juce::StringArray& arguments, const juce::String& emulatorName)
{
    juce::StringArray command { getBuiltProgram ("tarnombi").getFullPathName() };
    command.addArray (arguments);
    command.addArray ({ "--api", "jack", "--lang", "en", "--in", emulatorName + " Out - MIDI", "--out", emulatorName + " In - MIDI" });
    const double cpuBefore = childProcessorSeconds();
    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto result = runProgram (command, 120000);
    Figure figure;
    figure.wall = (juce::Time::getMillisecondCounterHiRes() - start) / 1000.0;
    figure.cpu = childProcessorSeconds() - cpuBefore;
    figure.status = result.exitStatus;
    if (result.exitStatus != 0)
        std::printf ("  tarnombi failed (%d): %s\n", result.exitStatus, result.output.toRawUTF8());
    return figure;
}

Figure median (std::vector<Figure> figures)
{
    std::sort (figures.begin(), figures.end(), [] (auto& a, auto& b) { return a.wall < b.wall; });
    return figures[figures.size() / 2];
}

bool startEmulator (Process& emulator, const juce::String& name, const juce::StringArray& extra)
{
    juce::StringArray command { getBuiltProgram ("tarnombi-emulator").getFullPathName(), "--api", "jack", "--name", name };
    command.addArray (extra);
    return startProcess (emulator, command) && waitForOutput (emulator, "ready");
}
} // namespace

int main (int argc, char** argv)
{
    const juce::String only = argc > 1 ? argv[1] : "";
    redirectUserFolders();
    juce::ScopedJuceInitialiser_GUI juce;
    JackTestServer jack;
    if (! jack.isAvailable())
    {
        std::printf ("No JACK server: %s\n", jack.getProblem().toRawUTF8());
        return 1;
    }
    const auto folder = makeTemporaryFolder ("bench-transfer");
    const auto received = folder.getChildFile ("received.tolib");
    x38200_data::LibraryData library;
    const auto source = folder.getChildFile ("library.tolib");
    x38200_file::LibraryFileWriter (library).writeToFile (source);

    if (only.isEmpty() || only == "unpaced")
    {
        Process emulator;
        if (! startEmulator (emulator, "Bench Unpaced", {}))
            return 1;
        std::vector<Figure> receives, writes;
        for (int run = 0; run < 5; ++run)
        {
            receives.push_back (runTool ({ "receive-library", received.getFullPathName() }, "Bench Unpaced"));
            writes.push_back (runTool ({ "write-library", source.getFullPathName(), "--yes" }, "Bench Unpaced"));
        }
        stopProcess (emulator);
        const auto r = median (receives);
        const auto w = median (writes);
        std::printf ("unpaced receive library: %.3f s wall, %.3f s processor (median of 5; targets < 3 s, < 0.3 s)\n", r.wall, r.cpu);
        std::printf ("unpaced write library:   %.3f s wall, %.3f s processor (median of 5; targets < 3 s, < 0.3 s)\n", w.wall, w.cpu);
    }

    if (only.isEmpty() || only == "paced")
    {
        Process emulator;
        if (! startEmulator (emulator, "Bench Paced", { "--baud", "31250" }))
            return 1;
        const auto r = runTool ({ "receive-library", received.getFullPathName() }, "Bench Paced");
        stopProcess (emulator);
        const double bound = 113079.0 / 3125.0;
        std::printf ("paced receive library (31 250 baud): %.2f s wall = %+.1f %% of the %.2f s wire bound, %.3f s processor "
                     "(targets within 3 %%, < 1 s)\n",
                     r.wall, (r.wall / bound - 1.0) * 100.0, bound, r.cpu);
    }
    return 0;
}
