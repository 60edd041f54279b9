#include "data/InformationXml.h"

#include <gtest/gtest.h>

#include <random>

using namespace x38200_data;

namespace
{
std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    return juce::XmlDocument::parse (text);
}
} // namespace

TEST (InformationXml, ProgramInformationWritesTwoChildrenAndReadsFive)
{
    x38200_data::ProgramData program;
    program.information.comment = "dark & <wide>";
    program.information.youTubeLink = "https://example.com/v";

    const auto xml = ProgramInformationXmlReaderWriter().createXml (program);
    ASSERT_EQ (xml->getNumChildElements(), 2);
    EXPECT_EQ (xml->getChildElement (0)->getTagName(), "Programmer");
    EXPECT_EQ (xml->getChildElement (0)->getAllSubText(), "");
    EXPECT_EQ (xml->getChildElement (1)->getTagName(), "Comment");

    x38200_data::ProgramData read;
    read.information.searchWord = "keep me";
    ASSERT_TRUE (ProgramInformationXmlReaderWriter().readFromXml (read, *parse (createXmlDocumentText (*xml))));
    EXPECT_EQ (read.information.comment, "dark & <wide>");
    EXPECT_EQ (read.information.programmer, "");
    EXPECT_EQ (read.information.searchWord, "keep me");
    EXPECT_EQ (read.information.youTubeLink, ""); // never written

    const auto full = parse ("<TarnOMBI_ProgramInformation><YouTubeLink>u<b>v</b></YouTubeLink>"
                             "<PlayListID>p</PlayListID><SearchWord> s </SearchWord><Comment>first</Comment>"
                             "<Comment>second</Comment></TarnOMBI_ProgramInformation>");
    ASSERT_TRUE (ProgramInformationXmlReaderWriter().readFromXml (read, *full));
    EXPECT_EQ (read.information.youTubeLink, "uv"); // all text inside, nested too
    EXPECT_EQ (read.information.playListID, "p");
    EXPECT_EQ (read.information.searchWord, " s "); // not trimmed
    EXPECT_EQ (read.information.comment, "first");

    // A foreign root changes nothing.
    const auto before = read.information;
    EXPECT_FALSE (ProgramInformationXmlReaderWriter().readFromXml (read, *parse ("<TarnOMBI_Favorite><Comment>x</Comment></TarnOMBI_Favorite>")));
    EXPECT_TRUE (read.information == before);
}

TEST (InformationXml, FavoritesByPositionWithShortAndSurplusElements)
{
    FavoriteData favorites;
    const auto text = createXmlDocumentText (*FavoriteDataXmlReaderWriter().createXml (favorites));
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (text.contains ("DOCTYPE"));

    // A short first bank, a number without digits, other elements, surplus banks and slots.
    juce::String document = "<TarnOMBI_Favorite><Bank><Data>1</Data><Note>skip</Note><Data>x</Data><Data>3</Data></Bank>"
                            "<Other/><Bank>";
    for (int slot = 0; slot < 12; ++slot)
        document << "<Data>" << (100 + slot) << "</Data>";
    document << "</Bank>";
    for (int bank = 2; bank < 9; ++bank)
        document << "<Bank><Data>" << (200 + bank) << "</Data></Bank>";
    document << "</TarnOMBI_Favorite>";

    FavoriteData read;
    ASSERT_TRUE (FavoriteDataXmlReaderWriter().readFromXml (read, *parse (document)));
    EXPECT_EQ (read.getFavoriteData (0, 0), 1);
    EXPECT_EQ (read.getFavoriteData (0, 1), 0);
    EXPECT_EQ (read.getFavoriteData (0, 2), 3);
    EXPECT_EQ (read.getFavoriteData (0, 3), FavoriteData::initialFavoriteData[0][3]);
    EXPECT_EQ (read.getFavoriteData (1, 7), 107);
    EXPECT_EQ (read.getFavoriteData (5, 0), 205);
    EXPECT_EQ (read.getFavoriteData (5, 1), 201);

    // What was written reads back.
    favorites.setFavoriteData (4, 6, 250);
    FavoriteData back;
    ASSERT_TRUE (FavoriteDataXmlReaderWriter().readFromXml (back, *FavoriteDataXmlReaderWriter().createXml (favorites)));
    EXPECT_TRUE (back == favorites);
    EXPECT_FALSE (FavoriteDataXmlReaderWriter().readFromXml (back, *parse ("<TarnOMBI_Preset/>")));
}

