#include "file/AnyFileReader.h"

#include "file/LibraryFiles.h"
#include "file/TimbrixEditorLibraryDataImporter.h"
#include "file/ZipLibraryFile.h"

namespace x38200_file
{
juce::String AnyFileContent::getKindName (Kind kind)
{
    switch (kind)
    {
        case Library: return "library";
        case Program: return "program";
        case Preset: return "preset";
        case TimbrixEditorLibrary: return "older editor library";
    }
    return {};
}

namespace
{
    bool looksLikeTimbrixEditorFile (const juce::File& file)
    {
        if (file.hasFileExtension (TimbrixEditorFileExtension))
            return true;
        juce::FileInputStream stream (file);
        char identifier[9] = {};
        return stream.openedOk() && stream.read (identifier, 9) == 9
               && juce::String (identifier, 9) == TimbrixEditorLibraryDataImporter::LibraryDataHeader;
    }
} // namespace

int readAnyFile (const juce::File& file, AnyFileContent& content)
{
    content = AnyFileContent();
    if (looksLikeTimbrixEditorFile (file))
    {
        content.kind = AnyFileContent::TimbrixEditorLibrary;
        content.numPrograms = x38200_data::LibraryData::NumPrograms;
        content.hasFavorites = true;
        return TimbrixEditorLibraryDataImporter (content.library).readFromFile (file);
    }

    ZipLibraryFileReader archive (file);
    if (const auto result = archive.readFromFile(); result != ReadErrorNoError)
        return result;

    if (archive.getNumPresetInformation() > 0)
    {
        x38200_data::PresetData preset;
        if (const auto result = PresetFileReader (preset).readFromFile (file); result != ReadErrorNoError)
            return result;
        content.kind = AnyFileContent::Preset;
        content.hasPresetInformation = true;
        content.presetInformation = preset.information;
        content.numPrograms = juce::jmin (archive.getNumProgramData(), x38200_data::PresetData::NumPrograms);
        for (int i = 0; i < x38200_data::PresetData::NumPrograms; ++i)
            content.library.getProgramData (i) = preset.getProgramData (i);
        if (archive.getNumFavoriteData() > 0)
        {
            content.hasFavorites = true;
            content.library.favoriteData = archive.getFavoriteData (0);
        }
        return ReadErrorNoError;
    }

    if (archive.getNumFavoriteData() > 0)
    {
        content.kind = AnyFileContent::Library;
        content.hasFavorites = true;
        content.numPrograms = juce::jmin (archive.getNumProgramData(), x38200_data::LibraryData::NumPrograms);
        return LibraryFileReader (content.library).readFromFile (file);
    }

    content.kind = AnyFileContent::Program;
    content.numPrograms = 1;
    return ProgramFileReader (content.library.getProgramData (0)).readFromFile (file);
}
} // namespace x38200_file
