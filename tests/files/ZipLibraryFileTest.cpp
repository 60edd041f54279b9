// The zip archive of library, program and preset files: round trips, the layout as
// an independent zip reader sees it, archives made by other tools, and every read code.

#include "FileTestHelpers.h"
#include "data/InformationXml.h"
#include "file/LibraryFiles.h"
#include "file/ZipLibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace x38200_file;
using tarnombi::test::makeArchive;
using tarnombi::test::textBlock;

namespace
{
juce::File writeBlock (const juce::String& name, const juce::MemoryBlock& block)
{
    static const auto folder = tarnombi::test::makeTemporaryFolder ("zip-fixtures");
    auto file = folder.getChildFile (name);
    tarnombi::test::writeWholeFile (file, block);
    return file;
}

juce::String indexText (const juce::String& body, const juce::String& product = "TarnOMBI",
                        const juce::String& root = "OmbiMSLibrarian_Data")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + ">"
           + (product.isEmpty() ? juce::String() : "<Product>" + product + "</Product>") + body + "</" + root + ">";
}

juce::String programItem (const juce::String& base)
{
    return "<ProgramData><Information>" + base + ".prog_info</Information><ProgramBinary>" + base
           + ".prog_bin</ProgramBinary></ProgramData>";
}

juce::MemoryBlock programBinary (size_t size, std::uint8_t fill = 0x41)
{
    juce::MemoryBlock block (size);
    block.fillWith (fill);
    return block;
}

juce::MemoryBlock programInfo (const juce::String& programmer)
{
    return textBlock ("<TarnOMBI_ProgramInformation><Programmer>" + programmer
                      + "</Programmer><Comment/></TarnOMBI_ProgramInformation>");
}

const juce::String favoritesText = "<TarnOMBI_Favorite><Bank><Data>7</Data></Bank></TarnOMBI_Favorite>";
const juce::String presetText = "<TarnOMBI_Preset><DataID>id</DataID><Version>3</Version></TarnOMBI_Preset>";

int readArchive (const juce::MemoryBlock& archive)
{
    ZipLibraryFileReader reader (writeBlock ("fixture.zip", archive));
    return reader.readFromFile();
}

// Python's zipfile module, run as a separate program.
std::pair<int, juce::String> runPython (const juce::String& script, const juce::StringArray& args = {})
{
    juce::StringArray command { "python3", "-c", script };
    command.addArray (args);
    return tarnombi::test::runProgram (command);
}
} // namespace

TEST (ZipLibraryFile, LibraryRoundTripIsIdenticalAndRepeatable)
{
    const auto library = tarnombi::test::makeSampleLibrary (3);
    const auto folder = tarnombi::test::makeTemporaryFolder ("roundtrip");
    const auto first = folder.getChildFile ("a.tolib");
    const auto second = folder.getChildFile ("b.tolib");
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (first), 0);
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (second), 0);

    x38200_data::LibraryData read;
    ASSERT_EQ (LibraryFileReader (read).readFromFile (first), 0);
    for (int i = 0; i < 300; ++i)
    {
        const auto& expected = library.getProgramData (i);
        const auto& actual = read.getProgramData (i);
        ASSERT_EQ (0, std::memcmp (expected.rawData.bytes, actual.rawData.bytes, 320)) << i;
        EXPECT_EQ (expected.md5, actual.md5);
        EXPECT_EQ (expected.information.programmer, actual.information.programmer);
        EXPECT_EQ (expected.information.comment, actual.information.comment);
    }
    EXPECT_TRUE (read.favoriteData == library.favoriteData);
    EXPECT_TRUE (read == library);

    // Fixed time stamps make two writes of the same data byte-identical.
    EXPECT_EQ (tarnombi::test::readWholeFile (first), tarnombi::test::readWholeFile (second));
}

