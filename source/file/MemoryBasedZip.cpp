#include "file/MemoryBasedZip.h"

#include <algorithm>
#include <array>

namespace file
{
namespace
{
    constexpr juce::uint32 LocalHeaderSignature = 0x04034B50;
    constexpr juce::uint32 CentralHeaderSignature = 0x02014B50;
    constexpr juce::uint32 EndRecordSignature = 0x06054B50;
    constexpr int LocalHeaderSize = 30;
    constexpr int CentralHeaderSize = 46;
    constexpr int EndRecordSize = 22;
    // The end record is looked for no further back than this from the end of the file.
    constexpr int EndRecordSearchRange = 1024;
    constexpr size_t ChunkSize = 2048;
    // A central directory larger than this does not belong to an archive of ours.
    constexpr juce::int64 MaximumDirectorySize = 16 * 1024 * 1024;
    // A source of unknown length is copied into memory up to this size.
    constexpr size_t MaximumUnknownStreamSize = 256 * 1024 * 1024;

    const std::array<juce::uint32, 256>& crcTable()
    {
        static const auto table = [] {
            std::array<juce::uint32, 256> t {};
            for (juce::uint32 n = 0; n < 256; ++n)
            {
                auto c = n;
                for (int k = 0; k < 8; ++k)
                    c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
                t[n] = c;
            }
            return t;
        }();
        return table;
    }

    juce::uint16 readShort (const juce::uint8* p) noexcept { return (juce::uint16) (p[0] | (p[1] << 8)); }

    juce::uint32 readInt (const juce::uint8* p) noexcept
    {
        return (juce::uint32) p[0] | ((juce::uint32) p[1] << 8) | ((juce::uint32) p[2] << 16) | ((juce::uint32) p[3] << 24);
    }

    bool writeShort (juce::OutputStream& out, juce::uint16 value) { return out.writeShort ((short) value); }
    bool writeInt (juce::OutputStream& out, juce::uint32 value) { return out.writeInt ((int) value); }

