#pragma once

#include "data/ProgramData.h"
#include "file/MemoryBasedZip.h"

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

namespace tarnombi::test
{
// A library whose programs all differ: bytes from a seed, a name, texts with
// characters outside ASCII, and shuffled favorites.
inline x38200_data::LibraryData makeSampleLibrary (int seed = 1)
{
    x38200_data::LibraryData library;
    juce::Random random (seed);
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
    {
        ::ProgramData raw;
        for (auto& byte : raw.bytes)
            byte = (std::uint8_t) random.nextInt (256);
        const auto name = juce::String::formatted ("Prog %03d    ", i);
        std::memcpy (raw.bytes, name.toRawUTF8(), 12);
        auto& program = library.getProgramData (i);
        program.copyFromNativeData (raw);
        program.information.programmer = i % 7 == 0 ? juce::String() : "Programmer " + juce::String (i);
        program.information.comment = juce::String::fromUTF8 ("Kommentar \xc3\xa4 \xe9\x9f\xb3 <&> ") + juce::String (i * seed);
    }
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
            library.favoriteData.setFavoriteData (bank, slot, random.nextInt (300));
    return library;
}

// An archive of the given (name, data) entries, deflated at level 5.
inline juce::MemoryBlock makeArchive (const std::vector<std::pair<juce::String, juce::MemoryBlock>>& entries,
                                      int level = 5)
{
    file::MemoryBasedZipBuilder builder;
    for (const auto& [name, data] : entries)
        builder.addMemoryBlock (name, data, level, {});
    juce::MemoryOutputStream out;
    builder.writeToStream (out);
    return out.getMemoryBlock();
}

inline juce::MemoryBlock textBlock (const juce::String& text)
{
    return juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
}

// Replaces a file by exactly these bytes (also none, which File::replaceWithData does not do).
inline void writeWholeFile (const juce::File& file, const juce::MemoryBlock& bytes)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    if (! bytes.isEmpty())
        out.write (bytes.getData(), bytes.getSize());
}

inline juce::MemoryBlock readWholeFile (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

// Runs a program and returns its exit code and output (standard output and error).
inline std::pair<int, juce::String> runProgram (const juce::StringArray& arguments)
{
    juce::ChildProcess process;
    if (! process.start (arguments, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, {} };
    const auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (60000);
    return { (int) process.getExitCode(), output };
}
} // namespace tarnombi::test