TEST (ZipLibraryFile, LayoutAsAnIndependentZipReaderSeesIt)
{
    const auto library = tarnombi::test::makeSampleLibrary (5);
    const auto file = tarnombi::test::makeTemporaryFolder ("layout").getChildFile ("lib.tolib");
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (file), 0);

    const auto [unzipStatus, unzipOutput] = tarnombi::test::runProgram ({ "unzip", "-t", file.getFullPathName() });
    EXPECT_EQ (unzipStatus, 0) << unzipOutput;

    const juce::String script = R"PY(
import sys, zipfile, json
z = zipfile.ZipFile(sys.argv[1])
bad = z.testzip()
entries = [[i.filename, list(i.date_time), i.compress_type, i.create_version, i.extract_version,
            i.flag_bits, len(i.extra), len(i.comment), i.header_offset, i.file_size] for i in z.infolist()]
print(json.dumps({"bad": bad, "entries": entries, "index": z.read("FileInformation.xml").decode("utf-8"),
                  "prog0": z.read("Prog_000.prog_bin").hex(), "comment": len(z.comment)}))
)PY";
    const auto [status, output] = runPython (script, { file.getFullPathName() });
    ASSERT_EQ (status, 0) << output;
    const auto json = juce::JSON::parse (output);
    EXPECT_TRUE (json["bad"].isVoid()) << output;
    EXPECT_EQ ((int) json["comment"], 0);

    const auto* entries = json["entries"].getArray();
    ASSERT_NE (entries, nullptr);
    ASSERT_EQ (entries->size(), 1 + 600 + 1);
    juce::StringArray expectedNames { "FavoriteData.fav_data" };
    for (int i = 0; i < 300; ++i)
    {
        expectedNames.add (juce::String::formatted ("Prog_%03d.prog_bin", i));
        expectedNames.add (juce::String::formatted ("Prog_%03d.prog_info", i));
    }
    expectedNames.add ("FileInformation.xml");

    int previousOffset = -1;
    for (int i = 0; i < entries->size(); ++i)
    {
        const auto& entry = entries->getReference (i);
        EXPECT_EQ (entry[0].toString(), expectedNames[i]);
        EXPECT_EQ (juce::JSON::toString (entry[1], true), "[2013, 1, 1, 0, 0, 0]");
        EXPECT_EQ ((int) entry[2], 8);  // deflated
        EXPECT_EQ ((int) entry[3], 20); // made by
        EXPECT_EQ ((int) entry[4], 10); // needed
        EXPECT_EQ ((int) entry[5], 0);
        EXPECT_EQ ((int) entry[6], 0);
        EXPECT_EQ ((int) entry[7], 0);
        EXPECT_GT ((int) entry[8], previousOffset);
        previousOffset = (int) entry[8];
        if (expectedNames[i].endsWith (".prog_bin"))
        {
            EXPECT_EQ ((int) entry[9], 320);
        }
    }

    const auto& program0 = library.getProgramData (0);
    EXPECT_EQ (json["prog0"].toString(), juce::String::toHexString (program0.rawData.bytes, 320, 0));

    // The index document: declaration, root, Product, Contents with its counts in order,
    // favorites, then programs.
    const auto index = json["index"].toString();
    EXPECT_TRUE (index.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_TRUE (index.contains ("NumFavoriteData=\"1\" NumProgramData=\"300\" NumPresetInformation=\"0\""));
    const auto xml = juce::XmlDocument::parse (index);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "OmbiMSLibrarian_Data");
    ASSERT_EQ (xml->getNumChildElements(), 2);
    EXPECT_EQ (xml->getChildElement (0)->getTagName(), "Product");
    EXPECT_EQ (xml->getChildElement (0)->getAllSubText(), "TarnOMBI");
    const auto* contents = xml->getChildElement (1);
    ASSERT_EQ (contents->getTagName(), "Contents");
    ASSERT_EQ (contents->getNumChildElements(), 301);
    EXPECT_EQ (contents->getChildElement (0)->getChildByName ("File")->getAllSubText(), "FavoriteData.fav_data");
    const auto* lastProgram = contents->getChildElement (300);
    EXPECT_EQ (lastProgram->getChildElement (0)->getTagName(), "Information");
    EXPECT_EQ (lastProgram->getChildElement (0)->getAllSubText(), "Prog_299.prog_info");
    EXPECT_EQ (lastProgram->getChildElement (1)->getAllSubText(), "Prog_299.prog_bin");
}

