#include "file/TimbrixEditorLibraryDataImporter.h"

#include "file/LibraryFiles.h"

namespace x38200_file
{
const juce::String TimbrixEditorLibraryDataImporter::LibraryDataHeader = "38200AllD";
const juce::String TimbrixEditorLibraryDataImporter::ProgramSetHeader = "38200PrgS";
const juce::String TimbrixEditorLibraryDataImporter::ProgramDataHeader = "38200PrgD";
const juce::String TimbrixEditorLibraryDataImporter::GlobalDataHeader = "38200GlbD";

namespace
{
    juce::int16 readShort (const juce::uint8* p) noexcept { return (juce::int16) (p[0] | (p[1] << 8)); }

    juce::int32 readInt (const juce::uint8* p) noexcept
    {
        return (juce::int32) ((juce::uint32) p[0] | ((juce::uint32) p[1] << 8) | ((juce::uint32) p[2] << 16)
                              | ((juce::uint32) p[3] << 24));
    }

    // 8-bit text, one character per byte, up to the first zero byte or the field's end.
    juce::String readText (const juce::uint8* field, int length)
    {
        juce::String text;
        for (int i = 0; i < length && field[i] != 0; ++i)
            text += juce::String::charToString ((juce::juce_wchar) field[i]);
        return text;
    }

