#pragma once

#include "data/ProgramData.h"
#include "file/FileReaderWriter.h"

#include <juce_core/juce_core.h>

namespace x38200_file
{
// One 32-byte block header of the older editor's files.
class TimbrixEditorFileHeaderReaderWriter
{
public:
    static constexpr int HeaderSize = 32;
    static constexpr int IdentifierLength = 9;

    virtual ~TimbrixEditorFileHeaderReaderWriter() = default;

    // Reads a header at the stream's position and moves to the header's start plus its
    // header size. 0 on success; 1 when the stream does not hold a whole header.
    int read (juce::InputStream& stream);

    juce::String identifier;
    int headerSize = 0;
    juce::int32 dataSize = 0;
    juce::int16 value1 = 0, value2 = 0, value3 = 0;
    juce::int32 count = 0;
    juce::int32 reserved = 0;
};

// Reads a file of the older editor (".X38200_all") into a library: the 300 programs
// with their programmer, comment and link texts, and the favorite table.
class TimbrixEditorLibraryDataImporter : public file::FileReader
{
public:
    static const juce::String LibraryDataHeader; // "38200AllD"
    static const juce::String ProgramSetHeader;  // "38200PrgS"
    static const juce::String ProgramDataHeader; // "38200PrgD"
    static const juce::String GlobalDataHeader;  // "38200GlbD"

    // The fixed fields of a program block's data and of the global record.
    static constexpr int ProgramBlockFieldsSize = 536;
    static constexpr int GlobalBlockFieldsSize = 224;

    explicit TimbrixEditorLibraryDataImporter (x38200_data::LibraryData& target) : library (&target) {}

    int readFromFile (const juce::File& file) override;

    int importFileHeader (juce::InputStream& stream);
    int importProgramSet (juce::InputStream& stream);
    int importOneProgram (juce::InputStream& stream, int programNumber);
    int importFavoriteData (juce::InputStream& stream);

private:
    // Reads a header at position and checks that the block's declared data lies inside
    // [position, limit); false for a header that is missing or runs past the limit.
    bool readBlockHeader (juce::InputStream& stream, juce::int64 position, juce::int64 limit,
                          TimbrixEditorFileHeaderReaderWriter& header);

    x38200_data::LibraryData* library;
    // The end of the data that the current block may use (the file end at top level).
    juce::int64 blockLimit = 0;
};
} // namespace x38200_file