TEST (ZipLibraryFile, PresetArchiveListsPresetInformationBeforePrograms)
{
    x38200_data::PresetData preset;
    preset.information.dataID = "ID-1";
    preset.information.prefix = "TOFP";
    preset.information.version = 4;
    preset.getProgramData (17).information.programmer = "x";
    const auto file = tarnombi::test::makeTemporaryFolder ("preset").getChildFile ("p.topreset");
    ASSERT_EQ (PresetFileWriter (preset).writeToFile (file), 0);

    const auto [status, output] = runPython (
        "import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); print(' '.join(i.filename for i in z.infolist()[:3]))",
        { file.getFullPathName() });
    ASSERT_EQ (status, 0) << output;
    EXPECT_EQ (output.trim(), "PresetInformation.xml Prog_000.prog_bin Prog_000.prog_info");

    x38200_data::PresetData read;
    ASSERT_EQ (PresetFileReader (read).readFromFile (file), 0);
    EXPECT_TRUE (read.information == preset.information);
    EXPECT_EQ (read.getProgramData (17).information.programmer, "x");
}

TEST (ZipLibraryFile, ReadsArchivesThatOtherZipToolsMade)
{
    const auto library = tarnombi::test::makeSampleLibrary (9);
    const auto folder = tarnombi::test::makeTemporaryFolder ("foreign");
    const auto ours = folder.getChildFile ("ours.tolib");
    ASSERT_EQ (LibraryFileWriter (library).writeToFile (ours), 0);

    // Repacked by Python: the index first, entries alternately stored and deflated at
    // other levels, today's time stamps; the second copy is written as a stream with
    // data descriptors after each entry.
    const juce::String script = R"PY(
import sys, zipfile
src = zipfile.ZipFile(sys.argv[1])
names = src.namelist()
names = [names[-1]] + names[:-1]
class Unseekable:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with zipfile.ZipFile(sys.argv[2], "w") as out:
    for i, n in enumerate(names):
        out.writestr(n, src.read(n), compress_type=zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED, compresslevel=9)
with open(sys.argv[3], "wb") as f:
    with zipfile.ZipFile(Unseekable(f), "w", compression=zipfile.ZIP_DEFLATED) as out:
        for n in names:
            out.writestr(n, src.read(n))
)PY";
    const auto repacked = folder.getChildFile ("python.tolib");
    const auto streamed = folder.getChildFile ("streamed.tolib");
    const auto [status, output] = runPython (script, { ours.getFullPathName(), repacked.getFullPathName(), streamed.getFullPathName() });
    ASSERT_EQ (status, 0) << output;

    for (const auto& file : { repacked, streamed })
    {
        x38200_data::LibraryData read;
        ASSERT_EQ (LibraryFileReader (read).readFromFile (file), 0) << file.getFileName();
        EXPECT_TRUE (read == library) << file.getFileName();
    }

    // And the zip command-line tool.
    const auto extracted = folder.getChildFile ("extracted");
    extracted.createDirectory();
    ASSERT_EQ (tarnombi::test::runProgram ({ "unzip", "-q", ours.getFullPathName(), "-d", extracted.getFullPathName() }).first, 0);
    const auto zipped = folder.getChildFile ("zipped.tolib");
    const auto [zipStatus, zipOutput] = tarnombi::test::runProgram (
        { "sh", "-c", "cd '" + extracted.getFullPathName() + "' && zip -q -9 -r '" + zipped.getFullPathName() + "' ." });
    ASSERT_EQ (zipStatus, 0) << zipOutput;
    x38200_data::LibraryData read;
    EXPECT_EQ (LibraryFileReader (read).readFromFile (zipped), 0);
    EXPECT_TRUE (read == library);
}

