#include "file/LibraryFiles.h"

#include "application/CPXRResource.h"
#include "file/ZipLibraryFile.h"

namespace x38200_file
{
const juce::String LibraryFileExtension = ".tolib";
const juce::String ProgramFileExtension = ".toprog";
const juce::String PresetFileExtension = ".topreset";
const juce::String InternalPresetFileExtension = ".itopreset";
const juce::String TimbrixEditorFileExtension = ".X38200_all";
const juce::String PresetFolderName = "Preset Data";

namespace
{
    const juce::StringArray& readErrorKeys()
    {
        static const juce::StringArray keys {
            "ReadErrorNoError",
            "ReadErrorOpenFile",
            "ReadErrorInvalidType",
            "ReadErrorReadData",
            "ReadErrorInvalidProgramNumber",
            "ReadErrorDifferentTargetDevice",
            "ReadErrorFailedToUncompressZipFile",
            "ReadErrorFailedToParseXmlDocument",
            "ReadErrorInvalidXmlDocument",
            "ReadErrorFavoriteDataMissing",
            "ReadErrorProgramDataMissing",
            "ReadErrorPresetInformationMissing",
            "ReadErrorFailedToReadFavoriteData",
            "ReadErrorFailedToReadProgramBinary",
            "ReadErrorFailedToReadProgramInformation",
            "ReadErrorFailedToReadPresetInformation",
            "ReadErrorFailedToImportPresetData",
        };
        return keys;
    }

    const juce::StringArray& writeErrorKeys()
    {
        static const juce::StringArray keys { "WriteErrorNoError", "WriteErrorDeleteFile", "WriteErrorOpenFile",
                                              "WriteErrorWriteData" };
        return keys;
    }

    // A code outside the table is a programming error; it still gets a text.
    const juce::String internalErrorKey = "CommonInternalError";

    juce::String keyFor (const juce::StringArray& keys, int code)
    {
        return code >= 0 && code < keys.size() ? keys[code] : internalErrorKey;
    }

    // The programs of an archive go to programs 0 to 299; programs beyond the
    // archive's count stay as they are, items beyond the 300th are ignored.
    template <class Target>
    void copyPrograms (const ZipLibraryFileReader& reader, Target& target, int numPrograms)
    {
        for (int i = 0; i < reader.getNumProgramData() && i < numPrograms; ++i)
        {
            auto& program = target.getProgramData (i);
            program = reader.getProgramData (i);
            program.updateMD5();
        }
    }
} // namespace

juce::String getReadErrorKey (const int& code) { return keyFor (readErrorKeys(), code); }
juce::String getWriteErrorKey (const int& code) { return keyFor (writeErrorKeys(), code); }
juce::String getReadErrorString (const int& code) { return getLocalizedString (getReadErrorKey (code)); }
juce::String getWriteErrorString (const int& code) { return getLocalizedString (getWriteErrorKey (code)); }

//==============================================================================
int LibraryFileReader::readFromFile (const juce::File& file)
{
    ZipLibraryFileReader reader (file);
    if (const auto result = reader.readFromFile(); result != ReadErrorNoError)
        return result;

    library->initialize();
    if (reader.getNumFavoriteData() == 0)
        return ReadErrorFavoriteDataMissing;
    library->favoriteData = reader.getFavoriteData (0);
    copyPrograms (reader, *library, x38200_data::LibraryData::NumPrograms);
    return ReadErrorNoError;
}

int LibraryFileWriter::writeToFile (const juce::File& file)
{
    ZipLibraryFileWriter writer;
    writer.addFavoriteData (library->favoriteData);
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
        writer.addProgramData (library->getProgramData (i));
    return writer.writeToFile (file);
}

int ProgramFileReader::readFromFile (const juce::File& file)
{
    ZipLibraryFileReader reader (file);
    if (const auto result = reader.readFromFile(); result != ReadErrorNoError)
        return result;
    if (reader.getNumProgramData() == 0)
        return ReadErrorProgramDataMissing;
    *program = reader.getProgramData (0);
    return ReadErrorNoError;
}

int ProgramFileWriter::writeToFile (const juce::File& file)
{
    ZipLibraryFileWriter writer;
    writer.addProgramData (*program);
    return writer.writeToFile (file);
}

int PresetFileReader::readFromFile (const juce::File& file)
{
    ZipLibraryFileReader reader (file);
    if (const auto result = reader.readFromFile(); result != ReadErrorNoError)
        return result;

    preset->initialize();
    if (reader.getNumPresetInformation() == 0)
        return ReadErrorPresetInformationMissing;
    preset->information = reader.getPresetInformation (0);
    copyPrograms (reader, *preset, x38200_data::PresetData::NumPrograms);
    return ReadErrorNoError;
}

int PresetFileWriter::writeToFile (const juce::File& file)
{
    ZipLibraryFileWriter writer;
    writer.addPresetInformation (preset->information);
    for (int i = 0; i < x38200_data::PresetData::NumPrograms; ++i)
        writer.addProgramData (preset->getProgramData (i));
    return writer.writeToFile (file);
}
} // namespace x38200_file
