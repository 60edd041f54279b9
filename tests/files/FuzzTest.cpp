// Mutated library files and older editor files: every read ends with a result code,
// never a crash or a read outside the data (run under AddressSanitizer with
// -DTARNOMBI_SANITIZE=ON to check the latter).

#include "FileTestHelpers.h"
#include "TimbrixFixtures.h"
#include "file/LibraryFiles.h"
#include "file/TimbrixEditorLibraryDataImporter.h"
#include "file/ZipLibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Overwrites, deletes, inserts or cuts bytes; more mutations as the round goes on.
juce::MemoryBlock mutate (const juce::MemoryBlock& original, juce::Random& random)
{
    auto bytes = original;
    const auto numMutations = 1 + random.nextInt (8);
    for (int m = 0; m < numMutations && bytes.getSize() > 4; ++m)
    {
        const auto size = (int) bytes.getSize();
        const auto position = random.nextInt (size);
        switch (random.nextInt (6))
        {
            case 0: bytes[(size_t) position] = (char) random.nextInt (256); break;
            case 1: bytes[(size_t) position] ^= (char) (1 << random.nextInt (8)); break;
            case 2: bytes.removeSection ((size_t) position, (size_t) juce::jmin (size - position, 1 + random.nextInt (64))); break;
            case 3:
            {
                juce::MemoryBlock inserted ((size_t) (1 + random.nextInt (16)));
                for (size_t i = 0; i < inserted.getSize(); ++i)
                    inserted[i] = (char) random.nextInt (256);
                bytes.insert (inserted.getData(), inserted.getSize(), (size_t) position);
                break;
            }
            case 4: bytes.setSize ((size_t) position); break;
            default:
            {
                // Large values in likely size fields.
                const juce::uint32 values[] = { 0, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 320, 536, 65535 };
                const auto value = values[random.nextInt (7)];
                for (int i = 0; i < 4 && position + i < size; ++i)
                    bytes[(size_t) (position + i)] = (char) (value >> (8 * i));
            }
        }
    }
    return bytes;
}
} // namespace

TEST (Fuzz, MutatedLibraryFilesNeverCrash)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("fuzz-library");
    const auto original = folder.getChildFile ("original.tolib");
    ASSERT_EQ (x38200_file::LibraryFileWriter (tarnombi::test::makeSampleLibrary (31)).writeToFile (original), 0);

    // A small archive too, so that mutations often hit headers and directories.
    x38200_file::ZipLibraryFileWriter small;
    small.addFavoriteData ({});
    small.addProgramData ({});
    juce::MemoryOutputStream smallArchive;
    ASSERT_TRUE (small.writeToStream (smallArchive));

    const juce::MemoryBlock seeds[] = { tarnombi::test::readWholeFile (original), smallArchive.getMemoryBlock() };
    juce::Random random (4242);
    const auto file = folder.getChildFile ("mutated.tolib");
    int accepted = 0;
    for (int round = 0; round < 600; ++round)
    {
        const auto bytes = mutate (seeds[round % 2], random);
        tarnombi::test::writeWholeFile (file, bytes);
        x38200_data::LibraryData library;
        const auto result = x38200_file::LibraryFileReader (library).readFromFile (file);
        ASSERT_GE (result, 0);
        ASSERT_LE (result, 15);
        accepted += result == 0 ? 1 : 0;
    }
    // Deflated entries carry no checksum we verify, so some mutations read fine.
    SUCCEED() << accepted << " of 600 mutated files were still readable";
}

TEST (Fuzz, MutatedOlderEditorFilesNeverCrash)
{
    using namespace tarnombi::test;
    const auto seed = timbrixFile ({ timbrixGlobal(), timbrixProgramSet (300, 40), timbrixBlock ("x", juce::MemoryBlock (9, true)) });
    const auto file = makeTemporaryFolder ("fuzz-timbrix").getChildFile ("mutated.X38200_all");
    juce::Random random (777);
    for (int round = 0; round < 400; ++round)
    {
        const auto bytes = mutate (seed, random);
        tarnombi::test::writeWholeFile (file, bytes);
        x38200_data::LibraryData library;
        const auto result = x38200_file::TimbrixEditorLibraryDataImporter (library).readFromFile (file);
        ASSERT_TRUE (result == 0 || result == 2 || result == 4) << result;
    }
}