TEST (ZipLibraryFile, EveryReadCodeHasAFixture)
{
    const auto favorites = textBlock (favoritesText);
    const auto preset = textBlock (presetText);
    const auto goodProgram = [] (const juce::String& base) {
        return std::vector<std::pair<juce::String, juce::MemoryBlock>> { { base + ".prog_bin", programBinary (320) },
                                                                         { base + ".prog_info", programInfo ("p") } };
    };
    auto withIndex = [] (std::vector<std::pair<juce::String, juce::MemoryBlock>> entries, const juce::String& index) {
        entries.push_back ({ "FileInformation.xml", textBlock (index) });
        return entries;
    };
    const auto contents = [] (const juce::String& body) { return "<Contents>" + body + "</Contents>"; };
    const juce::String favoriteItem = "<FavoriteData><File>FavoriteData.fav_data</File></FavoriteData>";
    const juce::String presetItem = "<PresetInformation><File>PresetInformation.xml</File></PresetInformation>";

    struct Case
    {
        const char* what;
        juce::MemoryBlock archive;
        int expected;
    };

    auto entriesWithProgram = goodProgram ("Prog_000");
    entriesWithProgram.push_back ({ "FavoriteData.fav_data", favorites });
    entriesWithProgram.push_back ({ "PresetInformation.xml", preset });
    const auto fullBody = contents (favoriteItem + presetItem + programItem ("Prog_000"));

    auto shortBinary = goodProgram ("Prog_000");
    shortBinary[0].second = programBinary (319);
    auto longBinary = goodProgram ("Prog_000");
    longBinary[0].second = programBinary (330);
    auto badInfo = goodProgram ("Prog_000");
    badInfo[1].second = textBlock (favoritesText);

    const std::vector<Case> cases {
        { "complete archive", makeArchive (withIndex (entriesWithProgram, indexText (fullBody))), 0 },
        { "product as a substring", makeArchive (withIndex (entriesWithProgram, indexText (fullBody, "TarnOMBI Sound Librarian"))), 0 },
        { "program binary longer than 320 bytes", makeArchive (withIndex (longBinary, indexText (contents (programItem ("Prog_000"))))), 0 },
        { "other product", makeArchive (withIndex (entriesWithProgram, indexText (fullBody, "Other"))), 5 },
        { "no entries at all", makeArchive ({}), 6 },
        { "folder entry", makeArchive (withIndex ({ { "folder/", {} } }, indexText (fullBody))), 6 },
        { "index nested far too deeply", makeArchive ({ { "FileInformation.xml", textBlock (juce::String::repeatedString ("<a>", 300000)) } }), 7 },
        { "index is not XML", makeArchive ({ { "FileInformation.xml", textBlock ("not < xml") } }), 7 },
        { "no index entry", makeArchive (entriesWithProgram), 7 },
        { "wrong root", makeArchive (withIndex (entriesWithProgram, indexText (fullBody, "TarnOMBI", "Other"))), 8 },
        { "no Product", makeArchive (withIndex (entriesWithProgram, indexText (fullBody, {}))), 8 },
        { "no Contents", makeArchive (withIndex (entriesWithProgram, indexText ({}))), 8 },
        { "favorite entry missing", makeArchive (withIndex (goodProgram ("Prog_000"), indexText (contents (favoriteItem)))), 9 },
        { "program entry missing", makeArchive (withIndex ({ { "Prog_000.prog_bin", programBinary (320) } }, indexText (contents (programItem ("Prog_000"))))), 10 },
        { "preset information missing", makeArchive (withIndex ({}, indexText (contents (presetItem)))), 11 },
        { "favorite document nested far too deeply", makeArchive (withIndex ({ { "FavoriteData.fav_data", textBlock (juce::String::repeatedString ("<b/><a>", 100000)) } }, indexText (contents (favoriteItem)))), 12 },
        { "favorite document rejected", makeArchive (withIndex ({ { "FavoriteData.fav_data", preset } }, indexText (contents (favoriteItem)))), 12 },
        { "program binary of 319 bytes", makeArchive (withIndex (shortBinary, indexText (contents (programItem ("Prog_000"))))), 13 },
        { "program information rejected", makeArchive (withIndex (badInfo, indexText (contents (programItem ("Prog_000"))))), 14 },
        { "preset information rejected", makeArchive (withIndex ({ { "PresetInformation.xml", favorites } }, indexText (contents (presetItem)))), 15 },
    };

    for (const auto& c : cases)
        EXPECT_EQ (readArchive (c.archive), c.expected) << c.what;

    // Not an archive at all, and a file that does not exist.
    EXPECT_EQ (ZipLibraryFileReader (writeBlock ("text.toprog", textBlock ("just some text\n"))).readFromFile(), 6);
    EXPECT_EQ (ZipLibraryFileReader (juce::File ("/nonexistent/file.tolib")).readFromFile(), 6);
}

