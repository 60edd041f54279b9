#include "data/DataSerializers.h"
#include "data/InformationXml.h"
#include "data/ProgramData.h"

#include <gtest/gtest.h>
#include <juce_cryptography/juce_cryptography.h>

#include <random>

using namespace x38200_data;

namespace
{
std::vector<unsigned char> bytesOf (const data::SerializedData& serialized)
{
    return { serialized.getData(), serialized.getData() + serialized.getDataSize() };
}

data::SerializedData fromBytes (const std::vector<unsigned char>& bytes)
{
    return data::SerializedData (bytes.data(), (int) bytes.size());
}

juce::int32 readInt (const std::vector<unsigned char>& b, size_t offset)
{
    return (juce::int32) ((juce::uint32) b[offset] | ((juce::uint32) b[offset + 1] << 8) | ((juce::uint32) b[offset + 2] << 16)
                          | ((juce::uint32) b[offset + 3] << 24));
}

// A container written section by section, for fixtures the serializers never make.
data::SerializedData makeContainer (const std::string& id, const std::vector<std::pair<std::string, juce::MemoryBlock>>& sections)
{
    data::SerializedData result;
    data::SerializedSectionDataWriter writer (result);
    for (const auto& [sectionId, payload] : sections)
        writer.addData (sectionId, payload);
    writer.finalize (id);
    return result;
}

x38200_data::ProgramData makeProgram301()
{
    x38200_data::ProgramData program;
    std::memcpy (program.rawData.bytes, "EXTRA", 5);
    program.updateMD5();
    return program;
}

juce::MemoryBlock documentBlock (const juce::String& text)
{
    auto block = toUtf8Block (text);
    block.append ("", 1);
    return block;
}
} // namespace