    juce::Time dosToTime (juce::uint16 time, juce::uint16 date)
    {
        return juce::Time (1980 + (date >> 9), ((date >> 5) & 15) - 1, date & 31, time >> 11, (time >> 5) & 63,
                           (time & 31) * 2, 0, true);
    }
} // namespace

juce::uint32 updateCrc32 (juce::uint32 crc, const void* data, size_t numBytes) noexcept
{
    const auto& table = crcTable();
    auto c = crc ^ 0xFFFFFFFFu;
    const auto* bytes = static_cast<const juce::uint8*> (data);
    for (size_t i = 0; i < numBytes; ++i)
        c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

//==============================================================================
void MemoryBasedZipBuilder::addMemoryBlock (const juce::String& name, const juce::MemoryBlock& data,
                                            const int& compressionLevel, const juce::String& storedName)
{
    Entry entry;
    entry.name = name;
    if (! data.isEmpty()) // JUCE copies even an empty block with memcpy from a null pointer
        entry.data = data;
    entry.compressionLevel = compressionLevel;
    entry.storedName = storedName.isEmpty() ? name : storedName;
    entries.push_back (std::move (entry));
}

bool MemoryBasedZipBuilder::writeEntry (juce::OutputStream& target, juce::int64 archiveStart, Entry& entry)
{
    const auto size = entry.data.getSize();
    if (size > 0xFFFFFFFFu)
        return false;

    juce::MemoryOutputStream buffer;
    const bool deflate = entry.compressionLevel > 0;
    {
        std::unique_ptr<juce::GZIPCompressorOutputStream> compressor;
        if (deflate)
            compressor = std::make_unique<juce::GZIPCompressorOutputStream> (
                buffer, juce::jlimit (1, 9, entry.compressionLevel), juce::GZIPCompressorOutputStream::windowBitsRaw);

        juce::uint32 crc = 0;
        const auto* bytes = static_cast<const char*> (entry.data.getData());
        for (size_t done = 0; done < size; done += ChunkSize)
        {
            const auto n = std::min (ChunkSize, size - done);
            crc = updateCrc32 (crc, bytes + done, n);
            const bool written = deflate ? compressor->write (bytes + done, n) : buffer.write (bytes + done, n);
            if (! written)
                return false;
        }
        if (compressor != nullptr)
            compressor->flush();
        entry.crc = crc;
    }

    if (buffer.getDataSize() > 0xFFFFFFFFu)
        return false;
    entry.compressedSize = (juce::uint32) buffer.getDataSize();
    entry.headerStart = target.getPosition() - archiveStart;

    const auto name = entry.storedName.toRawUTF8();
    const auto nameLength = entry.storedName.getNumBytesAsUTF8();
    if (nameLength > 0xFFFF)
        return false;

    return writeInt (target, LocalHeaderSignature) && writeShort (target, 10) && writeShort (target, 0)
           && writeShort (target, deflate ? 8 : 0) && writeShort (target, FixedDosTime)
           && writeShort (target, FixedDosDate) && writeInt (target, entry.crc)
           && writeInt (target, entry.compressedSize) && writeInt (target, (juce::uint32) size)
           && writeShort (target, (juce::uint16) nameLength) && writeShort (target, 0)
           && target.write (name, nameLength) && target.write (buffer.getData(), buffer.getDataSize());
}

bool MemoryBasedZipBuilder::writeToStream (juce::OutputStream& target)
{
    if (entries.size() > 0xFFFF)
        return false;

    const auto archiveStart = target.getPosition();
    for (auto& entry : entries)
        if (! writeEntry (target, archiveStart, entry))
            return false;

    const auto directoryStart = target.getPosition() - archiveStart;
    for (const auto& entry : entries)
    {
        const auto nameLength = entry.storedName.getNumBytesAsUTF8();
        const bool ok = writeInt (target, CentralHeaderSignature) && writeShort (target, 20) && writeShort (target, 10)
                        && writeShort (target, 0) && writeShort (target, entry.compressionLevel > 0 ? 8 : 0)
                        && writeShort (target, FixedDosTime) && writeShort (target, FixedDosDate)
                        && writeInt (target, entry.crc) && writeInt (target, entry.compressedSize)
                        && writeInt (target, (juce::uint32) entry.data.getSize())
                        && writeShort (target, (juce::uint16) nameLength) && writeShort (target, 0)
                        && writeShort (target, 0) && writeShort (target, 0) && writeShort (target, 0)
                        && writeInt (target, 0) && writeInt (target, (juce::uint32) entry.headerStart)
                        && target.write (entry.storedName.toRawUTF8(), nameLength);
        if (! ok)
            return false;
    }
    const auto directorySize = target.getPosition() - archiveStart - directoryStart;
    if (directoryStart > 0xFFFFFFFF || directorySize > 0xFFFFFFFF)
        return false;

    const auto count = (juce::uint16) entries.size();
    return writeInt (target, EndRecordSignature) && writeShort (target, 0) && writeShort (target, 0)
           && writeShort (target, count) && writeShort (target, count) && writeInt (target, (juce::uint32) directorySize)
           && writeInt (target, (juce::uint32) directoryStart) && writeShort (target, 0);
}

//==============================================================================
MemoryBasedZipUncompressor::MemoryBasedZipUncompressor (const juce::File& file)
    : sourceFile (file)
{
    if (file.existsAsFile())
        readCentralDirectory();
}

MemoryBasedZipUncompressor::MemoryBasedZipUncompressor (juce::InputStream& stream)
{
    if (stream.getTotalLength() >= 0)
    {
        sourceStream = &stream;
    }
    else
    {
        // A stream that cannot say how long it is is copied into memory first.
        juce::MemoryBlock copy;
        stream.readIntoMemoryBlock (copy, (ssize_t) MaximumUnknownStreamSize + 1);
        if (copy.getSize() > MaximumUnknownStreamSize)
            return;
        ownedStream = std::make_unique<juce::MemoryInputStream> (std::move (copy));
        sourceStream = ownedStream.get();
    }
    readCentralDirectory();
}

MemoryBasedZipUncompressor::~MemoryBasedZipUncompressor() = default;

juce::InputStream* MemoryBasedZipUncompressor::getSource()
{
    if (sourceStream == nullptr && sourceFile != juce::File())
    {
        auto stream = std::make_unique<juce::FileInputStream> (sourceFile);
        if (stream->openedOk())
        {
            // Entries are small and read one after another: a buffer saves most system calls.
            ownedStream = std::make_unique<juce::BufferedInputStream> (stream.release(), 32768, true);
            sourceStream = ownedStream.get();
        }
    }
    return sourceStream;
}

bool MemoryBasedZipUncompressor::readFromSource (juce::int64 position, void* dest, size_t numBytes)
{
    const juce::ScopedLock lock (sourceLock);
    auto* source = getSource();
    if (source == nullptr || position < 0 || position + (juce::int64) numBytes > sourceLength)
        return false;
    if (numBytes == 0)
        return true;
    if (! source->setPosition (position))
        return false;
    return source->read (dest, (int) numBytes) == (int) numBytes;
}

void MemoryBasedZipUncompressor::readCentralDirectory()
{
    {
        const juce::ScopedLock lock (sourceLock);
        auto* source = getSource();
        if (source == nullptr)
            return;
        sourceLength = source->getTotalLength();
    }
    if (sourceLength < EndRecordSize)
        return;

    // The end record, searched backwards byte by byte from the end.
    const auto tailLength = (size_t) std::min<juce::int64> (sourceLength, EndRecordSearchRange + EndRecordSize);
    const auto tailStart = sourceLength - (juce::int64) tailLength;
    juce::HeapBlock<juce::uint8> tail (tailLength);
    if (! readFromSource (tailStart, tail.get(), tailLength))
        return;

    const juce::uint8* record = nullptr;
    for (auto i = (juce::int64) tailLength - EndRecordSize; i >= 0; --i)
    {
        if (readInt (tail + i) == EndRecordSignature)
        {
            record = tail + i;
            break;
        }
    }
    if (record == nullptr)
        return;

    const int numEntries = readShort (record + 10);
    const auto directoryOffset = (juce::int64) readInt (record + 16);
    if (directoryOffset >= sourceLength)
    {
        directoryDamaged = numEntries > 0;
        return;
    }

    const auto directoryLength = sourceLength - directoryOffset;
    if (directoryLength > MaximumDirectorySize)
    {
        directoryDamaged = true;
        return;
    }

    juce::HeapBlock<juce::uint8> directory ((size_t) directoryLength);
    if (! readFromSource (directoryOffset, directory.get(), (size_t) directoryLength))
    {
        directoryDamaged = true;
        return;
    }

    juce::int64 pos = 0;
    for (int i = 0; i < numEntries; ++i)
    {
        if (pos + CentralHeaderSize > directoryLength)
            break;
        const auto* p = directory + pos;
        if (readInt (p) != CentralHeaderSignature)
            break;
        const int nameLength = readShort (p + 28);
        const int extraLength = readShort (p + 30);
        const int commentLength = readShort (p + 32);
        const auto entryLength = (juce::int64) CentralHeaderSize + nameLength + extraLength + commentLength;
        if (pos + entryLength > directoryLength)
            break;

        ZipEntry entry;
        entry.filename = juce::String::fromUTF8 (reinterpret_cast<const char*> (p + CentralHeaderSize), nameLength);
        entry.isCompressed = readShort (p + 10) != 0;
        entry.dosTime = readShort (p + 12);
        entry.dosDate = readShort (p + 14);
        entry.fileTime = dosToTime (entry.dosTime, entry.dosDate);
        entry.compressedSize = readInt (p + 20);
        entry.uncompressedSize = readInt (p + 24);
        entry.headerOffset = readInt (p + 42);
        entries.push_back (entry);
        pos += entryLength;
    }

    // A directory that holds fewer entries than its end record announces belongs to a
    // truncated or damaged archive.
    directoryDamaged = (int) entries.size() != numEntries;
}

const MemoryBasedZipUncompressor::ZipEntry* MemoryBasedZipUncompressor::getEntry (int index) const noexcept
{
    return index >= 0 && index < (int) entries.size() ? &entries[(size_t) index] : nullptr;
}

const MemoryBasedZipUncompressor::ZipEntry* MemoryBasedZipUncompressor::getEntry (const juce::String& name) const noexcept
{
    return getEntry (getIndexOfFileName (name));
}

int MemoryBasedZipUncompressor::getIndexOfFileName (const juce::String& name) const noexcept
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].filename == name)
            return (int) i;
    return -1;
}

