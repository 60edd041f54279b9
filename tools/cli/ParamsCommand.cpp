#include "CliCommand.h"

#include "data/ProgramData.h"
#include "data/parameter/ParameterListing.h"

namespace tarnombi::cli
{
// Reads the library that `params` shows. Returns 0 on success, otherwise writes the reason
// into `error`.
//
// FOR THE LEAD: the library, program and preset file readers (x38200_file) are not on main
// yet. Until they are, this reads raw program records only: a file of 320-byte records, as
// the instrument stores them, one program per record (at most 300). Replace the body with
// the file readers; nothing else in this file depends on how the library was read.
int loadLibraryForParams (const juce::File& file, x38200_data::LibraryData& library, juce::String& error)
{
    constexpr int recordSize = x38200_data::ProgramData::RawDataSize;
    if (! file.existsAsFile())
    {
        error = "no such file: " + file.getFullPathName();
        return 1;
    }

    const auto size = file.getSize();
    if (size == 0 || size % recordSize != 0 || size > (juce::int64) recordSize * x38200_data::LibraryData::NumPrograms)
    {
        error = "not a file of program records (" + juce::String (size) + " bytes): " + file.getFullPathName();
        return 2;
    }

    juce::MemoryBlock bytes;
    if (! file.loadFileAsData (bytes) || (juce::int64) bytes.getSize() != size)
    {
        error = "cannot read " + file.getFullPathName();
        return 3;
    }

    library.initialize();
    const auto* data = static_cast<const unsigned char*> (bytes.getData());
    for (int i = 0; i < (int) (size / recordSize); ++i)
        library.getProgramData (i).copyFromRawData (data + i * recordSize, recordSize);
    return 0;
}

// The category text of a program, as the program list shows it.
juce::String getProgramCategoryText (const x38200_data::ProgramData& program)
{
    return juce::String (userparameter::GetProgramCategoryString (&program.rawData));
}

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

        x38200_data::LibraryData library;
        juce::String error;
        if (loadLibraryForParams (juce::File::getCurrentWorkingDirectory().getChildFile (positional[0]), library, error)
            != 0)
            return fail (error);

        const auto& program = library.getProgramData (programNumber - 1);
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
                   + getProgramCategoryText (program) + ")");
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