TEST (ZipLibraryFile, ProgramsFollowTheIndexOrderAndSkipIncompleteItems)
{
    std::vector<std::pair<juce::String, juce::MemoryBlock>> entries {
        { "Prog_000.prog_bin", programBinary (320, 0x30) }, { "Prog_000.prog_info", programInfo ("zero") },
        { "Prog_001.prog_bin", programBinary (320, 0x31) }, { "Prog_001.prog_info", programInfo ("one") },
        { "Unlisted.bin", programBinary (5) },
    };
    entries.push_back ({ "FileInformation.xml",
                         textBlock (indexText ("<Contents NumProgramData=\"99\">" + programItem ("Prog_001")
                                               + "<ProgramData><Information>Prog_000.prog_info</Information></ProgramData>"
                                               + "<Unknown/>" + programItem ("Prog_000") + "</Contents>")) });
    ZipLibraryFileReader reader (writeBlock ("order.zip", makeArchive (entries)));
    ASSERT_EQ (reader.readFromFile(), 0);
    ASSERT_EQ (reader.getNumProgramData(), 2);
    EXPECT_EQ (reader.getProgramData (0).information.programmer, "one");
    EXPECT_EQ (reader.getProgramData (0).rawData.bytes[0], 0x31);
    EXPECT_EQ (reader.getProgramData (1).information.programmer, "zero");
    EXPECT_EQ (reader.getNumFavoriteData(), 0);
}

//==============================================================================
namespace
{
// Offsets of the first central directory entry and of the end record in our archive.
struct ArchiveOffsets
{
    int firstCentral = -1;
    int endRecord = -1;
};

ArchiveOffsets findOffsets (const juce::MemoryBlock& archive)
{
    const auto* bytes = static_cast<const std::uint8_t*> (archive.getData());
    ArchiveOffsets offsets;
    offsets.endRecord = (int) archive.getSize() - 22;
    offsets.firstCentral = (int) juce::ByteOrder::littleEndianInt (bytes + offsets.endRecord + 16);
    return offsets;
}

void patchInt (juce::MemoryBlock& block, int offset, juce::uint32 value)
{
    auto* bytes = static_cast<std::uint8_t*> (block.getData());
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = (std::uint8_t) (value >> (8 * i));
}

juce::MemoryBlock smallLibraryArchive()
{
    juce::MemoryOutputStream out;
    ZipLibraryFileWriter writer;
    writer.addFavoriteData ({});
    writer.addProgramData ({});
    writer.writeToStream (out);
    return out.getMemoryBlock();
}
} // namespace

