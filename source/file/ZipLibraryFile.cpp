#include "file/ZipLibraryFile.h"

#include "data/InformationXml.h"
#include "file/FileReaderWriter.h"
#include "file/LibraryFiles.h"

namespace x38200_file
{
const juce::String FileInformationName = "FileInformation.xml";
const juce::String FavoriteDataFileName = "FavoriteData.fav_data";
const juce::String PresetInformationFileName = "PresetInformation.xml";
const juce::String ProgramDataFileHeader = "Prog_";
const juce::String ProgramDataExt = ".prog_bin";
const juce::String ProgramInfoExt = ".prog_info";

const juce::String FileInformationTag = "OmbiMSLibrarian_Data";
const juce::String ProductTag = "Product";
const juce::String ProductName = "TarnOMBI";
const juce::String ContentsTag = "Contents";
const juce::String NumFavoriteAttribute = "NumFavoriteData";
const juce::String NumProgramAttribute = "NumProgramData";
const juce::String NumPresetInformationAttribute = "NumPresetInformation";
const juce::String FavoriteDataTag = "FavoriteData";
const juce::String FavoriteFileTag = "File";
const juce::String PresetInformationTag = "PresetInformation";
const juce::String PresetInformationFileTag = "File";
const juce::String ProgramDataTag = "ProgramData";
const juce::String ProgramInfoTag = "Information";
const juce::String ProgramBinaryTag = "ProgramBinary";

namespace
{
    void addTextChild (juce::XmlElement& parent, const juce::String& tag, const juce::String& text)
    {
        parent.createNewChildElement (tag)->addTextElement (text);
    }

} // namespace

//==============================================================================
void ZipLibraryFileWriter::addDocument (const juce::String& name, const juce::XmlElement& element)
{
    builder.addMemoryBlock (name, x38200_data::toUtf8Block (x38200_data::createXmlDocumentText (element)),
                            CompressionLevel, {});
}

bool ZipLibraryFileWriter::addFavoriteData (const x38200_data::FavoriteData& favorites)
{
    addDocument (FavoriteDataFileName, *x38200_data::FavoriteDataXmlReaderWriter().createXml (favorites));
    favoriteItems.add (FavoriteDataFileName);
    return true;
}

bool ZipLibraryFileWriter::addProgramData (const x38200_data::ProgramData& program)
{
    const auto base = ProgramDataFileHeader + juce::String::formatted ("%03d", programItems.size());
    builder.addMemoryBlock (base + ProgramDataExt,
                            juce::MemoryBlock (program.rawData.bytes, (size_t) x38200_data::ProgramData::RawDataSize),
                            CompressionLevel, {});
    addDocument (base + ProgramInfoExt, *x38200_data::ProgramInformationXmlReaderWriter().createXml (program));
    programItems.add (base);
    return true;
}

bool ZipLibraryFileWriter::addPresetInformation (const x38200_data::PresetInformation& information)
{
    addDocument (PresetInformationFileName, *x38200_data::PresetInformationXmlReaderWriter().createXml (information));
    presetInformationItems.add (PresetInformationFileName);
    return true;
}

std::unique_ptr<juce::XmlElement> ZipLibraryFileWriter::makeFileInformation() const
{
    auto root = std::make_unique<juce::XmlElement> (FileInformationTag);
    addTextChild (*root, ProductTag, ProductName);
    auto* contents = root->createNewChildElement (ContentsTag);
    contents->setAttribute (NumFavoriteAttribute, favoriteItems.size());
    contents->setAttribute (NumProgramAttribute, programItems.size());
    contents->setAttribute (NumPresetInformationAttribute, presetInformationItems.size());

    for (const auto& name : favoriteItems)
        addTextChild (*contents->createNewChildElement (FavoriteDataTag), FavoriteFileTag, name);
    for (const auto& name : presetInformationItems)
        addTextChild (*contents->createNewChildElement (PresetInformationTag), PresetInformationFileTag, name);
    for (const auto& base : programItems)
    {
        auto* program = contents->createNewChildElement (ProgramDataTag);
        addTextChild (*program, ProgramInfoTag, base + ProgramInfoExt);
        addTextChild (*program, ProgramBinaryTag, base + ProgramDataExt);
    }
    return root;
}

bool ZipLibraryFileWriter::writeToStream (juce::OutputStream& stream)
{
    addDocument (FileInformationName, *makeFileInformation());
    return builder.writeToStream (stream);
}

int ZipLibraryFileWriter::writeToFile (const juce::File& file)
{
    // The archive is complete in memory before the file is touched.
    juce::MemoryOutputStream archive;
    if (! writeToStream (archive))
        return WriteErrorWriteData;

    switch (file::replaceFileSafely (file, archive.getMemoryBlock()))
    {
        case file::SafeWriteOk: return WriteErrorNoError;
        case file::SafeWriteCannotReplace: return WriteErrorDeleteFile;
        case file::SafeWriteCannotOpen: return WriteErrorOpenFile;
        default: return WriteErrorWriteData;
    }
}

//==============================================================================
ZipLibraryFileReader::ZipLibraryFileReader (const juce::File& file)
    : uncompressor (file)
{
}

std::unique_ptr<juce::XmlElement> ZipLibraryFileReader::parseEntry (const juce::String& name) const
{
    return x38200_data::parseXmlBlock (uncompressor.getUncompressedFileEntry (name));
}

int ZipLibraryFileReader::readFromFile()
{
    favoriteItems.clear();
    programItems.clear();
    presetInformationItems.clear();

    if (uncompressor.getNumEntries() == 0 || uncompressor.uncompress().failed())
        return ReadErrorFailedToUncompressZipFile;

    const auto index = parseEntry (FileInformationName);
    if (index == nullptr)
        return ReadErrorFailedToParseXmlDocument;

    const auto* product = index->getChildByName (ProductTag);
    if (index->getTagName() != FileInformationTag || product == nullptr)
        return ReadErrorInvalidXmlDocument;
    if (! product->getAllSubText().contains (ProductName))
        return ReadErrorDifferentTargetDevice;
    const auto* contents = index->getChildByName (ContentsTag);
    if (contents == nullptr)
        return ReadErrorInvalidXmlDocument;

    for (auto* element : contents->getChildIterator())
    {
        if (element->hasTagName (FavoriteDataTag))
        {
            if (auto* fileElement = element->getChildByName (FavoriteFileTag))
                favoriteItems.push_back ({ fileElement->getAllSubText(), {} });
        }
        else if (element->hasTagName (ProgramDataTag))
        {
            auto* information = element->getChildByName (ProgramInfoTag);
            auto* binary = element->getChildByName (ProgramBinaryTag);
            if (information != nullptr && binary != nullptr)
                programItems.push_back ({ information->getAllSubText(), binary->getAllSubText(), {} });
        }
        else if (element->hasTagName (PresetInformationTag))
        {
            if (auto* fileElement = element->getChildByName (PresetInformationFileTag))
                presetInformationItems.push_back ({ fileElement->getAllSubText(), {} });
        }
    }

    for (auto& item : favoriteItems)
    {
        if (! uncompressor.hasUncompressedFileEntry (item.name))
            return ReadErrorFavoriteDataMissing;
        const auto element = parseEntry (item.name);
        if (element == nullptr || ! x38200_data::FavoriteDataXmlReaderWriter().readFromXml (item.data, *element))
            return ReadErrorFailedToReadFavoriteData;
    }

    for (auto& item : presetInformationItems)
    {
        if (! uncompressor.hasUncompressedFileEntry (item.name))
            return ReadErrorPresetInformationMissing;
        const auto element = parseEntry (item.name);
        if (element == nullptr || ! x38200_data::PresetInformationXmlReaderWriter().readFromXml (item.data, *element))
            return ReadErrorFailedToReadPresetInformation;
    }

    for (auto& item : programItems)
    {
        if (! uncompressor.hasUncompressedFileEntry (item.informationName)
            || ! uncompressor.hasUncompressedFileEntry (item.binaryName))
            return ReadErrorProgramDataMissing;

        const auto& binary = uncompressor.getUncompressedFileEntry (item.binaryName);
        if (binary.getSize() < (size_t) x38200_data::ProgramData::RawDataSize)
            return ReadErrorFailedToReadProgramBinary;
        ::ProgramData raw;
        std::memcpy (raw.bytes, binary.getData(), sizeof (raw.bytes));
        item.data.copyFromNativeData (raw);

        const auto element = parseEntry (item.informationName);
        if (element == nullptr || ! x38200_data::ProgramInformationXmlReaderWriter().readFromXml (item.data, *element))
            return ReadErrorFailedToReadProgramInformation;
    }
    return ReadErrorNoError;
}

const x38200_data::FavoriteData& ZipLibraryFileReader::getFavoriteData (const int& index) const
{
    static const x38200_data::FavoriteData none;
    return index >= 0 && index < getNumFavoriteData() ? favoriteItems[(size_t) index].data : none;
}

const x38200_data::ProgramData& ZipLibraryFileReader::getProgramData (const int& index) const
{
    static const x38200_data::ProgramData none;
    return index >= 0 && index < getNumProgramData() ? programItems[(size_t) index].data : none;
}

const x38200_data::PresetInformation& ZipLibraryFileReader::getPresetInformation (const int& index) const
{
    static const x38200_data::PresetInformation none;
    return index >= 0 && index < getNumPresetInformation() ? presetInformationItems[(size_t) index].data : none;
}
} // namespace x38200_file
