#include "CliCommand.h"

#include "application/CPXRResource.h"

namespace tarnombi::cli
{
namespace
{
    // Prints the interface texts of the given keys, one line each, in the chosen language.
    int runText (const juce::StringArray& args)
    {
        const auto keys = getPositionalArguments (args, {});
        if (keys.isEmpty())
            return fail ("tarnombi text: name at least one text key", 2);

        auto& resource = CPXRResource::instance();
        if (! resource.hasStringTable())
            return fail ("tarnombi text: the string table is missing");

        int status = 0;
        for (const auto& key : keys)
        {
            if (resource.hasKey (key))
                printLine (resource.GetLocalizedString (key));
            else
                status = fail ("tarnombi text: unknown key \"" + key + "\"");
        }
        return status;
    }

    const Registration textCommand { { "text", "text KEY...", "print interface texts by key in the chosen language", runText } };
} // namespace
} // namespace tarnombi::cli
