#include "midi/SysExFile.h"

#include "file/FileReaderWriter.h"
#include "midi/SysExMessages.h"

namespace x38200_midi
{
juce::MemoryBlock SysExFile::createLibraryData (const x38200_data::LibraryData& library)
{
    const SysExGenerator generator (0, TarnOMBIFamilyID, -1);
    juce::MemoryOutputStream out;
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
        out << generator.createProgramDataDump (i, library.getProgramData (i));
    return out.getMemoryBlock();
}

int SysExFile::readLibraryData (const void* data, size_t size, x38200_data::LibraryData& library, juce::String& error)
{
    const MidiMessageAnalyzer analyzer (TarnOMBIFamilyID);
    const auto* bytes = static_cast<const unsigned char*> (data);
    x38200_data::LibraryData result;
    std::vector<bool> read ((size_t) x38200_data::LibraryData::NumPrograms, false);
    int messageNumber = 0;

    size_t start = 0;
    while (bytes != nullptr && start < size)
    {
        if (bytes[start] != 0xF0)
        {
            ++start;
            continue;
        }
        // A message ends at 0xF7; another status byte before it cuts the message off.
        size_t end = start + 1;
        while (end < size && bytes[end] < 0x80)
            ++end;
        const bool complete = end < size && bytes[end] == 0xF7;
        ++messageNumber;
        const int length = (int) (end - start + (complete ? 1 : 0));
        const auto info = analyzer.analyze (bytes + start, length);
        if (info.type == Broken || (! complete && (info.type == ProgramDataDump || info.type == CurrentProgramDataDump)))
        {
            error = "Message " + juce::String (messageNumber) + " is a broken program dump.";
            return 0;
        }
        if (info.type == ProgramDataDump && info.value >= 0 && info.value < x38200_data::LibraryData::NumPrograms)
        {
            result.getProgramData (info.value).copyFromRawData (info.data);
            read[(size_t) info.value] = true;
        }
        else if (info.type == CurrentProgramDataDump)
        {
            result.getProgramData (0).copyFromRawData (info.data);
            read[0] = true;
        }
        start = complete ? end + 1 : end;
    }

    const auto count = (int) std::count (read.begin(), read.end(), true);
    if (count == 0)
    {
        error = "The file holds no program dump of the TarnOMBI.";
        return 0;
    }
    library = result;
    return count;
}

bool SysExFile::writeLibraryFile (const juce::File& file, const x38200_data::LibraryData& library, juce::String& error)
{
    const auto data = createLibraryData (library);
    if (file::replaceFileSafely (file, data) != file::SafeWriteOk)
    {
        error = "Cannot write " + file.getFullPathName();
        return false;
    }
    return true;
}

int SysExFile::readLibraryFile (const juce::File& file, x38200_data::LibraryData& library, juce::String& error)
{
    if (! file.existsAsFile())
    {
        error = "File not found: " + file.getFullPathName();
        return 0;
    }
    if (file.getSize() > MaximumFileSize)
    {
        error = "The file is too large for a System Exclusive file: " + file.getFullPathName();
        return 0;
    }
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data))
    {
        error = "Cannot read " + file.getFullPathName();
        return 0;
    }
    return readLibraryData (data.getData(), data.getSize(), library, error);
}
} // namespace x38200_midi
