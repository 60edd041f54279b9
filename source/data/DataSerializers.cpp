#include "data/DataSerializers.h"

#include "data/InformationXml.h"

namespace x38200_data
{
namespace
{
    // A document as a section payload: its UTF-8 text and one zero byte.
    juce::MemoryBlock documentPayload (const juce::XmlElement& element)
    {
        auto block = toUtf8Block (createXmlDocumentText (element));
        const char terminator = 0;
        block.append (&terminator, 1);
        return block;
    }

    data::SerializedData toSerialized (const juce::MemoryBlock& block)
    {
        return data::SerializedData (static_cast<const unsigned char*> (block.getData()), (int) block.getSize());
    }
} // namespace

data::SerializedData ProgramDataSerializer::createSerializedData() const
{
    data::SerializedData result;
    data::SerializedSectionDataWriter writer (result);
    writer.addData (ProgramData::DataHeaderID, juce::MemoryBlock (program->rawData.bytes, (size_t) ProgramData::RawDataSize));
    writer.addData (ProgramData::InformationHeaderID, documentPayload (*ProgramInformationXmlReaderWriter().createXml (*program)));
    writer.finalize (ProgramData::HeaderID);
    return result;
}

int ProgramDataDeserializer::readFromSerializedData (const data::SerializedData& serialized)
{
    data::SerializedSectionDataReader reader (serialized);
    if (! reader.readData())
        return 2;
    if (reader.getIdentifier() != ProgramData::HeaderID)
        return 1;

    program->initialize();
    for (const auto& section : reader.getSections())
    {
        if (section.id == ProgramData::DataHeaderID)
        {
            program->copyFromRawData (section.data);
        }
        else if (section.id == ProgramData::InformationHeaderID)
        {
            const auto xml = parseXmlBlock (section.data);
            if (xml == nullptr || ! ProgramInformationXmlReaderWriter().readFromXml (*program, *xml))
                return 3;
        }
    }
    return 0;
}

data::SerializedData FavoriteDataSerializer::createSerializedData() const
{
    data::SerializedData result;
    data::SerializedSectionDataWriter writer (result);
    writer.addData (FavoriteData::DataHeaderID, documentPayload (*FavoriteDataXmlReaderWriter().createXml (*favorites)));
    writer.finalize (FavoriteData::HeaderID);
    return result;
}

int FavoriteDataDeserializer::readFromSerializedData (const data::SerializedData& serialized)
{
    data::SerializedSectionDataReader reader (serialized);
    if (! reader.readData())
        return 3;
    if (reader.getIdentifier() != FavoriteData::HeaderID)
        return 1;

    favorites->initialize();
    for (const auto& section : reader.getSections())
    {
        if (section.id == FavoriteData::DataHeaderID)
        {
            const auto xml = parseXmlBlock (section.data);
            if (xml == nullptr || ! FavoriteDataXmlReaderWriter().readFromXml (*favorites, *xml))
                return 2;
        }
    }
    return 0;
}

data::SerializedData LibraryDataSerializer::createSerializedData() const
{
    data::SerializedData result;
    data::SerializedSectionDataWriter writer (result);
    for (int number = 0; number < LibraryData::NumPrograms; ++number)
        writer.addData (LibraryData::ProgramHeaderID, library->getProgramData (number).getSerializedData().getBlock());
    writer.addData (LibraryData::FavoriteHeaderID, library->favoriteData.getSerializedData().getBlock());
    writer.finalize (LibraryData::HeaderID);
    return result;
}

int LibraryDataDeserializer::readFromSerializedData (const data::SerializedData& serialized)
{
    data::SerializedSectionDataReader reader (serialized);
    if (! reader.readData())
        return 2;
    if (reader.getIdentifier() != LibraryData::HeaderID)
        return 1;

    library->initialize();
    int programNumber = 0;
    for (const auto& section : reader.getSections())
    {
        if (section.id == LibraryData::ProgramHeaderID)
        {
            // Sections beyond the 300th land in the spare program and change nothing.
            if (! library->getProgramData (programNumber++).setFromSerializedData (toSerialized (section.data)))
                return 3;
        }
        else if (section.id == LibraryData::FavoriteHeaderID)
        {
            if (! library->favoriteData.setFromSerializedData (toSerialized (section.data)))
                return 4;
        }
    }
    return 0;
}
} // namespace x38200_data
