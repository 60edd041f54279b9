// The readers and writers of library, program and preset files, the extension
// checker, the error texts, and saving that never destroys the previous file.

#include "FileTestHelpers.h"
#include "application/CPXRResource.h"
#include "file/LibraryFiles.h"
#include "file/ZipLibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace x38200_file;

TEST (LibraryFiles, ReadersTakeWhatTheyNeedFromAnyArchive)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("readers");
    const auto library = tarnombi::test::makeSampleLibrary (11);
    const auto libraryFile = folder.getChildFile ("lib.tolib");
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (libraryFile), 0);

    x38200_data::PresetData preset;
    preset.information.dataID = "p";
    const auto presetFile = folder.getChildFile ("p.topreset");
    ASSERT_EQ (PresetFileWriter (preset).writeToFile (presetFile), 0);

    // A preset file is no library (no favorites) and a library no preset.
    x38200_data::LibraryData libraryTarget;
    EXPECT_EQ (LibraryFileReader (libraryTarget).readFromFile (presetFile), ReadErrorFavoriteDataMissing);
    x38200_data::PresetData presetTarget;
    EXPECT_EQ (PresetFileReader (presetTarget).readFromFile (libraryFile), ReadErrorPresetInformationMissing);

    // The program reader takes program 0 of a library.
    x38200_data::ProgramData program;
    ASSERT_EQ (ProgramFileReader (program).readFromFile (libraryFile), 0);
    EXPECT_TRUE (program == library.getProgramData (0));

    // A program file round trip, and a program file given to the library reader.
    const auto programFile = folder.getChildFile ("one.toprog");
    ASSERT_EQ (ProgramFileWriter (library.getProgramData (42)).writeToFile (programFile), 0);
    x38200_data::ProgramData readProgram;
    ASSERT_EQ (ProgramFileReader (readProgram).readFromFile (programFile), 0);
    EXPECT_TRUE (readProgram == library.getProgramData (42));
    EXPECT_EQ (readProgram.md5, library.getProgramData (42).md5);
    EXPECT_EQ (LibraryFileReader (libraryTarget).readFromFile (programFile), ReadErrorFavoriteDataMissing);

    // A failed read leaves the target untouched.
    x38200_data::ProgramData untouched;
    untouched.information.comment = "keep";
    EXPECT_EQ (ProgramFileReader (untouched).readFromFile (presetFile.getSiblingFile ("missing.toprog")), 6);
    EXPECT_EQ (untouched.information.comment, "keep");
}

