#include "CliCommand.h"

#include "application/CurrentLanguageModel.h"
#include "application/LanguageAndFontSetup.h"

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
              << "  --lang en|ja                             print messages in English or Japanese\n"
              << "                                           (default: from LANGUAGE, LC_ALL, LC_MESSAGES, LANG)\n"
              << "  --help                                   show this help\n"
              << "  --version                                show the version\n";
}
} // namespace

int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::CharPointer_UTF8 (argv[i]));

    // The global option "--lang en|ja" (anywhere on the line) overrides the environment's language.
    juce::String language;
    bool languageGiven = false;
    for (int i = 0; i < args.size();)
    {
        if (args[i] == "--lang" || args[i].startsWith ("--lang="))
        {
            const auto separate = args[i] == "--lang";
            if (separate && i + 1 >= args.size())
                return tarnombi::cli::fail (juce::String (toolName) + ": --lang needs en or ja", 2);
            language = separate ? args[i + 1] : args[i].fromFirstOccurrenceOf ("=", false, false);
            args.removeRange (i, separate ? 2 : 1);
            languageGiven = true;
        }
        else
        {
            ++i;
        }
    }
    if (languageGiven && language != "en" && language != "ja")
        return tarnombi::cli::fail (juce::String (toolName) + ": --lang takes en or ja, not \"" + language + "\"", 2);

    x38200_application::setLanguage();
    if (languageGiven)
        x38200_application::CurrentLanguageModel::instance().setLanguage (language == "ja" ? x38200_application::CurrentLanguageModel::Japanese
                                                                                         : x38200_application::CurrentLanguageModel::English);

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