void MemoryBasedZipUncompressor::sortEntriesByFilename()
{
    std::stable_sort (entries.begin(), entries.end(),
                      [] (const ZipEntry& a, const ZipEntry& b) { return a.filename < b.filename; });
}

std::unique_ptr<juce::InputStream> MemoryBasedZipUncompressor::createStreamForEntry (int index)
{
    const auto* entry = getEntry (index);
    if (entry == nullptr)
        return nullptr;

    juce::uint8 header[LocalHeaderSize];
    if (! readFromSource (entry->headerOffset, header, sizeof (header)) || readInt (header) != LocalHeaderSignature)
        return nullptr;

    const auto dataStart = (juce::int64) entry->headerOffset + LocalHeaderSize + readShort (header + 26) + readShort (header + 28);
    // The data must lie inside the source; a size that says otherwise is a lie.
    if (dataStart + (juce::int64) entry->compressedSize > sourceLength)
        return nullptr;

    juce::MemoryBlock compressed (entry->compressedSize);
    if (! readFromSource (dataStart, compressed.getData(), compressed.getSize()))
        return nullptr;

    auto raw = std::make_unique<juce::MemoryInputStream> (std::move (compressed));
    if (! entry->isCompressed)
        return raw;
    return std::make_unique<juce::GZIPDecompressorInputStream> (raw.release(), true,
                                                                 juce::GZIPDecompressorInputStream::deflateFormat,
                                                                 (juce::int64) entry->uncompressedSize);
}

