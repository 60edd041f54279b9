#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <memory>
#include <vector>

namespace file
{
// CRC-32 as the zip format uses it (polynomial 0xEDB88320).
juce::uint32 updateCrc32 (juce::uint32 crc, const void* data, size_t numBytes) noexcept;

// Assembles a zip archive entirely in memory. Every entry carries the same fixed time
// stamp, so two archives made from the same data are byte-identical.
class MemoryBasedZipBuilder
{
public:
    // 1 January 2013, 00:00:00 as a DOS time and date.
    static constexpr juce::uint16 FixedDosTime = 0x0000;
    static constexpr juce::uint16 FixedDosDate = 0x4221;

    MemoryBasedZipBuilder() = default;
    virtual ~MemoryBasedZipBuilder() = default;

    // Appends an entry holding a copy of the data. A level of 1 or more deflates the
    // entry at that level; 0 stores it. The stored name, when not empty, is the name
    // written into the archive.
    void addMemoryBlock (const juce::String& name, const juce::MemoryBlock& data, const int& compressionLevel,
                         const juce::String& storedName);

    // Local headers with their data, then the central directory, then the end record.
    bool writeToStream (juce::OutputStream& target);

    int getNumEntries() const noexcept { return (int) entries.size(); }

private:
    struct Entry
    {
        juce::String name;
        juce::MemoryBlock data;
        int compressionLevel = 0;
        juce::String storedName;
        juce::uint32 compressedSize = 0;
        juce::uint32 crc = 0;
        juce::int64 headerStart = 0;
    };

    bool writeEntry (juce::OutputStream& target, juce::int64 archiveStart, Entry& entry);

    std::vector<Entry> entries;

    JUCE_DECLARE_NON_COPYABLE (MemoryBasedZipBuilder)
};

// Opens a zip archive and inflates its entries into memory. Nothing in the archive is
// trusted: sizes and offsets are checked against the data really present, no entry is
// read past its declared data, and all entries together may not inflate to more than
// MaximumTotalUncompressedSize.
class MemoryBasedZipUncompressor
{
public:
    static constexpr juce::int64 MaximumTotalUncompressedSize = 64 * 1024 * 1024;

    struct ZipEntry
    {
        juce::String filename;
        bool isCompressed = false;
        juce::uint32 compressedSize = 0;
        juce::uint32 uncompressedSize = 0;
        juce::uint32 headerOffset = 0;
        juce::uint16 dosTime = 0;
        juce::uint16 dosDate = 0;
        juce::Time fileTime;
    };

    explicit MemoryBasedZipUncompressor (const juce::File& file);
    // The stream must outlive this object.
    explicit MemoryBasedZipUncompressor (juce::InputStream& stream);
    virtual ~MemoryBasedZipUncompressor();

    int getNumEntries() const noexcept { return (int) entries.size(); }
    // nullptr for an unknown index or name.
    const ZipEntry* getEntry (int index) const noexcept;
    const ZipEntry* getEntry (const juce::String& name) const noexcept;
    // -1 for an unknown name.
    int getIndexOfFileName (const juce::String& name) const noexcept;

    // A stream that delivers the entry's data, inflating when the entry is compressed;
    // nullptr for an invalid index or an entry whose data is not where the directory says.
    std::unique_ptr<juce::InputStream> createStreamForEntry (int index);

    void sortEntriesByFilename();

    // Inflates every entry, in list order, into the name-to-data map; fails at the first
    // entry that fails, and for an archive whose central directory is damaged.
    juce::Result uncompress();
    juce::Result uncompressEntry (int index);

    int getNumUncompressedFileEntries() const noexcept { return (int) uncompressedEntries.size(); }
    bool hasUncompressedFileEntry (const juce::String& name) const;
    // An empty block for a name that is not in the map; ask hasUncompressedFileEntry first.
    const juce::MemoryBlock& getUncompressedFileEntry (const juce::String& name) const;

    // True when the end record announced more directory entries than could be read.
    bool isDirectoryDamaged() const noexcept { return directoryDamaged; }

private:
    juce::InputStream* getSource();
    // Reads exactly numBytes at position into dest; false when they are not all there.
    bool readFromSource (juce::int64 position, void* dest, size_t numBytes);
    void readCentralDirectory();

    juce::File sourceFile;
    juce::InputStream* sourceStream = nullptr;
    std::unique_ptr<juce::InputStream> ownedStream;
    juce::int64 sourceLength = 0;
    juce::CriticalSection sourceLock;

    std::vector<ZipEntry> entries;
    bool directoryDamaged = false;
    juce::int64 totalUncompressedSize = 0;
    std::map<juce::String, juce::MemoryBlock> uncompressedEntries;

    JUCE_DECLARE_NON_COPYABLE (MemoryBasedZipUncompressor)
};
} // namespace file