TEST (SectionContainer, ProgramContainerHeaderBytes)
{
    x38200_data::ProgramData program;
    const auto b = bytesOf (program.getSerializedData());

    EXPECT_EQ (std::string (b.begin(), b.begin() + 8), "TarnProg");
    EXPECT_EQ (b[8], 0x20);
    EXPECT_EQ (b[9], 0x00);
    EXPECT_EQ (readInt (b, 10), (juce::int32) b.size() - 32);
    for (int i = 14; i < 20; ++i)
        EXPECT_EQ (b[(size_t) i], 0) << i;
    EXPECT_EQ (readInt (b, 20), 2);
    EXPECT_EQ (readInt (b, 24), 0);
    for (int i = 28; i < 32; ++i)
        EXPECT_EQ (b[(size_t) i], 0xFF);

    EXPECT_EQ (std::string (b.begin() + 32, b.begin() + 40), "TarnPrgD");
    EXPECT_EQ (b[42], 0x40);
    EXPECT_EQ (b[43], 0x01);
    EXPECT_EQ (b[44], 0x00);
    EXPECT_EQ (b[45], 0x00);
    EXPECT_EQ (readInt (b, 52), 1);
    EXPECT_EQ (std::memcmp (b.data() + 64, InitProgramData.bytes, 320), 0);

    EXPECT_EQ (std::string (b.begin() + 384, b.begin() + 392), "TarnPrgI");
    const auto documentLength = readInt (b, 394);
    EXPECT_EQ (b.size(), (size_t) (32 + 32 + 320 + 32 + documentLength));
    EXPECT_EQ (b.back(), 0); // the document ends with one zero byte
    const auto document = juce::String::fromUTF8 ((const char*) b.data() + 416, documentLength - 1);
    EXPECT_TRUE (document.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_TRUE (document.contains ("<TarnOMBI_ProgramInformation>"));
}

TEST (SectionContainer, RoundTripsOfProgramFavoritesAndLibrary)
{
    LibraryData library;
    for (int n = 0; n < LibraryData::NumPrograms; n += 37)
    {
        auto& program = library.getProgramData (n);
        program.rawData.bytes[n % 320] = (std::uint8_t) n;
        program.updateMD5();
        program.information.programmer = "Programmer " + juce::String (n);
        program.information.comment = juce::CharPointer_UTF8 ("\xe6\x9f\x94\xe3\x82\x89\xe3\x81\x8b\xe3\x81\x84 & <pad>");
    }
    library.favoriteData.setFavoriteData (3, 4, 123);

    const auto serialized = library.getSerializedData();
    const auto b = bytesOf (serialized);
    EXPECT_EQ (std::string (b.begin(), b.begin() + 8), "TarnLibD");
    EXPECT_EQ (readInt (b, 20), 301);

    LibraryData read;
    ASSERT_TRUE (read.setFromSerializedData (serialized));
    EXPECT_TRUE (read == library);
    EXPECT_EQ (read.getProgramData (37).md5, library.getProgramData (37).md5);
}

TEST (SectionContainer, DeserializerResultCodes)
{
    x38200_data::ProgramData program;
    program.information.comment = "keep";
    const auto programBytes = bytesOf (x38200_data::ProgramData().getSerializedData());
    const auto favoriteBytes = bytesOf (FavoriteData().getSerializedData());
    const auto libraryBytes = bytesOf (LibraryData().getSerializedData());

    auto truncated = [] (std::vector<unsigned char> b, size_t cut) { b.resize (b.size() - cut); return b; };
    const juce::MemoryBlock raw (InitProgramData.bytes, 320);

    struct Case
    {
        const char* what;
        std::vector<unsigned char> bytes;
        int programCode, favoriteCode, libraryCode;
    };
    const Case cases[] = {
        { "empty block", {}, 2, 3, 2 },
        { "program container", programBytes, 0, 1, 1 },
        { "favorite container", favoriteBytes, 1, 0, 1 },
        { "library container", libraryBytes, 1, 1, 0 },
        // A container that cannot be read is unreadable for every reader, whatever its name.
        { "program cut inside its last payload", truncated (programBytes, 5), 2, 3, 2 },
        { "favorites cut inside its last payload", truncated (favoriteBytes, 5), 2, 3, 2 },
        { "library cut inside its last payload", truncated (libraryBytes, 5), 2, 3, 2 },
        { "header only", truncated (programBytes, programBytes.size() - 20), 2, 3, 2 },
        { "program with a broken document",
          bytesOf (makeContainer ("TarnProg", { { "TarnPrgD", raw }, { "TarnPrgI", documentBlock ("not xml") } })), 3, 1, 1 },
        { "program with a foreign document",
          bytesOf (makeContainer ("TarnProg", { { "TarnPrgI", documentBlock ("<TarnOMBI_Favorite/>") } })), 3, 1, 1 },
        { "favorites with a foreign document",
          bytesOf (makeContainer ("TarnFavS", { { "TarnFavD", documentBlock ("<TarnOMBI_Preset/>") } })), 1, 2, 1 },
        { "library with a broken program section",
          bytesOf (makeContainer ("TarnLibD", { { "TarnLibP", juce::MemoryBlock ("junk", 4) } })), 1, 1, 3 },
        { "library with a broken favorite section",
          bytesOf (makeContainer ("TarnLibD", { { "TarnLibF", juce::MemoryBlock ("junk", 4) } })), 1, 1, 4 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        x38200_data::ProgramData p;
        FavoriteData f;
        LibraryData l;
        EXPECT_EQ (ProgramDataDeserializer (p).readFromSerializedData (fromBytes (c.bytes)), c.programCode);
        EXPECT_EQ (FavoriteDataDeserializer (f).readFromSerializedData (fromBytes (c.bytes)), c.favoriteCode);
        EXPECT_EQ (LibraryDataDeserializer (l).readFromSerializedData (fromBytes (c.bytes)), c.libraryCode);
    }
}

TEST (SectionContainer, PartialContainersFillWhatTheyHold)
{
    // A foreign container leaves the program untouched.
    x38200_data::ProgramData program;
    program.rawData.bytes[30] = 0x11;
    program.updateMD5();
    const auto before = program;
    EXPECT_FALSE (program.setFromSerializedData (FavoriteData().getSerializedData()));
    EXPECT_TRUE (program == before);
    EXPECT_EQ (program.md5, before.md5);

    // No information section: bytes read, information kept.
    program.information.searchWord = "bell";
    std::vector<unsigned char> raw (320, 0x22);
    const auto onlyData = makeContainer ("TarnProg", { { "TarnPrgD", juce::MemoryBlock (raw.data(), 100) } });
    ASSERT_TRUE (program.setFromSerializedData (onlyData));
    EXPECT_EQ (program.rawData.bytes[99], 0x22);
    EXPECT_EQ (program.rawData.bytes[100], 0x00);
    EXPECT_EQ (program.rawData.bytes[319], 0x00);
    EXPECT_EQ (program.information.searchWord, "bell");
    EXPECT_EQ (program.md5, juce::MD5 (program.rawData.bytes, 320).toHexString());

    // A library of favorites only: init programs and the favorites read.
    FavoriteData favorites;
    favorites.setFavoriteData (0, 0, 42);
    LibraryData library;
    library.getProgramData (3).rawData.bytes[0] = 'Q';
    const auto onlyFavorites = makeContainer ("TarnLibD", { { "TarnLibF", favorites.getSerializedData().getBlock() } });
    ASSERT_TRUE (library.setFromSerializedData (onlyFavorites));
    EXPECT_EQ (library.getProgramData (3).getProgramName(), "INITPROG    ");
    EXPECT_EQ (library.favoriteData.getFavoriteData (0, 0), 42);

    // Sections after the 300th program go to the spare program and change nothing.
    std::vector<std::pair<std::string, juce::MemoryBlock>> sections;
    auto odd = makeProgram301();
    for (int i = 0; i < 301; ++i)
        sections.push_back ({ "TarnLibP", (i == 300 ? odd : x38200_data::ProgramData()).getSerializedData().getBlock() });
    LibraryData big;
    EXPECT_TRUE (big.setFromSerializedData (makeContainer ("TarnLibD", sections)));
    EXPECT_TRUE (big == LibraryData());
}

TEST (SectionContainer, HeadersThatLieNeverReadPastTheBlock)
{
    auto b = bytesOf (x38200_data::ProgramData().getSerializedData());
    struct Case
    {
        const char* what;
        size_t offset;
        juce::int32 value;
    };
    const Case cases[] = {
        { "negative section size", 42, -1 },
        { "section larger than the block", 42, 1 << 30 },
        { "container larger than the block", 10, 1 << 30 },
        { "negative container size", 10, -5 },
        { "absurd section count", 20, 0x7FFFFFFF },
        { "negative section count", 20, -3 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto bad = b;
        std::memcpy (bad.data() + c.offset, &c.value, 4);
        x38200_data::ProgramData program;
        EXPECT_FALSE (program.setFromSerializedData (fromBytes (bad)));
    }

    // A header size below 32 cannot be followed either.
    auto bad = b;
    bad[40] = 4;
    bad[41] = 0;
    x38200_data::ProgramData program;
    EXPECT_FALSE (program.setFromSerializedData (fromBytes (bad)));
}

TEST (SectionContainer, RandomBytesNeverCrashTheReaders)
{
    std::mt19937 random (1234);
    const auto library = bytesOf (LibraryData().getSerializedData());
    const auto program = bytesOf (x38200_data::ProgramData().getSerializedData());

    for (int round = 0; round < 2000; ++round)
    {
        auto bytes = (round % 2 == 0) ? program : std::vector<unsigned char> (library.begin(), library.begin() + 4000);
        if (round % 5 == 0)
        {
            bytes.resize (random() % 200);
            for (auto& b : bytes)
                b = (unsigned char) random();
        }
        else
        {
            const int flips = 1 + (int) (random() % 8);
            for (int i = 0; i < flips; ++i)
                bytes[random() % bytes.size()] = (unsigned char) random();
            if (random() % 3 == 0)
                bytes.resize (random() % bytes.size());
        }
        x38200_data::ProgramData p;
        FavoriteData f;
        LibraryData l;
        p.setFromSerializedData (fromBytes (bytes));
        f.setFromSerializedData (fromBytes (bytes));
        l.setFromSerializedData (fromBytes (bytes));
    }
    SUCCEED();
}
