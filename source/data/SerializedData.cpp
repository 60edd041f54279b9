#include "data/SerializedData.h"

namespace data
{
SerializedData::SerializedData (const unsigned char* bytes, const int& length)
{
    if (bytes != nullptr && length > 0)
        block.append (bytes, (size_t) length);
}

bool SerializedDataHeaderWriter::write()
{
    char id[SerializedDataHeader::IdentifierLength] = {};
    std::memcpy (id, identifier.data(), std::min (identifier.size(), sizeof (id)));
    stream.write (id, sizeof (id));
    stream.writeShort ((short) SerializedDataHeader::Size);
    stream.writeInt (dataSize);
    stream.writeShort (value1);
    stream.writeShort (value2);
    stream.writeShort (value3);
    stream.writeInt (count);
    stream.writeInt (reserved);
    const int written = SerializedDataHeader::IdentifierLength + 2 + 4 + 2 + 2 + 2 + 4 + 4;
    for (int i = written; i < SerializedDataHeader::Size; ++i)
        stream.writeByte ((char) 0xFF);
    return true;
}

int SerializedDataHeaderReader::read()
{
    const auto start = stream.getPosition();
    char id[SerializedDataHeader::IdentifierLength] = {};
    const auto got = stream.read (id, sizeof (id));
    if (got <= 0)
        return 1;
    if (got < (int) sizeof (id) || stream.getNumBytesRemaining() < SerializedDataHeader::Size - (juce::int64) sizeof (id))
        return 2;

    identifier.assign (id, strnlen (id, sizeof (id)));
    headerSize = (juce::uint16) stream.readShort();
    dataSize = stream.readInt();
    value1 = stream.readShort();
    value2 = stream.readShort();
    value3 = stream.readShort();
    count = stream.readInt();
    reserved = stream.readInt();

    // A header is at least as long as its own fields; anything else cannot be followed.
    if (headerSize < SerializedDataHeader::Size || dataSize < 0 || count < 0)
        return 2;
    if (! stream.setPosition (start + headerSize) || stream.getPosition() != start + headerSize)
        return 2;
    return 0;
}

SerializedSectionDataWriter::SerializedSectionDataWriter (SerializedData& target)
    : stream (target.getBlock(), true)
{
    containerStart = stream.getPosition();
    for (int i = 0; i < SerializedDataHeader::Size; ++i)
        stream.writeByte ((char) 0xFF);
}

void SerializedSectionDataWriter::addData (const std::string& id, const juce::MemoryBlock& payload, int value1, int value2, int value3)
{
    SerializedDataHeaderWriter header (stream);
    header.identifier = id;
    header.dataSize = (juce::int32) payload.getSize();
    header.value1 = (juce::int16) value1;
    header.value2 = (juce::int16) value2;
    header.value3 = (juce::int16) value3;
    header.count = 1;
    header.write();
    stream.write (payload.getData(), payload.getSize());
    totalSize += SerializedDataHeader::Size + (juce::int64) payload.getSize();
    ++sectionCount;
}

void SerializedSectionDataWriter::finalize (const std::string& id, int value1, int value2, int value3)
{
    const auto end = stream.getPosition();
    stream.setPosition (containerStart);
    SerializedDataHeaderWriter header (stream);
    header.identifier = id;
    header.dataSize = (juce::int32) totalSize;
    header.value1 = (juce::int16) value1;
    header.value2 = (juce::int16) value2;
    header.value3 = (juce::int16) value3;
    header.count = sectionCount;
    header.write();
    stream.setPosition (end);
    stream.flush();
}

SerializedSectionDataReader::SerializedSectionDataReader (const SerializedData& sourceData)
    : source (sourceData), stream (sourceData.getBlock(), false)
{
}

bool SerializedSectionDataReader::readData()
{
    const auto containerStart = stream.getPosition();
    SerializedDataHeaderReader header (stream);
    if (header.read() != 0)
        return false;

    identifier = header.identifier;
    value1 = header.value1;
    value2 = header.value2;
    value3 = header.value3;

    // The container cannot hold more sections than it has room for headers.
    if ((juce::int64) header.count * SerializedDataHeader::Size > stream.getNumBytesRemaining())
        return false;

    for (int i = 0; i < header.count; ++i)
        if (! readOneSection())
            return false;

    const auto end = containerStart + SerializedDataHeader::Size + (juce::int64) header.dataSize;
    if (end > stream.getTotalLength())
        return false;
    stream.setPosition (end);
    return true;
}

bool SerializedSectionDataReader::readOneSection()
{
    const auto sectionStart = stream.getPosition();
    SerializedDataHeaderReader header (stream);
    if (header.read() != 0)
        return false;
    if ((juce::int64) header.dataSize > stream.getNumBytesRemaining())
        return false;

    SectionData section;
    section.id = header.identifier;
    section.value1 = header.value1;
    section.value2 = header.value2;
    section.value3 = header.value3;
    if (header.dataSize > 0)
    {
        section.data.setSize ((size_t) header.dataSize);
        if (stream.read (section.data.getData(), header.dataSize) != header.dataSize)
            return false;
    }
    sections.push_back (std::move (section));
    stream.setPosition (sectionStart + SerializedDataHeader::Size + header.dataSize);
    return true;
}
} // namespace data
