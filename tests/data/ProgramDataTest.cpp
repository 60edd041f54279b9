#include "data/DataCenter.h"
#include "data/ProgramData.h"
#include "support/TestSupport.h"

#include <juce_cryptography/juce_cryptography.h>

#include <gtest/gtest.h>

#include <cstdio>

using namespace x38200_data;

namespace
{
// Captures what a call writes to standard output.
std::string captureStdout (const std::function<void()>& call)
{
    std::fflush (stdout);
    char path[] = "/tmp/tarnombi-stdout-XXXXXX";
    const int fd = ::mkstemp (path);
    const int saved = ::dup (1);
    ::dup2 (fd, 1);
    call();
    std::fflush (stdout);
    ::dup2 (saved, 1);
    ::close (saved);
    ::close (fd);
    const auto text = juce::File (path).loadFileAsString().toStdString();
    ::unlink (path);
    return text;
}
} // namespace

TEST (ProgramData, InitProgramBytesNameAndDigest)
{
    x38200_data::ProgramData program;
    EXPECT_EQ (program.getProgramName(), "INITPROG    ");
    // Spot checks across the whole init record.
    const std::pair<int, int> bytes[] = { { 0, 0x49 }, { 15, 0x3C }, { 52, 0x7F }, { 63, 0x64 }, { 124, 0x02 }, { 127, 0x40 },
                                          { 236, 0x00 }, { 239, 0x05 }, { 248, 0x64 }, { 294, 0x00 }, { 296, 0x78 },
                                          { 308, 0xFF }, { 319, 0x00 } };
    for (auto [offset, value] : bytes)
        EXPECT_EQ (program.rawData.bytes[offset], value) << "offset " << offset;

    EXPECT_EQ (program.md5, juce::MD5 (InitProgramData.bytes, 320).toHexString());
    EXPECT_EQ (program.md5.length(), 32);
    EXPECT_EQ (program.md5, program.md5.toLowerCase());

    x38200_data::ProgramData blank;
    blank.initializeWithoutName();
    EXPECT_EQ (blank.getProgramName(), "            ");
    EXPECT_NE (blank.md5, program.md5);
    EXPECT_EQ (std::memcmp (blank.rawData.bytes + 12, InitProgramData.bytes + 12, 308), 0);
}

TEST (ProgramData, NameStopsAtZeroOrHighBitBytes)
{
    x38200_data::ProgramData program;
    std::memcpy (program.rawData.bytes, "ABCDEFGHIJKL", 12);
    EXPECT_EQ (program.getProgramName(), "ABCDEFGHIJKL");

    program.rawData.bytes[5] = 0x80;
    EXPECT_EQ (program.getProgramName(), "ABCDE");
    EXPECT_EQ (program.rawData.bytes[5], 0x80); // the raw byte stays

    program.rawData.bytes[5] = 0xFF;
    EXPECT_EQ (program.getProgramName(), "ABCDE");

    program.rawData.bytes[2] = 0;
    EXPECT_EQ (program.getProgramName(), "AB");
}

TEST (ProgramData, CopyFromRawDataLengths)
{
    unsigned char bytes[320];
    for (int i = 0; i < 320; ++i)
        bytes[i] = (unsigned char) (i * 7);

    x38200_data::ProgramData program;
    const auto initDigest = program.md5;
    program.copyFromRawData (bytes, 319);
    EXPECT_EQ (program.md5, initDigest);
    EXPECT_EQ (program.rawData.bytes[1], InitProgramData.bytes[1]);

    program.copyFromRawData (bytes, 320);
    EXPECT_EQ (std::memcmp (program.rawData.bytes, bytes, 320), 0);
    EXPECT_EQ (program.md5, juce::MD5 (bytes, 320).toHexString());

    program.copyFromRawData (juce::MemoryBlock (bytes, 100));
    EXPECT_EQ (std::memcmp (program.rawData.bytes, bytes, 100), 0);
    for (int i = 100; i < 320; ++i)
        ASSERT_EQ (program.rawData.bytes[i], 0) << i;
    EXPECT_EQ (program.md5, juce::MD5 (program.rawData.bytes, 320).toHexString());

    // A longer block gives its first 320 bytes.
    juce::MemoryBlock longer (bytes, 320);
    longer.append (bytes, 50);
    program.copyFromRawData (longer);
    EXPECT_EQ (std::memcmp (program.rawData.bytes, bytes, 320), 0);
}

TEST (ProgramData, InitializeKeepsInformation)
{
    x38200_data::ProgramData program;
    program.information.comment = "warm pad";
    program.rawData.bytes[20] = 0x55;
    program.updateMD5();
    program.initialize();
    EXPECT_EQ (program.rawData.bytes[20], InitProgramData.bytes[20]);
    EXPECT_EQ (program.information.comment, "warm pad");
    EXPECT_EQ (program.md5, x38200_data::ProgramData().md5);
}

TEST (LibraryData, InvalidNumbersGiveTheSpareProgramAndOneErrorLine)
{
    LibraryData library;
    for (int number : { 300, -1 })
    {
        x38200_data::ProgramData* program = nullptr;
        const auto output = captureStdout ([&] { program = &library.getProgramData (number); });
        EXPECT_EQ (output, "Program Number Error: " + std::to_string (number) + "\n");
        const auto* first = &library.programs.front();
        EXPECT_TRUE (program < first || program > first + LibraryData::NumPrograms - 1);

        // Writes into the spare program never reach the library.
        program->rawData.bytes[0] = 'X';
        for (int n = 0; n < LibraryData::NumPrograms; ++n)
            ASSERT_EQ (library.programs[(size_t) n].rawData.bytes[0], 'I');
    }

    PresetData preset;
    EXPECT_EQ (captureStdout ([&] { preset.getProgramData (300); }), "Preset Program Number Error: 300\n");
}

TEST (LibraryData, CopiesProgramsAndFavoritesButNotTheSpareProgram)
{
    LibraryData a;
    a.getProgramData (7).information.programmer = "me";
    a.getProgramData (7).rawData.bytes[0] = 'Z';
    a.favoriteData.setFavoriteData (5, 7, 299);

    LibraryData b;
    b = a;
    EXPECT_TRUE (b == a);
    EXPECT_EQ (b.getProgramData (7).information.programmer, "me");
    EXPECT_EQ (b.favoriteData.getFavoriteData (5, 7), 299);

    b.initialize();
    EXPECT_EQ (b.getProgramData (7).getProgramName(), "INITPROG    ");
    EXPECT_EQ (b.favoriteData.getFavoriteData (5, 7), 207);
    EXPECT_EQ (b.favoriteData.getFavoriteData (0, 1), 35);
}

TEST (PresetLibrary, IndexRules)
{
    PresetLibrary presets;
    EXPECT_EQ (presets.getPresetData (0).getProgramData (0).getProgramName(), "INITPROG    ");

    for (auto name : { "A", "B", "C" })
    {
        PresetData preset;
        preset.information.name = name;
        presets.add (preset);
    }
    presets.remove (-1);
    presets.remove (3);
    EXPECT_EQ (presets.getNumPresetData(), 3);
    presets.remove (1);
    EXPECT_EQ (presets.getNumPresetData(), 2);
    EXPECT_EQ (presets.getPresetData (1).information.name, "C");
    EXPECT_TRUE (presets.getPresetData (2).information.name.isEmpty());
    presets.clear();
    EXPECT_EQ (presets.getNumPresetData(), 0);
}
