#include "EmulatorFiles.h"

#include "midi/SysExFile.h"

namespace tarnombi::emulator
{
x38200_data::LibraryData getDefaultLibrary()
{
    return {};
}

bool loadLibrary (const juce::File& file, x38200_data::LibraryData& library, juce::String& error)
{
    if (file.hasFileExtension (x38200_midi::SysExFile::Extension))
        return x38200_midi::SysExFile::readLibraryFile (file, library, error) > 0;
    error = "Unsupported file kind (use a .syx file of program dumps): " + file.getFullPathName();
    return false;
}

bool saveLibrary (const juce::File& file, const x38200_data::LibraryData& library, juce::String& error)
{
    if (file.hasFileExtension (x38200_midi::SysExFile::Extension))
        return x38200_midi::SysExFile::writeLibraryFile (file, library, error);
    error = "Unsupported file kind (use a .syx file): " + file.getFullPathName();
    return false;
}
} // namespace tarnombi::emulator
