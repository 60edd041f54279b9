#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

namespace x38200_file
{
// What a file of any kind holds, for the command-line tool and for callers that take a
// file without knowing its kind.
struct AnyFileContent
{
    enum Kind
    {
        Library,
        Program,
        Preset,
        TimbrixEditorLibrary
    };

    Kind kind = Library;
    // The programs (numPrograms of them count; the rest are init programs) and, for
    // libraries and older editor files, the favorites.
    x38200_data::LibraryData library;
    int numPrograms = 0;
    bool hasFavorites = false;
    bool hasPresetInformation = false;
    x38200_data::PresetInformation presetInformation;

    static juce::String getKindName (Kind kind);
};

// Reads a library, program, preset or older editor file, telling the kind by the content
// (an older editor file also by its extension). Returns a read result code.
int readAnyFile (const juce::File& file, AnyFileContent& content);
} // namespace x38200_file
