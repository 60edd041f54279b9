// The command-line tool's info and convert subcommands, run as a separate program.

#include "FileTestHelpers.h"
#include "TimbrixFixtures.h"
#include "data/parameter/UserParameter.h"
#include "file/LibraryFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
const juce::String tool = TARNOMBI_BINARY_DIR "/tarnombi";

std::pair<int, juce::String> runTool (juce::StringArray args)
{
    args.insert (0, tool);
    return tarnombi::test::runProgram (args);
}
} // namespace

TEST (Cli, InfoTsvListsProgramsFavoritesAndPresetInformation)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("cli-info");
    auto library = tarnombi::test::makeSampleLibrary (41);
    library.getProgramData (4).information.comment = "tab\there\nnext line";
    const auto libraryFile = folder.getChildFile ("lib.tolib");
    ASSERT_EQ (x38200_file::LibraryFileWriter (library).writeToFile (libraryFile), 0);

    const auto [status, output] = runTool ({ "info", libraryFile.getFullPathName(), "--tsv" });
    ASSERT_EQ (status, 0) << output;
    juce::StringArray lines;
    lines.addLines (output.trimEnd());
    ASSERT_EQ (lines.size(), 300 + 48);

    juce::StringArray fields;
    fields.addTokens (lines[4], "\t", {});
    ASSERT_EQ (fields.size(), 7);
    EXPECT_EQ (fields[0], "program");
    EXPECT_EQ (fields[1], "4");
    EXPECT_EQ (fields[2], library.getProgramData (4).getProgramName().trimEnd());
    EXPECT_EQ (fields[3], library.getProgramData (4).md5);
    EXPECT_EQ (fields[4], library.getProgramData (4).information.programmer);
    EXPECT_EQ (fields[5], "tab\\there\\nnext line");
    EXPECT_EQ (fields[6], juce::String (userparameter::GetProgramCategoryString (&library.getProgramData (4).rawData)));
    EXPECT_TRUE (fields[6].isNotEmpty());

    fields.clear();
    fields.addTokens (lines[300 + 8 * 2 + 3], "\t", {});
    EXPECT_EQ (fields.joinIntoString ("|"), "favorite|2|3|" + juce::String (library.favoriteData.getFavoriteData (2, 3)));

    // A preset file starts with its seven preset lines.
    x38200_data::PresetData preset;
    preset.information.dataID = "id";
    preset.information.name = "Name";
    preset.information.version = 7;
    const auto presetFile = folder.getChildFile ("p.topreset");
    ASSERT_EQ (x38200_file::PresetFileWriter (preset).writeToFile (presetFile), 0);
    const auto [presetStatus, presetOutput] = runTool ({ "info", "--tsv", presetFile.getFullPathName() });
    ASSERT_EQ (presetStatus, 0);
    EXPECT_TRUE (presetOutput.startsWith ("preset\tdataID\tid\npreset\tname\tName\npreset\tauthor\t\npreset\tcopyright\t\n"
                                          "preset\tupdateDate\t\npreset\tprefix\t\npreset\tversion\t7\nprogram\t0\tINITPROG\t"));
    EXPECT_FALSE (presetOutput.contains ("favorite\t"));

    // People get the kind, the programs numbered from 1 and the favorites.
    const auto [humanStatus, human] = runTool ({ "info", libraryFile.getFullPathName() });
    ASSERT_EQ (humanStatus, 0);
    EXPECT_TRUE (human.startsWith ("lib.tolib: library file, 300 programs"));
    EXPECT_TRUE (human.contains ("  300  " + library.getProgramData (299).getProgramName()));
    EXPECT_TRUE (human.contains ("Favorites"));

    // An older editor's file.
    using namespace tarnombi::test;
    const auto older = folder.getChildFile ("old.X38200_all");
    tarnombi::test::writeWholeFile (older, timbrixFile ({ timbrixProgramSet(), timbrixGlobal(), timbrixBlock ("x", {}) }));
    const auto [olderStatus, olderOutput] = runTool ({ "info", older.getFullPathName() });
    EXPECT_EQ (olderStatus, 0);
    EXPECT_TRUE (olderOutput.contains ("older editor library file, 300 programs"));
    EXPECT_TRUE (olderOutput.contains ("by Prog8"));
}