TEST (ZipLibraryFile, DamagedArchivesAreRefusedWithoutReadingPastTheData)
{
    const auto good = smallLibraryArchive();
    ASSERT_EQ (readArchive (good), 0);
    const auto offsets = findOffsets (good);

    // Cut at many places: never accepted, never a crash.
    for (size_t cut = 0; cut < good.getSize(); cut += 7)
    {
        juce::MemoryBlock truncated (good.getData(), cut);
        EXPECT_EQ (readArchive (truncated), 6) << "cut at " << cut;
    }

    struct Patch
    {
        const char* what;
        int offset;
        juce::uint32 value;
    };
    const Patch patches[] = {
        { "uncompressed size larger than the data", offsets.firstCentral + 24, 1000 },
        { "uncompressed size smaller than the data", offsets.firstCentral + 24, 3 },
        { "compressed size beyond the file", offsets.firstCentral + 20, 0x7FFFFFF0 },
        { "huge uncompressed size", offsets.firstCentral + 24, 0xFFFFFFFF },
        { "local header offset beyond the file", offsets.firstCentral + 42, 0x00FFFFFF },
        { "local header offset inside the data", offsets.firstCentral + 42, 5 },
        { "central directory offset beyond the file", offsets.endRecord + 16, 0x7FFFFFFF },
        { "more entries than the directory holds", offsets.endRecord + 8, 0x00090009 },
    };
    for (const auto& patch : patches)
    {
        auto damaged = good;
        patchInt (damaged, patch.offset, patch.value);
        EXPECT_EQ (readArchive (damaged), 6) << patch.what;
    }
}

TEST (ZipLibraryFile, ArchivesThatInflateBeyondTheLimitAreRefused)
{
    // Two entries of 40 MiB zeros each: every single entry is honest, the total is not allowed.
    juce::MemoryBlock zeros (40 * 1024 * 1024, true);
    const auto archive = makeArchive ({ { "a.bin", zeros }, { "b.bin", zeros }, { "FileInformation.xml", textBlock (indexText ("<Contents/>")) } }, 1);
    EXPECT_LT (archive.getSize(), (size_t) 1024 * 1024);

    file::MemoryBasedZipUncompressor uncompressor (writeBlock ("bomb.zip", archive));
    const auto result = uncompressor.uncompress();
    EXPECT_TRUE (result.failed());
    EXPECT_LE (uncompressor.getNumUncompressedFileEntries(), 1);
    EXPECT_EQ (readArchive (archive), 6);
}

TEST (ZipLibraryFile, UncompressorEntryAccess)
{
    const auto archive = makeArchive ({ { "b.txt", textBlock ("bee") }, { "a.txt", textBlock ("ay") }, { "a.txt", textBlock ("second") } }, 0);
    juce::MemoryInputStream stream (archive, false);
    file::MemoryBasedZipUncompressor uncompressor (stream);
    ASSERT_EQ (uncompressor.getNumEntries(), 3);
    EXPECT_EQ (uncompressor.getIndexOfFileName ("a.txt"), 1);
    EXPECT_EQ (uncompressor.getIndexOfFileName ("A.TXT"), -1);
    EXPECT_EQ (uncompressor.getEntry (7), nullptr);
    EXPECT_EQ (uncompressor.getEntry ("missing"), nullptr);
    EXPECT_EQ (uncompressor.createStreamForEntry (-1), nullptr);
    EXPECT_FALSE (uncompressor.getEntry (0)->isCompressed);
    EXPECT_EQ (uncompressor.getEntry (0)->fileTime.getYear(), 2013);

    uncompressor.sortEntriesByFilename();
    EXPECT_EQ (uncompressor.getEntry (0)->filename, "a.txt");
    EXPECT_EQ (uncompressor.getEntry (2)->filename, "b.txt");

    ASSERT_TRUE (uncompressor.uncompress().wasOk());
    EXPECT_EQ (uncompressor.getNumUncompressedFileEntries(), 2);
    EXPECT_EQ (uncompressor.getUncompressedFileEntry ("a.txt").toString(), "ay"); // the first copy wins
    EXPECT_FALSE (uncompressor.hasUncompressedFileEntry ("c.txt"));
}
