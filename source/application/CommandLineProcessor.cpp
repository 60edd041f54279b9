#include "application/CommandLineProcessor.h"

#include "application/ApplicationStartupProcess.h"
#include "application/FileErrorDialogs.h"
#include "ui/ModalDialogState.h"
#include "ui/SelectedProgramStatus.h"

namespace x38200_application
{
namespace
{
    const juce::String libraryExtension = ".tolib";
    const juce::String programExtension = ".toprog";
    const juce::String presetExtension = ".topreset";

    // Until the file layer opens files, every file is reported as not openable.
    constexpr int readErrorOpenFile = 1;
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

void CommandLineProcessor::openLibraryFile (const juce::File&)
{
    startupProcess.openedFile();
    showFileReadErrorDialog (readErrorOpenFile);
}

void CommandLineProcessor::openProgramFile (const juce::File&)
{
    startupProcess.openedFile();
    if (ui::SelectedProgramStatus::instance().getNumSelectedItems() == 0)
        return;
    showFileReadErrorDialog (readErrorOpenFile);
}

void CommandLineProcessor::openPresetFile (const juce::File&)
{
    showFileReadErrorDialog (readErrorOpenFile);
}
} // namespace x38200_application
