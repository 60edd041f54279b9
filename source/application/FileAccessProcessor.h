#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

namespace x38200_application
{
// The work of the file commands for a given file: reads and writes library, program
// and preset files and applies the result to the library, the edit state and the undo
// history. Every operation returns 0 or a read or write result code; a failed read
// leaves the library, the current file, the edited flag and the undo history as they were.
class FileAccessProcessor
{
public:
    virtual ~FileAccessProcessor() = default;

    int executeFileOpen (const juce::File& file);
    int executeFileSave (const juce::File& file);
    int executeFileLoadProgram (const juce::File& file, int programNumber);
    int executeFileSaveProgram (const juce::File& file, int programNumber);
    int executeImportPreset (const juce::File& file);
    int executeReloadPresetFiles();
    int executeSaveLibraryAsPreset (const juce::File& file, const x38200_data::PresetInformation& information);
    int executeImportTimbrixEditorFile (const juce::File& file);

    static const juce::String LoadProgramTransactionName; // "LoadProgram"

private:
    // Puts a library that was read from a file into the data center, as Open and Import do.
    void replaceLibrary (const x38200_data::LibraryData& library, const juce::File& savedFile);
};

// At start-up: when the preset folder holds no preset, the built-in factory preset is
// imported into it.
void initializePresetData();
} // namespace x38200_application
