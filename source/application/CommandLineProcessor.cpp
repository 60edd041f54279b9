#include "application/CommandLineProcessor.h"

#include "application/ApplicationStartupProcess.h"
#include "application/DataEditStatus.h"
#include "application/FileAccessProcessor.h"
#include "application/FileErrorDialogs.h"
#include "file/LibraryFiles.h"
#include "ui/ModalDialogState.h"
#include "ui/SelectedProgramStatus.h"

#include <iostream>

namespace x38200_application
{
namespace
{
    const juce::String& libraryExtension = x38200_file::LibraryFileExtension;
    const juce::String& programExtension = x38200_file::ProgramFileExtension;
    const juce::String& presetExtension = x38200_file::PresetFileExtension;
} // namespace

juce::StringArray CommandLineProcessor::tokenize (const juce::String& commandLine)
{
    juce::StringArray tokens;
    juce::String current;
    bool inQuote = false;

    for (auto p = commandLine.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;
        if (! inQuote && c == '"')
        {
            inQuote = true;
        }
        else if (! inQuote && c == ' ')
        {
            tokens.add (current);
            current.clear();
        }
        else if (inQuote && c == '"')
        {
            tokens.add (current);
            current.clear();
            inQuote = false;
        }
        else
        {
            current += juce::String::charToString (c);
        }
    }

    if (current.isNotEmpty())
        tokens.add (current);
    return tokens;
}

void CommandLineProcessor::parseCommandLine (const juce::String& commandLine)
{
    if (ui::ModalDialogState::instance().isShowing())
        return;

    const auto tokens = tokenize (commandLine);
    for (int i = 0; i < tokens.size(); ++i)
    {
        const auto& token = tokens[i];
        if (token.startsWith ("-NS"))
        {
            ++i; // a platform option and its value
            continue;
        }
        if (token.startsWith ("-"))
            continue;

        const juce::File file (juce::File::getCurrentWorkingDirectory().getChildFile (token));
        const auto extension = file.getFileExtension();
        if (extension.equalsIgnoreCase (libraryExtension))
        {
            openLibraryFile (file);
            return;
        }
        if (extension.equalsIgnoreCase (programExtension))
        {
            openProgramFile (file);
            return;
        }
        if (extension.equalsIgnoreCase (presetExtension))
        {
            openPresetFile (file);
            return;
        }
    }
}

void CommandLineProcessor::openLibraryFile (const juce::File& file)
{
    startupProcess.openedFile();
    // Until the save prompt exists, an edited library is never replaced without asking.
    if (application::DataEditStatus::instance().isEdited())
    {
        std::cerr << "The library has unsaved changes; not opening " << file.getFullPathName() << std::endl;
        return;
    }
    if (const auto result = FileAccessProcessor().executeFileOpen (file); result != 0)
        showFileReadErrorDialog (result);
}

void CommandLineProcessor::openProgramFile (const juce::File& file)
{
    startupProcess.openedFile();
    const auto& selection = ui::SelectedProgramStatus::instance();
    if (selection.getNumSelectedItems() == 0)
        return;
    if (const auto result = FileAccessProcessor().executeFileLoadProgram (file, selection.getSelectedProgramNumber (0)); result != 0)
        showFileReadErrorDialog (result);
}

void CommandLineProcessor::openPresetFile (const juce::File& file)
{
    if (const auto result = FileAccessProcessor().executeImportPreset (file); result != 0)
        showFileReadErrorDialog (result);
}
} // namespace x38200_application
