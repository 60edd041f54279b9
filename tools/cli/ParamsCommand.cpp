#include "CliCommand.h"

#include "data/ProgramData.h"
#include "data/parameter/ParameterListing.h"
#include "file/AnyFileReader.h"
#include "file/LibraryFiles.h"

// tarnombi params FILE --program N [--tsv]: every parameter of one program as text.
namespace tarnombi::cli
{
namespace
{
    const char* const usageText = "params FILE --program N [--tsv]";

    // Oscillator controls are named after what they do for the chosen type ("Waveform");
    // the listing says which oscillator they belong to.
    juce::String oscillatorPrefix (const UserParameterID& id)
    {
        if (id.mainID != 2 && id.mainID != 4)
            return {};
        switch (id.subID)
        {
            case 15: case 16: return "Osc1 ";
            case 20: case 21: return "Osc2 ";
            case 25: case 26: return "Osc3 ";
            default: return {};
        }
    }

    int runParams (const juce::StringArray& args)
    {
        const auto positional = getPositionalArguments (args, { "--program" });
        if (positional.size() != 1)
            return fail (juce::String ("usage: tarnombi ") + usageText, 2);

        const auto programText = getOptionValue (args, "--program");
        const int programNumber = programText.getIntValue();
        if (programText.isEmpty() || ! programText.containsOnly ("0123456789") || programNumber < 1
            || programNumber > x38200_data::LibraryData::NumPrograms)
            return fail ("--program needs a program number from 1 to "
                             + juce::String (x38200_data::LibraryData::NumPrograms),
                         2);

        x38200_file::AnyFileContent content;
        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (positional[0]);
        if (const auto code = x38200_file::readAnyFile (file, content); code != 0)
            return fail (file.getFullPathName() + ": " + x38200_file::getReadErrorString (code));

        const auto& program = content.library.getProgramData (programNumber - 1);
        const auto entries = userparameter::ListProgramParameters (&program.rawData);

        if (hasOption (args, "--tsv"))
        {
            for (const auto& e : entries)
                printLine (juce::String (e.id.mainID) + "\t" + juce::String (e.id.subID) + "\t" + e.descriptor.name + "\t"
                           + juce::String (e.internalValue) + "\t" + juce::String (e.value) + "\t"
                           + juce::String (e.text) + "\t" + (e.inEffect ? "1" : "0"));
            return 0;
        }

        printLine ("Program " + juce::String (programNumber) + ": \"" + program.getProgramName() + "\" ("
                   + userparameter::GetProgramCategoryString (&program.rawData) + ")");
        int area = -1;
        for (const auto& e : entries)
        {
            if (e.descriptor.valueType == UserParameterDescriptor::NoParameter)
                continue; // a control that the chosen type does not have
            if (e.id.mainID != area)
            {
                area = e.id.mainID;
                printLine ({});
                printLine (userparameter::GetAreaName (area));
            }
            const juce::String label = oscillatorPrefix (e.id)
                                       + (*e.descriptor.qualifiedName != 0 ? e.descriptor.qualifiedName : e.descriptor.name);
            auto line = "  " + label.paddedRight (' ', 26) + " " + juce::String (e.text);
            if (! e.inEffect)
                line = line.paddedRight (' ', 50) + " (not in effect)";
            printLine (line);
        }
        return 0;
    }

    const Registration registration { { "params", usageText, "show every parameter of one program", runParams } };
} // namespace
} // namespace tarnombi::cli