    bool readExactly (juce::InputStream& stream, void* dest, int numBytes)
    {
        return stream.read (dest, numBytes) == numBytes;
    }
} // namespace

int TimbrixEditorFileHeaderReaderWriter::read (juce::InputStream& stream)
{
    const auto start = stream.getPosition();
    juce::uint8 bytes[HeaderSize] = {};
    if (stream.read (bytes, HeaderSize) != HeaderSize)
        return 1;

    char name[IdentifierLength + 1] = {};
    std::memcpy (name, bytes, IdentifierLength);
    identifier = juce::String (juce::CharPointer_ASCII (name));
    headerSize = (juce::uint16) readShort (bytes + 9);
    dataSize = readInt (bytes + 11);
    value1 = readShort (bytes + 15);
    value2 = readShort (bytes + 17);
    value3 = readShort (bytes + 19);
    count = readInt (bytes + 21);
    reserved = readInt (bytes + 25);
    stream.setPosition (start + headerSize);
    return 0;
}

//==============================================================================
bool TimbrixEditorLibraryDataImporter::readBlockHeader (juce::InputStream& stream, juce::int64 position,
                                                        juce::int64 limit, TimbrixEditorFileHeaderReaderWriter& header)
{
    if (! stream.setPosition (position) || header.read (stream) != 0)
        return false;
    // A block whose data would reach past the file (or its enclosing block) is refused
    // rather than read beyond the end.
    return header.dataSize >= 0
           && position + TimbrixEditorFileHeaderReaderWriter::HeaderSize + (juce::int64) header.dataSize <= limit;
}

int TimbrixEditorLibraryDataImporter::readFromFile (const juce::File& file)
{
    juce::FileInputStream stream (file);
    if (file.isDirectory() || ! stream.openedOk())
        return ReadErrorOpenFile;

    const auto fileLength = stream.getTotalLength();
    if (const auto result = importFileHeader (stream); result != ReadErrorNoError)
        return result;

    juce::int64 position = TimbrixEditorFileHeaderReaderWriter::HeaderSize;
    for (int block = 0; block < 3; ++block)
    {
        TimbrixEditorFileHeaderReaderWriter header;
        if (! readBlockHeader (stream, position, fileLength, header))
            return ReadErrorInvalidType;
        stream.setPosition (position);

        const auto blockEnd = position + TimbrixEditorFileHeaderReaderWriter::HeaderSize + header.dataSize;
        blockLimit = blockEnd;
        int result = ReadErrorNoError;
        if (header.identifier == ProgramSetHeader)
            result = importProgramSet (stream);
        else if (header.identifier == GlobalDataHeader)
            result = importFavoriteData (stream);
        if (result != ReadErrorNoError)
            return result;

        position = blockEnd;
    }
    return ReadErrorNoError;
}

int TimbrixEditorLibraryDataImporter::importFileHeader (juce::InputStream& stream)
{
    TimbrixEditorFileHeaderReaderWriter header;
    if (! stream.setPosition (0) || header.read (stream) != 0 || header.identifier != LibraryDataHeader || header.count != 3)
        return ReadErrorInvalidType;
    stream.setPosition (TimbrixEditorFileHeaderReaderWriter::HeaderSize);
    return ReadErrorNoError;
}

int TimbrixEditorLibraryDataImporter::importProgramSet (juce::InputStream& stream)
{
    const auto start = stream.getPosition();
    const auto limit = blockLimit > 0 ? blockLimit : stream.getTotalLength();
    TimbrixEditorFileHeaderReaderWriter header;
    if (! readBlockHeader (stream, start, limit, header))
        return ReadErrorInvalidType;
    if (header.count != x38200_data::LibraryData::NumPrograms)
        return ReadErrorInvalidProgramNumber;

    const auto setEnd = start + TimbrixEditorFileHeaderReaderWriter::HeaderSize + header.dataSize;
    stream.setPosition (start + TimbrixEditorFileHeaderReaderWriter::HeaderSize);
    for (int number = 0; number < x38200_data::LibraryData::NumPrograms; ++number)
    {
        blockLimit = setEnd;
        if (const auto result = importOneProgram (stream, number); result != ReadErrorNoError)
            return result;
    }
    stream.setPosition (setEnd);
    return ReadErrorNoError;
}

int TimbrixEditorLibraryDataImporter::importOneProgram (juce::InputStream& stream, int programNumber)
{
    const auto start = stream.getPosition();
    const auto limit = blockLimit > 0 ? blockLimit : stream.getTotalLength();
    TimbrixEditorFileHeaderReaderWriter header;
    if (! readBlockHeader (stream, start, limit, header) || header.identifier != ProgramDataHeader
        || header.dataSize < ProgramBlockFieldsSize)
        return ReadErrorInvalidType;

    juce::uint8 fields[ProgramBlockFieldsSize];
    stream.setPosition (start + TimbrixEditorFileHeaderReaderWriter::HeaderSize);
    if (! readExactly (stream, fields, ProgramBlockFieldsSize))
        return ReadErrorInvalidType;

    auto& program = library->getProgramData (programNumber);
    program.copyFromRawData (fields, x38200_data::ProgramData::RawDataSize);
    program.information.programmer = readText (fields + 384, 24);
    program.information.comment = readText (fields + 408, 64);
    program.information.youTubeLink = readText (fields + 472, 64);

    stream.setPosition (start + TimbrixEditorFileHeaderReaderWriter::HeaderSize + header.dataSize);
    return ReadErrorNoError;
}

int TimbrixEditorLibraryDataImporter::importFavoriteData (juce::InputStream& stream)
{
    const auto start = stream.getPosition();
    const auto limit = blockLimit > 0 ? blockLimit : stream.getTotalLength();
    TimbrixEditorFileHeaderReaderWriter header;
    if (! readBlockHeader (stream, start, limit, header) || header.identifier != GlobalDataHeader
        || header.dataSize < GlobalBlockFieldsSize)
        return ReadErrorInvalidType;

    ::GlobalData global;
    stream.setPosition (start + TimbrixEditorFileHeaderReaderWriter::HeaderSize);
    if (! readExactly (stream, global.bytes, GlobalBlockFieldsSize))
        return ReadErrorInvalidType;

    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
            library->favoriteData.setFavoriteData (
                bank, slot, readShort (global.bytes + 128 + 2 * (bank * x38200_data::FavoriteData::NumSlots + slot)));

    stream.setPosition (start + TimbrixEditorFileHeaderReaderWriter::HeaderSize + header.dataSize);
    return ReadErrorNoError;
}
} // namespace x38200_file
