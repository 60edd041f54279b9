#include "CliCommand.h"

#include <iostream>

namespace
{
const char* const toolName = "tarnombi";

void printHelp()
{
    std::cout << "Usage: " << toolName << " COMMAND [ARGUMENTS]\n"
              << "The command-line tool of the TarnOMBI Sound Librarian.\n\n"
              << "Commands:\n";
    for (const auto& command : tarnombi::cli::getCommands())
        std::cout << "  " << command.usage.paddedRight (' ', 40).toStdString() << ' ' << command.summary.toStdString() << '\n';
    std::cout << "\nOptions:\n"
              << "  --help                                   show this help\n"
              << "  --version                                show the version\n";
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    if (args.isEmpty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help")
    {
        printHelp();
        return args.isEmpty() ? 2 : 0;
    }

    if (args[0] == "--version")
    {
        std::cout << toolName << ' ' << JUCE_APPLICATION_VERSION_STRING << '\n';
        return 0;
    }

    for (const auto& command : tarnombi::cli::getCommands())
    {
        if (command.name == args[0])
        {
            juce::ScopedJuceInitialiser_GUI juce;
            args.remove (0);
            return command.run (args);
        }
    }

    std::cerr << toolName << ": unknown command \"" << args[0] << "\" (try --help)\n";
    return 2;
}
