#pragma once

#include <juce_events/juce_events.h>

#include <functional>
#include <vector>

namespace tarnombi::cli
{
// One subcommand of the command-line tool. Each lives in its own file and registers
// itself with a static Registration object:
//   static Registration info { { "info", "info FILE [--tsv]", "show what a file holds", runInfo } };
struct Command
{
    juce::String name;
    juce::String usage;
    juce::String summary;
    // Gets the arguments after the subcommand's name; returns the exit status.
    std::function<int (const juce::StringArray& args)> run;
};

struct Registration
{
    explicit Registration (Command command);
};

const std::vector<Command>& getCommands();

// Small helpers shared by the subcommands.
bool hasOption (const juce::StringArray& args, const juce::String& option);
// The value after "--name", or the default when the option is absent.
juce::String getOptionValue (const juce::StringArray& args, const juce::String& option, const juce::String& defaultValue = {});
// The arguments that are neither options nor option values. Options that take a value
// are named in valueOptions.
juce::StringArray getPositionalArguments (const juce::StringArray& args, const juce::StringArray& valueOptions);
// Writes a line to standard error and returns the exit status given.
int fail (const juce::String& message, int status = 1);
void printLine (const juce::String& text);
} // namespace tarnombi::cli
