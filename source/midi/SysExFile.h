#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

namespace x38200_midi
{
// A library as a file of System Exclusive messages (".syx"), the form other MIDI tools exchange:
// the 300 programs as program dumps on MIDI channel 1.
struct SysExFile
{
    static constexpr const char* Extension = ".syx";
    // Larger files are refused before they are read.
    static constexpr juce::int64 MaximumFileSize = 16 * 1024 * 1024;

    static juce::MemoryBlock createLibraryData (const x38200_data::LibraryData& library);

    // Fills library from program dumps (a current-program dump goes to program 1); programs
    // without a dump stay initialized and the favorites keep their initial table. Returns the
    // number of programs read, or 0 with error set when the data holds no program dump or a
    // broken one.
    static int readLibraryData (const void* data, size_t size, x38200_data::LibraryData& library, juce::String& error);

    // Writes through a temporary file in the same folder, so a failed write leaves the old file.
    static bool writeLibraryFile (const juce::File& file, const x38200_data::LibraryData& library, juce::String& error);
    static int readLibraryFile (const juce::File& file, x38200_data::LibraryData& library, juce::String& error);
};
} // namespace x38200_midi
