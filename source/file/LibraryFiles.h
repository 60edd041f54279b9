#pragma once

#include "data/ProgramData.h"
#include "file/FileReaderWriter.h"

#include <juce_core/juce_core.h>

namespace x38200_file
{
extern const juce::String LibraryFileExtension;         // ".tolib"
extern const juce::String ProgramFileExtension;         // ".toprog"
extern const juce::String PresetFileExtension;          // ".topreset"
extern const juce::String InternalPresetFileExtension;  // ".itopreset"
extern const juce::String TimbrixEditorFileExtension;   // ".X38200_all"
extern const juce::String PresetFolderName;             // "Preset Data"

// Read result codes.
enum ReadError
{
    ReadErrorNoError = 0,
    ReadErrorOpenFile = 1,
    ReadErrorInvalidType = 2,
    ReadErrorReadData = 3,
    ReadErrorInvalidProgramNumber = 4,
    ReadErrorDifferentTargetDevice = 5,
    ReadErrorFailedToUncompressZipFile = 6,
    ReadErrorFailedToParseXmlDocument = 7,
    ReadErrorInvalidXmlDocument = 8,
    ReadErrorFavoriteDataMissing = 9,
    ReadErrorProgramDataMissing = 10,
    ReadErrorPresetInformationMissing = 11,
    ReadErrorFailedToReadFavoriteData = 12,
    ReadErrorFailedToReadProgramBinary = 13,
    ReadErrorFailedToReadProgramInformation = 14,
    ReadErrorFailedToReadPresetInformation = 15,
    ReadErrorFailedToImportPresetData = 16,
    NumReadErrors
};

// Write result codes.
enum WriteError
{
    WriteErrorNoError = 0,
    WriteErrorDeleteFile = 1,
    WriteErrorOpenFile = 2,
    WriteErrorWriteData = 3,
    NumWriteErrors
};

// The string-table keys of the codes, and their texts in the chosen language.
juce::String getReadErrorKey (const int& code);
juce::String getWriteErrorKey (const int& code);
juce::String getReadErrorString (const int& code);
juce::String getWriteErrorString (const int& code);

//==============================================================================
class LibraryFileReader : public file::FileReader
{
public:
    explicit LibraryFileReader (x38200_data::LibraryData& target) : library (&target) {}
    int readFromFile (const juce::File& file) override;

private:
    x38200_data::LibraryData* library;
};

class LibraryFileWriter : public file::FileWriter
{
public:
    explicit LibraryFileWriter (const x38200_data::LibraryData& source) : library (&source) {}
    int writeToFile (const juce::File& file) override;

private:
    const x38200_data::LibraryData* library;
};

class ProgramFileReader : public file::FileReader
{
public:
    explicit ProgramFileReader (x38200_data::ProgramData& target) : program (&target) {}
    int readFromFile (const juce::File& file) override;

private:
    x38200_data::ProgramData* program;
};

class ProgramFileWriter : public file::FileWriter
{
public:
    explicit ProgramFileWriter (const x38200_data::ProgramData& source) : program (&source) {}
    int writeToFile (const juce::File& file) override;

private:
    const x38200_data::ProgramData* program;
};

class PresetFileReader : public file::FileReader
{
public:
    explicit PresetFileReader (x38200_data::PresetData& target) : preset (&target) {}
    int readFromFile (const juce::File& file) override;

private:
    x38200_data::PresetData* preset;
};

class PresetFileWriter : public file::FileWriter
{
public:
    explicit PresetFileWriter (const x38200_data::PresetData& source) : preset (&source) {}
    int writeToFile (const juce::File& file) override;

private:
    const x38200_data::PresetData* preset;
};
} // namespace x38200_file
