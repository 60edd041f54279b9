#include "CliCommand.h"

#include <iostream>

namespace tarnombi::cli
{
namespace
{
    std::vector<Command>& registry()
    {
        static std::vector<Command> commands;
        return commands;
    }
} // namespace

Registration::Registration (Command command)
{
    registry().push_back (std::move (command));
}

const std::vector<Command>& getCommands()
{
    return registry();
}

bool hasOption (const juce::StringArray& args, const juce::String& option)
{
    return args.contains (option);
}

juce::String getOptionValue (const juce::StringArray& args, const juce::String& option, const juce::String& defaultValue)
{
    const auto index = args.indexOf (option);
    if (index >= 0 && index + 1 < args.size())
        return args[index + 1];
    return defaultValue;
}

juce::StringArray getPositionalArguments (const juce::StringArray& args, const juce::StringArray& valueOptions)
{
    juce::StringArray positional;
    for (int i = 0; i < args.size(); ++i)
    {
        if (valueOptions.contains (args[i]))
            ++i;
        else if (! args[i].startsWith ("--"))
            positional.add (args[i]);
    }
    return positional;
}

int fail (const juce::String& message, int status)
{
    std::cerr << message.toStdString() << std::endl;
    return status;
}

void printLine (const juce::String& text)
{
    std::cout << text.toStdString() << '\n';
}
} // namespace tarnombi::cli
