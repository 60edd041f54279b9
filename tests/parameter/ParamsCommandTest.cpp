#include "data/ProgramData.h"
#include "file/LibraryFiles.h"
#include "data/parameter/UserParameter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct ToolResult
{
    int exitCode = -1;
    juce::String output;
};

ToolResult runTool (const juce::StringArray& args)
{
    juce::StringArray command { juce::String (TARNOMBI_BINARY_DIR) + "/tarnombi" };
    command.addArray (args);
    juce::ChildProcess process;
    ToolResult result;
    if (! process.start (command, juce::ChildProcess::wantStdOut))
        return result;
    result.output = process.readAllProcessOutput();
    process.waitForProcessToFinish (10000);
    result.exitCode = (int) process.getExitCode();
    return result;
}

// A library file whose program 1 is the init program and program 2 has a layered voice mode.
juce::File writeRecordFile()
{
    ::ProgramData first, second;
    userparameter::InitData (&first);
    userparameter::InitData (&second);
    userparameter::SetParameterValueInternal (&second, { 0, 12 }, 3); // Brass
    userparameter::SetParameterValueInternal (&second, { 0, 13 }, 1); // Layer
    userparameter::SetParameterValueInternal (&second, { 2, 12 }, 97); // PCM: no oscillator controls

    x38200_data::LibraryData library;
    library.getProgramData (0).copyFromNativeData (first);
    library.getProgramData (1).copyFromNativeData (second);
    auto file = tarnombi::test::makeTemporaryFolder ("params").getChildFile ("two.tolib");
    EXPECT_EQ (x38200_file::LibraryFileWriter (library).writeToFile (file), 0);
    return file;
}
} // namespace

TEST (ParamsCommand, TsvListsEveryParameterWithItsTextAndState)
{
    const auto file = writeRecordFile();
    const auto result = runTool ({ "params", file.getFullPathName(), "--program", "2", "--tsv" });
    ASSERT_EQ (0, result.exitCode) << result.output;

    juce::StringArray lines;
    lines.addLines (result.output.trimEnd());
    // 16 + 1 + 62 + 18 + 62 + 18 + 11 + 34 + 19 rows, each with a descriptor.
    EXPECT_EQ (241, lines.size());
    EXPECT_EQ (juce::String ("0\t0\tProgram Name 1\t73\t73\tI\t1"), lines[0]);
    EXPECT_TRUE (lines.contains ("0\t12\tCategory\t3\t3\tBrass\t1"));
    EXPECT_TRUE (lines.contains ("0\t14\tTimb.B MIDI Ch\t0\t0\tGlobal\t1")); // in effect when layered
    EXPECT_TRUE (lines.contains ("0\t15\tSplit Key\t60\t60\tC 4\t0"));
    EXPECT_TRUE (lines.contains ("2\t12\tType\t97\t97\t[PCM] A.Piano\t1"));
    EXPECT_TRUE (lines.contains ("2\t15\t\t0\t0\t\t0")); // the PCM wave has no control
    EXPECT_TRUE (lines.contains ("7\t8\tFormant Shift\t2\t0\t+0\t0"));
    EXPECT_EQ (juce::String ("8\t18\tStep8\t1\t1\tOn\t1"), lines[lines.size() - 1]);

    for (const auto& line : lines)
        EXPECT_EQ (7, juce::StringArray::fromTokens (line, "\t", {}).size()) << line;
}

TEST (ParamsCommand, ListingGroupsByAreaAndMarksParametersNotInEffect)
{
    const auto file = writeRecordFile();
    const auto result = runTool ({ "params", file.getFullPathName(), "--program", "1" });
    ASSERT_EQ (0, result.exitCode) << result.output;
    EXPECT_TRUE (result.output.startsWith ("Program 1: \"INITPROG    \" (Synth)"));
    for (const char* area : { "\nCommon\n", "\nTimbre A\n", "\nTimbre B Virtual Patch\n", "\nEffects\n", "\nArpeggiator\n" })
        EXPECT_TRUE (result.output.contains (area)) << area;
    EXPECT_TRUE (result.output.contains ("Osc1 Waveform"));
    EXPECT_TRUE (result.output.contains ("Split Key                  C 4                   (not in effect)"));
}

TEST (ParamsCommand, RefusesBadArguments)
{
    const auto file = writeRecordFile();
    const juce::StringArray cases[] = {
        { "params", file.getFullPathName() },
        { "params", file.getFullPathName(), "--program", "0" },
        { "params", file.getFullPathName(), "--program", "301" },
        { "params", file.getFullPathName(), "--program", "x" },
        { "params", file.getSiblingFile ("missing.tolib").getFullPathName(), "--program", "1" },
    };
    for (const auto& args : cases)
    {
        const auto result = runTool (args);
        EXPECT_NE (0, result.exitCode) << args.joinIntoString (" ");
        EXPECT_TRUE (result.output.isEmpty()) << args.joinIntoString (" ");
    }
}