TEST (InformationXml, PresetInformationOrderAndPartialDocuments)
{
    PresetInformation information;
    information.dataID = "TOFP-0001";
    information.name = "Factory";
    information.author = "OMBI";
    information.version = 3;
    information.updateDate = "2026/12/11";
    information.prefix = "TOFP";
    information.copyright = "(c)";

    const auto xml = PresetInformationXmlReaderWriter().createXml (information);
    juce::StringArray order;
    for (auto* child : xml->getChildIterator())
        order.add (child->getTagName());
    EXPECT_EQ (order.joinIntoString (","), "DataID,Name,Author,Version,Date,Prefix,Copyright");

    PresetInformation read;
    ASSERT_TRUE (PresetInformationXmlReaderWriter().readFromXml (read, *xml));
    EXPECT_TRUE (read == information);

    read.version = 9;
    ASSERT_TRUE (PresetInformationXmlReaderWriter().readFromXml (read, *parse ("<TarnOMBI_Preset><Name>New</Name></TarnOMBI_Preset>")));
    EXPECT_EQ (read.version, 9);
    EXPECT_EQ (read.name, "New");
    ASSERT_TRUE (PresetInformationXmlReaderWriter().readFromXml (read, *parse ("<TarnOMBI_Preset><Version>12abc</Version></TarnOMBI_Preset>")));
    EXPECT_EQ (read.version, 12);
    EXPECT_FALSE (PresetInformationXmlReaderWriter().readFromXml (read, *parse ("<tarnombi_preset/>")));
}

TEST (InformationXml, DocumentsNestedTooDeeplyAreRefusedBeforeParsing)
{
    // The parser descends recursively; this depth would exhaust its stack.
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    EXPECT_EQ (parseXmlBlock (juce::MemoryBlock (deep.data(), deep.size())), nullptr);

    juce::String fine = "<TarnOMBI_Favorite>";
    for (int i = 0; i < 50; ++i)
        fine << "<a>";
    for (int i = 0; i < 50; ++i)
        fine << "</a>";
    fine << "</TarnOMBI_Favorite>";
    EXPECT_NE (parseXmlBlock (toUtf8Block (fine)), nullptr);
}

TEST (InformationXml, RandomDocumentsNeverCrashTheReaders)
{
    x38200_data::ProgramData program;
    FavoriteData favorites;
    PresetInformation preset;
    const juce::String seeds[] = { createXmlDocumentText (*FavoriteDataXmlReaderWriter().createXml (favorites)),
                                   createXmlDocumentText (*ProgramInformationXmlReaderWriter().createXml (program)),
                                   createXmlDocumentText (*PresetInformationXmlReaderWriter().createXml (preset)) };
    std::mt19937 random (99);
    for (int round = 0; round < 3000; ++round)
    {
        auto text = seeds[round % 3].toStdString();
        const int edits = 1 + (int) (random() % 6);
        for (int i = 0; i < edits && ! text.empty(); ++i)
        {
            const auto at = random() % text.size();
            switch (random() % 3)
            {
                case 0: text[at] = (char) (random() % 256); break;
                case 1: text.erase (at, 1 + random() % 10); break;
                default: text.insert (at, "<Bank>"); break;
            }
        }
        juce::MemoryBlock block (text.data(), text.size());
        if (auto xml = parseXmlBlock (block))
        {
            ProgramInformationXmlReaderWriter().readFromXml (program, *xml);
            FavoriteDataXmlReaderWriter().readFromXml (favorites, *xml);
            PresetInformationXmlReaderWriter().readFromXml (preset, *xml);
        }
    }
    SUCCEED();
}
