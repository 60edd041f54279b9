// Import of the older editor's ".X38200_all" files.

#include "FileTestHelpers.h"
#include "TimbrixFixtures.h"

#include <juce_cryptography/juce_cryptography.h>
#include "file/LibraryFiles.h"
#include "file/TimbrixEditorLibraryDataImporter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

namespace
{
int importBlock (const juce::MemoryBlock& content, x38200_data::LibraryData& library)
{
    static const auto folder = makeTemporaryFolder ("timbrix");
    const auto file = folder.getChildFile ("fixture.X38200_all");
    tarnombi::test::writeWholeFile (file, content);
    return x38200_file::TimbrixEditorLibraryDataImporter (library).readFromFile (file);
}

void expectProgramsFromFile (const x38200_data::LibraryData& library)
{
    for (int n : { 0, 7, 8, 299 })
    {
        const auto& program = library.getProgramData (n);
        EXPECT_EQ (program.rawData.bytes[0], n & 0x7F) << n;
        EXPECT_EQ (program.rawData.bytes[319], (n + 319) & 0x7F) << n;
        EXPECT_EQ (program.information.programmer, "Prog" + juce::String (n));
        EXPECT_EQ (program.information.comment, "Comment " + juce::String (n));
        EXPECT_EQ (program.information.youTubeLink, "https://example.com/v");
        EXPECT_EQ (program.md5, juce::MD5 (program.rawData.bytes, 320).toHexString());
    }
}
} // namespace

TEST (TimbrixEditorImport, BlocksInAnyOrderImportCompletely)
{
    x38200_data::LibraryData library;
    const auto file = timbrixFile ({ timbrixGlobal (100), timbrixBlock ("Unknown", juce::MemoryBlock (77, true)), timbrixProgramSet() });
    ASSERT_EQ (importBlock (file, library), 0);
    expectProgramsFromFile (library);
    EXPECT_EQ (library.favoriteData.getFavoriteData (0, 0), 100);
    EXPECT_EQ (library.favoriteData.getFavoriteData (1, 0), 108);
    EXPECT_EQ (library.favoriteData.getFavoriteData (5, 7), 147);
}

TEST (TimbrixEditorImport, WithoutGlobalBlockTheDefaultFavoritesStay)
{
    x38200_data::LibraryData library;
    const auto unknown = timbrixBlock ("Other", juce::MemoryBlock (5, true));
    ASSERT_EQ (importBlock (timbrixFile ({ timbrixProgramSet(), unknown, unknown }), library), 0);
    expectProgramsFromFile (library);
    EXPECT_TRUE (library.favoriteData == x38200_data::FavoriteData());
}

TEST (TimbrixEditorImport, LargerProgramBlocksAreSkippedByTheirDeclaredSize)
{
    x38200_data::LibraryData library;
    const auto file = timbrixFile ({ timbrixProgramSet (300, 64), timbrixGlobal(), timbrixBlock ("x", {}) });
    ASSERT_EQ (importBlock (file, library), 0);
    expectProgramsFromFile (library);
}

TEST (TimbrixEditorImport, TextFieldsAreEightBitAndMayFillTheirField)
{
    juce::MemoryBlock data (536, true);
    putText (data, 384, "ABCDEFGHIJKLMNOPQRSTUVWX"); // 24 bytes, no terminator
    data[408] = (char) 0xE9;                          // one 8-bit character
    juce::MemoryBlock programs;
    for (int i = 0; i < 300; ++i)
    {
        const auto block = timbrixBlock ("38200PrgD", data);
        programs.append (block.getData(), block.getSize());
    }
    x38200_data::LibraryData library;
    ASSERT_EQ (importBlock (timbrixFile ({ timbrixBlock ("38200PrgS", programs, 300), timbrixGlobal(), timbrixGlobal() }), library), 0);
    EXPECT_EQ (library.getProgramData (5).information.programmer, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ (library.getProgramData (5).information.comment, juce::String::charToString ((juce::juce_wchar) 0xE9));
}

TEST (TimbrixEditorImport, RefusedFiles)
{
    const auto good = timbrixFile ({ timbrixProgramSet(), timbrixGlobal(), timbrixBlock ("x", {}) });

    auto wrongProgramId = timbrixProgramSet();
    wrongProgramId.copyFrom ("38200XXXX", 32 + 5 * 568, 9);

    juce::MemoryBlock headerOnly (good.getData(), 32);
    juce::MemoryBlock shortHeader (good.getData(), 20);

    struct Case
    {
        const char* what;
        juce::MemoryBlock content;
        int expected;
    };
    const std::vector<Case> cases {
        { "header count 2", timbrixFile ({ timbrixProgramSet(), timbrixGlobal(), timbrixBlock ("x", {}) }, 2), 2 },
        { "wrong file identifier", [&] { auto c = good; c.copyFrom ("38200AllX", 0, 9); return c; }(), 2 },
        { "program set of 299", timbrixFile ({ timbrixProgramSet (299), timbrixGlobal(), timbrixBlock ("x", {}) }), 4 },
        { "wrong program identifier", timbrixFile ({ wrongProgramId, timbrixGlobal(), timbrixBlock ("x", {}) }), 2 },
        { "only two top-level blocks", timbrixFile ({ timbrixProgramSet(), timbrixGlobal() }), 2 },
        { "header only", headerOnly, 2 },
        { "shorter than a header", shortHeader, 2 },
        { "empty file", {}, 2 },
        { "program set declares fewer programs than present", timbrixFile ({ timbrixProgramSet (300, 0, 299), timbrixGlobal(), timbrixBlock ("x", {}) }), 2 },
        { "global block shorter than its record", timbrixFile ({ timbrixBlock ("38200GlbD", juce::MemoryBlock (100, true)), timbrixProgramSet(), timbrixBlock ("x", {}) }), 2 },
        { "block with a negative size", timbrixFile ({ timbrixHeader ("x", -64, 0), timbrixProgramSet(), timbrixGlobal() }), 2 },
    };
    for (const auto& c : cases)
    {
        x38200_data::LibraryData library;
        EXPECT_EQ (importBlock (c.content, library), c.expected) << c.what;
    }

    // A file that ends anywhere inside its blocks is refused, never read past its end.
    for (size_t cut = 32; cut < good.getSize(); cut += 997)
    {
        x38200_data::LibraryData library;
        EXPECT_EQ (importBlock (juce::MemoryBlock (good.getData(), cut), library), 2) << "cut at " << cut;
    }

    x38200_data::LibraryData library;
    EXPECT_EQ (x38200_file::TimbrixEditorLibraryDataImporter (library).readFromFile (juce::File ("/nonexistent/a.X38200_all")), 1);
    EXPECT_EQ (x38200_file::TimbrixEditorLibraryDataImporter (library).readFromFile (makeTemporaryFolder ("dir.X38200_all")), 1);
}
