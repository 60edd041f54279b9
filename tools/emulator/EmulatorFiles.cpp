#include "EmulatorFiles.h"

#include "file/AnyFileReader.h"
#include "file/LibraryFiles.h"
#include "midi/SysExFile.h"

#if TARNOMBI_HAS_RESOURCES
 #include "TarnOMBIResources.h"
#endif

namespace tarnombi::emulator
{
namespace
{
    juce::String describeReadError (const juce::File& file, int code)
    {
        return "Cannot read " + file.getFullPathName() + ": " + x38200_file::getReadErrorString (code) + " (read code "
               + juce::String (code) + ")";
    }
} // namespace

x38200_data::LibraryData getDefaultLibrary()
{
    x38200_data::LibraryData library;
#if TARNOMBI_HAS_RESOURCES
    // The factory preset, as the librarian installs it.
    juce::TemporaryFile preset (x38200_file::PresetFileExtension);
    if (preset.getFile().replaceWithData (TarnOMBIResources::FactoryPreset_topreset,
                                          (size_t) TarnOMBIResources::FactoryPreset_topresetSize))
    {
        x38200_file::AnyFileContent content;
        if (x38200_file::readAnyFile (preset.getFile(), content) == x38200_file::ReadErrorNoError)
            for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
                library.getProgramData (i) = content.library.getProgramData (i);
    }
#endif
    return library;
}

bool loadLibrary (const juce::File& file, x38200_data::LibraryData& library, juce::String& error)
{
    if (file.hasFileExtension (x38200_midi::SysExFile::Extension))
        return x38200_midi::SysExFile::readLibraryFile (file, library, error) > 0;

    // Library, program, preset and older editor files; favorites where the file has them.
    x38200_file::AnyFileContent content;
    if (const int code = x38200_file::readAnyFile (file, content); code != x38200_file::ReadErrorNoError)
    {
        error = describeReadError (file, code);
        return false;
    }
    library = x38200_data::LibraryData();
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
        library.getProgramData (i) = content.library.getProgramData (i);
    if (content.hasFavorites)
        library.favoriteData = content.library.favoriteData;
    return true;
}

bool saveLibrary (const juce::File& file, const x38200_data::LibraryData& library, juce::String& error)
{
    if (file.hasFileExtension (x38200_midi::SysExFile::Extension))
        return x38200_midi::SysExFile::writeLibraryFile (file, library, error);

    x38200_file::LibraryFileWriter writer (library);
    if (const int code = writer.writeToFile (file); code != x38200_file::WriteErrorNoError)
    {
        error = "Cannot write " + file.getFullPathName() + ": " + x38200_file::getWriteErrorString (code) + " (write code "
                + juce::String (code) + ")";
        return false;
    }
    return true;
}
} // namespace tarnombi::emulator
