#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace data
{
// A byte block holding one section container: a 32-byte header followed by named
// sections, each a 32-byte header and its payload.
class SerializedData
{
public:
    SerializedData() = default;
    SerializedData (const unsigned char* bytes, const int& length);
    SerializedData (const SerializedData&) = default;
    SerializedData& operator= (const SerializedData&) = default;
    virtual ~SerializedData() = default;

    void assign (const SerializedData& other) { block = other.block; }

    const unsigned char* getData() const { return static_cast<const unsigned char*> (block.getData()); }
    int getDataSize() const { return (int) block.getSize(); }

    juce::MemoryBlock& getBlock() { return block; }
    const juce::MemoryBlock& getBlock() const { return block; }

private:
    juce::MemoryBlock block;
};

// Every header of the container, 32 bytes, little-endian.
struct SerializedDataHeader
{
    static constexpr int Size = 32;
    static constexpr int IdentifierLength = 8;
};

class SerializedDataHeaderWriter
{
public:
    explicit SerializedDataHeaderWriter (juce::OutputStream& target) : stream (target) {}
    virtual ~SerializedDataHeaderWriter() = default;

    bool write();

    std::string identifier;
    juce::int32 dataSize = 0;
    juce::int16 value1 = 0, value2 = 0, value3 = 0;
    juce::int32 count = 0;
    juce::int32 reserved = 0;

private:
    juce::OutputStream& stream;
};

class SerializedDataHeaderReader
{
public:
    explicit SerializedDataHeaderReader (juce::InputStream& source) : stream (source) {}
    virtual ~SerializedDataHeaderReader() = default;

    // 0 on success, 1 when not a single byte of the identifier could be read, 2 when the
    // header is incomplete or claims a size that cannot be right.
    int read();

    std::string identifier;
    juce::uint16 headerSize = 0;
    juce::int32 dataSize = 0;
    juce::int16 value1 = 0, value2 = 0, value3 = 0;
    juce::int32 count = 0;
    juce::int32 reserved = 0;

private:
    juce::InputStream& stream;
};

class SerializedSectionDataWriter
{
public:
    explicit SerializedSectionDataWriter (SerializedData& target);
    virtual ~SerializedSectionDataWriter() = default;

    void addData (const std::string& id, const juce::MemoryBlock& payload, int value1 = 0, int value2 = 0, int value3 = 0);
    void finalize (const std::string& id, int value1 = 0, int value2 = 0, int value3 = 0);

private:
    juce::MemoryOutputStream stream;
    juce::int64 containerStart = 0;
    juce::int64 totalSize = 0;
    int sectionCount = 0;
};

class SerializedSectionDataReader
{
public:
    struct SectionData
    {
        std::string id;
        juce::int16 value1 = 0, value2 = 0, value3 = 0;
        juce::MemoryBlock data;
    };

    explicit SerializedSectionDataReader (const SerializedData& source);
    virtual ~SerializedSectionDataReader() = default;

    // Reads the container header and its sections; false when anything is missing or
    // a header claims more bytes than the block holds.
    bool readData();
    bool readOneSection();

    const std::string& getIdentifier() const { return identifier; }
    const std::vector<SectionData>& getSections() const { return sections; }

private:
    const SerializedData& source;
    juce::MemoryInputStream stream;
    std::string identifier;
    juce::int16 value1 = 0, value2 = 0, value3 = 0;
    std::vector<SectionData> sections;
};
} // namespace data
