#pragma once

#include <juce_core/juce_core.h>

namespace x38200_application
{
class ApplicationStartupProcess;

// Opens the first library, program or preset file named on a command line: the one the
// program started with, or one that a second launch handed over.
class CommandLineProcessor
{
public:
    explicit CommandLineProcessor (ApplicationStartupProcess& process) : startupProcess (process) {}
    virtual ~CommandLineProcessor() = default;

    void execute (const juce::String& commandLine) { parseCommandLine (commandLine); }
    void parseCommandLine (const juce::String& commandLine);

    // Splits a command line as the desktop hands it over: spaces separate tokens, double
    // quotes group text (and join text directly before them); empty tokens between two
    // separators are kept.
    static juce::StringArray tokenize (const juce::String& commandLine);

    virtual void openLibraryFile (const juce::File& file);
    virtual void openProgramFile (const juce::File& file);
    virtual void openPresetFile (const juce::File& file);

protected:
    ApplicationStartupProcess& startupProcess;
};
} // namespace x38200_application