juce::Result MemoryBasedZipUncompressor::uncompress()
{
    if (directoryDamaged)
        return juce::Result::fail ("The central directory of the zip file is damaged");

    for (int i = 0; i < getNumEntries(); ++i)
    {
        const auto result = uncompressEntry (i);
        if (result.failed())
            return result;
    }
    return juce::Result::ok();
}

juce::Result MemoryBasedZipUncompressor::uncompressEntry (int index)
{
    const auto* entry = getEntry (index);
    if (entry == nullptr)
        return juce::Result::fail ("Failed to open the zip file for reading");

    if (entry->filename.endsWithChar ('/'))
        return juce::Result::fail ("Folder entry is not supported: " + entry->filename);

    const auto declaredSize = (juce::int64) entry->uncompressedSize;
    if (totalUncompressedSize + declaredSize > MaximumTotalUncompressedSize)
        return juce::Result::fail ("The zip file inflates to more than the supported size");
    if (! entry->isCompressed && entry->compressedSize != entry->uncompressedSize)
        return juce::Result::fail ("The sizes of a stored entry differ: " + entry->filename);
    // Deflate cannot shrink data by more than about 1:1032; a larger claim is a lie.
    if (entry->isCompressed && declaredSize > (juce::int64) entry->compressedSize * 1032 + 1024)
        return juce::Result::fail ("The size of an entry does not match its data: " + entry->filename);

    auto stream = createStreamForEntry (index);
    if (stream == nullptr)
        return juce::Result::fail ("Failed to open the zip file for reading");

    // One byte more than declared tells a lying size apart from a correct one.
    juce::MemoryBlock data;
    data.setSize ((size_t) declaredSize + 1);
    juce::int64 done = 0;
    while (done < declaredSize + 1)
    {
        const auto n = stream->read (static_cast<char*> (data.getData()) + done,
                                     (int) std::min<juce::int64> (65536, declaredSize + 1 - done));
        if (n <= 0)
            break;
        done += n;
    }
    if (done != declaredSize)
        return juce::Result::fail ("The size of an entry does not match its data: " + entry->filename);
    data.setSize ((size_t) declaredSize);

    totalUncompressedSize += declaredSize;
    uncompressedEntries.emplace (entry->filename, std::move (data)); // a repeated name keeps the first data
    return juce::Result::ok();
}

bool MemoryBasedZipUncompressor::hasUncompressedFileEntry (const juce::String& name) const
{
    return uncompressedEntries.find (name) != uncompressedEntries.end();
}

const juce::MemoryBlock& MemoryBasedZipUncompressor::getUncompressedFileEntry (const juce::String& name) const
{
    static const juce::MemoryBlock empty;
    const auto found = uncompressedEntries.find (name);
    return found != uncompressedEntries.end() ? found->second : empty;
}
} // namespace file
