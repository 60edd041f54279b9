#include "data/InformationXml.h"

#include "data/Utf8Text.h"

namespace x38200_data
{
const juce::String ProgramInformationXmlReaderWriter::RootTag = "TarnOMBI_ProgramInformation";
const juce::String ProgramInformationXmlReaderWriter::ProgrammerTag = "Programmer";
const juce::String ProgramInformationXmlReaderWriter::CommentTag = "Comment";
const juce::String ProgramInformationXmlReaderWriter::PlayListIDTag = "PlayListID";
const juce::String ProgramInformationXmlReaderWriter::SearchWordTag = "SearchWord";
const juce::String ProgramInformationXmlReaderWriter::YouTubeLinkTag = "YouTubeLink";

const juce::String FavoriteDataXmlReaderWriter::RootTag = "TarnOMBI_Favorite";
const juce::String FavoriteDataXmlReaderWriter::BankTag = "Bank";
const juce::String FavoriteDataXmlReaderWriter::DataTag = "Data";

const juce::String PresetInformationXmlReaderWriter::RootTag = "TarnOMBI_Preset";
const juce::String PresetInformationXmlReaderWriter::DataIDTag = "DataID";
const juce::String PresetInformationXmlReaderWriter::NameTag = "Name";
const juce::String PresetInformationXmlReaderWriter::AuthorTag = "Author";
const juce::String PresetInformationXmlReaderWriter::VersionTag = "Version";
const juce::String PresetInformationXmlReaderWriter::UpdateDateTag = "Date";
const juce::String PresetInformationXmlReaderWriter::PrefixTag = "Prefix";
const juce::String PresetInformationXmlReaderWriter::CopyrightTag = "Copyright";

namespace
{
    void addTextChild (juce::XmlElement& parent, const juce::String& tag, const juce::String& text)
    {
        parent.createNewChildElement (tag)->addTextElement (text);
    }

    // The first child of that name decides; absent children leave the field as it was.
    void readTextChild (const juce::XmlElement& parent, const juce::String& tag, juce::String& field)
    {
        if (auto* child = parent.getChildByName (tag))
            field = child->getAllSubText();
    }
} // namespace

//==============================================================================
std::unique_ptr<juce::XmlElement> ProgramInformationXmlReaderWriter::createXml (const ProgramData& program) const
{
    auto root = std::make_unique<juce::XmlElement> (RootTag);
    addTextChild (*root, ProgrammerTag, program.information.programmer);
    addTextChild (*root, CommentTag, program.information.comment);
    return root;
}

bool ProgramInformationXmlReaderWriter::readFromXml (ProgramData& program, const juce::XmlElement& element) const
{
    if (element.getTagName() != RootTag)
        return false;
    auto& information = program.information;
    readTextChild (element, ProgrammerTag, information.programmer);
    readTextChild (element, CommentTag, information.comment);
    readTextChild (element, PlayListIDTag, information.playListID);
    readTextChild (element, SearchWordTag, information.searchWord);
    readTextChild (element, YouTubeLinkTag, information.youTubeLink);
    return true;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> FavoriteDataXmlReaderWriter::createXml (const FavoriteData& favorites) const
{
    auto root = std::make_unique<juce::XmlElement> (RootTag);
    for (int bank = 0; bank < FavoriteData::NumBanks; ++bank)
    {
        auto* bankElement = root->createNewChildElement (BankTag);
        for (int slot = 0; slot < FavoriteData::NumSlots; ++slot)
            addTextChild (*bankElement, DataTag, juce::String (favorites.getFavoriteData (bank, slot)));
    }
    return root;
}

// Banks and slots are given by position. Elements beyond the 6 x 8 table are ignored.
bool FavoriteDataXmlReaderWriter::readFromXml (FavoriteData& favorites, const juce::XmlElement& element) const
{
    if (element.getTagName() != RootTag)
        return false;

    int bank = 0;
    for (auto* bankElement = element.getChildByName (BankTag); bankElement != nullptr && bank < FavoriteData::NumBanks;
         bankElement = bankElement->getNextElementWithTagName (BankTag), ++bank)
    {
        int slot = 0;
        for (auto* dataElement = bankElement->getChildByName (DataTag); dataElement != nullptr && slot < FavoriteData::NumSlots;
             dataElement = dataElement->getNextElementWithTagName (DataTag), ++slot)
            favorites.setFavoriteData (bank, slot, dataElement->getAllSubText().getIntValue());
    }
    return true;
}

//==============================================================================
std::unique_ptr<juce::XmlElement> PresetInformationXmlReaderWriter::createXml (const PresetInformation& information) const
{
    auto root = std::make_unique<juce::XmlElement> (RootTag);
    addTextChild (*root, DataIDTag, information.dataID);
    addTextChild (*root, NameTag, information.name);
    addTextChild (*root, AuthorTag, information.author);
    addTextChild (*root, VersionTag, juce::String (information.version));
    addTextChild (*root, UpdateDateTag, information.updateDate);
    addTextChild (*root, PrefixTag, information.prefix);
    addTextChild (*root, CopyrightTag, information.copyright);
    return root;
}

bool PresetInformationXmlReaderWriter::readFromXml (PresetInformation& information, const juce::XmlElement& element) const
{
    if (element.getTagName() != RootTag)
        return false;
    readTextChild (element, DataIDTag, information.dataID);
    readTextChild (element, NameTag, information.name);
    readTextChild (element, AuthorTag, information.author);
    if (auto* version = element.getChildByName (VersionTag))
        information.version = version->getAllSubText().getIntValue();
    readTextChild (element, UpdateDateTag, information.updateDate);
    readTextChild (element, PrefixTag, information.prefix);
    readTextChild (element, CopyrightTag, information.copyright);
    return true;
}

// Our documents are a few elements deep. The XML parser descends recursively, so a
// document nested thousands of levels deep would exhaust the stack: such text is refused
// before it is parsed. The count is a quick upper bound over the tags.
constexpr int MaximumElementDepth = 200;

bool isXmlNestedTooDeeply (const char* bytes, size_t size)
{
    int depth = 0;
    for (size_t i = 0; i + 1 < size; ++i)
    {
        if (bytes[i] == '<')
        {
            const auto next = bytes[i + 1];
            if (next == '/')
                --depth;
            else if (next != '?' && next != '!' && ++depth > MaximumElementDepth)
                return true;
        }
        else if (bytes[i] == '/' && bytes[i + 1] == '>')
        {
            --depth;
        }
    }
    return false;
}

//==============================================================================
juce::String createXmlDocumentText (const juce::XmlElement& element)
{
    // The default format: declaration, "UTF-8", lines wrapped at 60, no DTD.
    return element.toString (juce::XmlElement::TextFormat());
}

juce::MemoryBlock toUtf8Block (const juce::String& text)
{
    return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

std::unique_ptr<juce::XmlElement> parseXmlFile (const juce::File& file)
{
    juce::MemoryBlock block;
    if (! file.loadFileAsData (block))
        return nullptr;
    return parseXmlBlock (block);
}

std::unique_ptr<juce::XmlElement> parseXmlBlock (const juce::MemoryBlock& block)
{
    const auto* bytes = static_cast<const char*> (block.getData());
    const auto length = strnlen (bytes == nullptr ? "" : bytes, block.getSize());
    if (length == 0 || isXmlNestedTooDeeply (bytes, length))
        return nullptr;
    return juce::XmlDocument::parse (data::stringFromUtf8 (bytes, length));
}
} // namespace x38200_data