TEST (Cli, ConvertWritesTheKindOfTheOutputExtension)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("cli-convert");
    const auto library = tarnombi::test::makeSampleLibrary (43);
    const auto libraryFile = folder.getChildFile ("lib.tolib");
    ASSERT_EQ (x38200_file::LibraryFileWriter (library).writeToFile (libraryFile), 0);

    const auto presetFile = folder.getChildFile ("out.topreset");
    auto [status, output] = runTool ({ "convert", libraryFile.getFullPathName(), presetFile.getFullPathName(), "--prefix", "ABCD",
                                       "--name", "My Preset", "--author", "Me", "--data-id", "my-id" });
    ASSERT_EQ (status, 0) << output;
    x38200_data::PresetData preset;
    ASSERT_EQ (x38200_file::PresetFileReader (preset).readFromFile (presetFile), 0);
    EXPECT_EQ (preset.information.prefix, "ABCD");
    EXPECT_EQ (preset.information.name, "My Preset");
    EXPECT_EQ (preset.information.author, "Me");
    EXPECT_EQ (preset.information.dataID, "my-id");
    EXPECT_TRUE (preset.getProgramData (299) == library.getProgramData (299));

    const auto programFile = folder.getChildFile ("one.toprog");
    std::tie (status, output) = runTool ({ "convert", presetFile.getFullPathName(), programFile.getFullPathName(), "--program", "42" });
    ASSERT_EQ (status, 0) << output;
    x38200_data::ProgramData program;
    ASSERT_EQ (x38200_file::ProgramFileReader (program).readFromFile (programFile), 0);
    EXPECT_TRUE (program == library.getProgramData (41));

    // Back to a library: the program file fills program 0.
    const auto back = folder.getChildFile ("back.tolib");
    std::tie (status, output) = runTool ({ "convert", programFile.getFullPathName(), back.getFullPathName() });
    ASSERT_EQ (status, 0) << output;
    x38200_data::LibraryData read;
    ASSERT_EQ (x38200_file::LibraryFileReader (read).readFromFile (back), 0);
    EXPECT_TRUE (read.getProgramData (0) == library.getProgramData (41));

    // Through program dumps and back: the sounds survive, texts and favorites are not carried.
    const auto dumps = folder.getChildFile ("dumps.syx");
    std::tie (status, output) = runTool ({ "convert", libraryFile.getFullPathName(), dumps.getFullPathName() });
    ASSERT_EQ (status, 0) << output;
    EXPECT_EQ (dumps.getSize() % 300, 0);
    const auto fromDumps = folder.getChildFile ("from-dumps.tolib");
    std::tie (status, output) = runTool ({ "convert", dumps.getFullPathName(), fromDumps.getFullPathName() });
    ASSERT_EQ (status, 0) << output;
    ASSERT_EQ (x38200_file::LibraryFileReader (read).readFromFile (fromDumps), 0);
    for (int number = 0; number < 300; ++number)
        ASSERT_EQ (read.getProgramData (number).md5, library.getProgramData (number).md5) << number;
    EXPECT_TRUE (read.favoriteData == x38200_data::FavoriteData());
    const auto brokenDumps = folder.getChildFile ("broken.syx");
    brokenDumps.replaceWithText ("\xF0 not a dump");
    std::tie (status, output) = runTool ({ "convert", brokenDumps.getFullPathName(), folder.getChildFile ("none.tolib").getFullPathName() });
    EXPECT_NE (status, 0);
    EXPECT_FALSE (folder.getChildFile ("none.tolib").exists());

    // Failures: a text for the read code, a non-zero status, nothing written.
    const auto broken = folder.getChildFile ("broken.tolib");
    broken.replaceWithText ("no zip");
    const auto never = folder.getChildFile ("never.tolib");
    std::tie (status, output) = runTool ({ "convert", broken.getFullPathName(), never.getFullPathName() });
    EXPECT_NE (status, 0);
    EXPECT_TRUE (output.contains (x38200_file::getReadErrorString (6))) << output;
    EXPECT_FALSE (never.exists());

    std::tie (status, output) = runTool ({ "convert", libraryFile.getFullPathName(), folder.getChildFile ("x.txt").getFullPathName() });
    EXPECT_EQ (status, 2);
    std::tie (status, output) = runTool ({ "convert", libraryFile.getFullPathName(), folder.getChildFile ("x.toprog").getFullPathName(), "--program", "301" });
    EXPECT_EQ (status, 2);
    std::tie (status, output) = runTool ({ "convert", programFile.getFullPathName(), folder.getChildFile ("y.toprog").getFullPathName(), "--program", "2" });
    EXPECT_EQ (status, 2);
    EXPECT_FALSE (folder.getChildFile ("x.toprog").exists());
    EXPECT_FALSE (folder.getChildFile ("y.toprog").exists());

    std::tie (status, output) = runTool ({ "info", broken.getFullPathName() });
    EXPECT_NE (status, 0);
    EXPECT_TRUE (output.contains (x38200_file::getReadErrorString (6)));
}
