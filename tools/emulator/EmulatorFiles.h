#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

namespace tarnombi::emulator
{
// The programs the emulator starts with when no file is given: the factory preset.
x38200_data::LibraryData getDefaultLibrary();

// Reads programs and favorites from a library, program, preset, older editor or .syx file;
// false with error set when it cannot.
bool loadLibrary (const juce::File& file, x38200_data::LibraryData& library, juce::String& error);

// Writes what the emulator holds as a library file (or a .syx file of program dumps); false
// with error set when it cannot.
bool saveLibrary (const juce::File& file, const x38200_data::LibraryData& library, juce::String& error);
} // namespace tarnombi::emulator