TEST (LibraryFiles, ShortLibraryKeepsInitProgramsBeyondItsCount)
{
    const auto library = tarnombi::test::makeSampleLibrary (12);
    ZipLibraryFileWriter writer;
    writer.addFavoriteData (library.favoriteData);
    for (int i = 0; i < 10; ++i)
        writer.addProgramData (library.getProgramData (i));
    const auto file = tarnombi::test::makeTemporaryFolder ("short").getChildFile ("ten.tolib");
    ASSERT_EQ (writer.writeToFile (file), 0);

    auto target = tarnombi::test::makeSampleLibrary (13);
    ASSERT_EQ (LibraryFileReader (target).readFromFile (file), 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE (target.getProgramData (i) == library.getProgramData (i));
    const x38200_data::ProgramData init;
    for (int i = 10; i < 300; ++i)
        EXPECT_EQ (target.getProgramData (i).md5, init.md5);
    EXPECT_TRUE (target.favoriteData == library.favoriteData);
}

TEST (LibraryFiles, ExtensionChecker)
{
    const file::FileExtensionChecker checker ("tolib");
    EXPECT_EQ (checker.getExtension(), ".tolib");
    EXPECT_TRUE (checker.hasExtension (juce::File ("/tmp/BANK.TOLIB")));
    EXPECT_FALSE (checker.hasExtension (juce::File ("/tmp/bank.toprog")));
    EXPECT_EQ (checker.getFileWithExtension (juce::File ("/tmp/x/Bank.txt")).getFullPathName(), "/tmp/x/Bank.tolib");
    EXPECT_EQ (checker.getFileWithExtension (juce::File ("/tmp/x/Bank")).getFullPathName(), "/tmp/x/Bank.tolib");
    EXPECT_EQ (file::FileExtensionChecker (".X38200_all").getFileWithExtension (juce::File ("/a/b.c.d")).getFullPathName(),
               "/a/b.c.X38200_all");
}

TEST (LibraryFiles, ErrorKeysAndTexts)
{
    const char* readKeys[] = { "ReadErrorNoError", "ReadErrorOpenFile", "ReadErrorInvalidType", "ReadErrorReadData",
                               "ReadErrorInvalidProgramNumber", "ReadErrorDifferentTargetDevice",
                               "ReadErrorFailedToUncompressZipFile", "ReadErrorFailedToParseXmlDocument",
                               "ReadErrorInvalidXmlDocument", "ReadErrorFavoriteDataMissing",
                               "ReadErrorProgramDataMissing", "ReadErrorPresetInformationMissing",
                               "ReadErrorFailedToReadFavoriteData", "ReadErrorFailedToReadProgramBinary",
                               "ReadErrorFailedToReadProgramInformation", "ReadErrorFailedToReadPresetInformation",
                               "ReadErrorFailedToImportPresetData" };
    ASSERT_EQ ((int) std::size (readKeys), (int) NumReadErrors);
    for (int code = 0; code < NumReadErrors; ++code)
    {
        EXPECT_EQ (getReadErrorKey (code), readKeys[code]);
        EXPECT_EQ (getReadErrorString (code), getLocalizedString (readKeys[code]));
    }

    const char* writeKeys[] = { "WriteErrorNoError", "WriteErrorDeleteFile", "WriteErrorOpenFile", "WriteErrorWriteData" };
    for (int code = 0; code < NumWriteErrors; ++code)
    {
        EXPECT_EQ (getWriteErrorKey (code), writeKeys[code]);
        EXPECT_EQ (getWriteErrorString (code), getLocalizedString (writeKeys[code]));
    }

    if (getLocalizedString ("Common_Language") == "en")
    {
        EXPECT_EQ (getWriteErrorString (1), "Cannot delete the existing file.");
        EXPECT_EQ (getReadErrorString (6), "The file is not supported format file.");
        EXPECT_EQ (getReadErrorString (16), "Failed to import preset data.");
    }

    EXPECT_EQ (getReadErrorKey (17), "CommonInternalError");
    EXPECT_EQ (getWriteErrorKey (-1), "CommonInternalError");
}

TEST (LibraryFiles, SavingNeverDestroysThePreviousFile)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("safe-save");
    const auto target = folder.getChildFile ("bank.tolib");
    const auto library = tarnombi::test::makeSampleLibrary (21);

    // Replacing a larger existing file leaves exactly the new archive.
    juce::MemoryBlock junk (2 * 1024 * 1024);
    junk.fillWith (0x5A);
    target.replaceWithData (junk.getData(), junk.getSize());
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (target), 0);
    x38200_data::LibraryData read;
    ASSERT_EQ (LibraryFileReader (read).readFromFile (target), 0);
    EXPECT_TRUE (read == library);
    const auto saved = tarnombi::test::readWholeFile (target);

    // A write that fails half-way leaves the old file byte for byte and no stray file.
    const auto result = file::replaceFileSafely (target, [] (juce::OutputStream& out) {
        out.writeString ("half of a file");
        return false;
    });
    EXPECT_EQ (result, WriteErrorWriteData);
    EXPECT_EQ (tarnombi::test::readWholeFile (target), saved);
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, "*"), 1);
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1);

    // A folder in the way cannot be replaced; a missing folder cannot be written into.
    const auto directory = folder.getChildFile ("dir.tolib");
    directory.createDirectory();
    EXPECT_EQ (LibraryFileWriter (library).writeToFile (directory), WriteErrorDeleteFile);
    EXPECT_TRUE (directory.isDirectory());
    EXPECT_EQ (LibraryFileWriter (library).writeToFile (folder.getChildFile ("missing/bank.tolib")), WriteErrorOpenFile);

    // Writing through a link replaces the file it points at.
    const auto link = folder.getChildFile ("link.tolib");
    ASSERT_TRUE (target.createSymbolicLink (link, true));
    ASSERT_EQ (ProgramFileWriter (library.getProgramData (3)).writeToFile (link), 0);
    EXPECT_TRUE (link.isSymbolicLink());
    x38200_data::ProgramData program;
    ASSERT_EQ (ProgramFileReader (program).readFromFile (target), 0);
    EXPECT_TRUE (program == library.getProgramData (3));
}
