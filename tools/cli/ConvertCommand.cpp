// tarnombi convert IN OUT [options]: reads a file of any kind and writes it as the kind
// that OUT's extension names.

#include "CliCommand.h"

#include "file/AnyFileReader.h"
#include "file/LibraryFiles.h"
#include "midi/SysExFile.h"

namespace tarnombi::cli
{
namespace
{
    const juce::StringArray valueOptions { "--prefix", "--name", "--author", "--data-id", "--program" };

    int writeFailure (const juce::String& name, int result)
    {
        return fail ("tarnombi: " + name + ": " + x38200_file::getWriteErrorString (result));
    }

    int runConvert (const juce::StringArray& args)
    {
        const auto positional = getPositionalArguments (args, valueOptions);
        if (positional.size() != 2)
            return fail ("usage: tarnombi convert IN OUT [--program N] [--prefix P] [--name N] [--author A] [--data-id ID]", 2);

        for (const auto& arg : args)
            if (arg.startsWith ("--") && ! valueOptions.contains (arg))
                return fail ("tarnombi convert: unknown option " + arg, 2);

        const auto cwd = juce::File::getCurrentWorkingDirectory();
        const auto input = cwd.getChildFile (positional[0]);
        const auto output = cwd.getChildFile (positional[1]);

        // Check everything about the output before reading, so that nothing half-done remains.
        enum { ToLibrary, ToPreset, ToProgram, ToSysEx } target;
        if (output.hasFileExtension (x38200_midi::SysExFile::Extension))
            target = ToSysEx;
        else if (output.hasFileExtension (x38200_file::LibraryFileExtension))
            target = ToLibrary;
        else if (output.hasFileExtension (x38200_file::PresetFileExtension))
            target = ToPreset;
        else if (output.hasFileExtension (x38200_file::ProgramFileExtension))
            target = ToProgram;
        else
            return fail ("tarnombi convert: OUT must end in " + x38200_file::LibraryFileExtension + ", "
                             + x38200_file::PresetFileExtension + ", " + x38200_file::ProgramFileExtension + " or "
                             + x38200_midi::SysExFile::Extension,
                         2);

        int programNumber = 1;
        if (args.contains ("--program"))
        {
            const auto text = getOptionValue (args, "--program");
            programNumber = text.getIntValue();
            if (! text.containsOnly ("0123456789") || programNumber < 1 || programNumber > 300)
                return fail ("tarnombi convert: --program takes a number from 1 to 300", 2);
        }

        x38200_file::AnyFileContent content;
        if (input.hasFileExtension (x38200_midi::SysExFile::Extension))
        {
            // Program dumps, as other MIDI tools save them.
            juce::String error;
            content.numPrograms = x38200_midi::SysExFile::readLibraryFile (input, content.library, error);
            if (content.numPrograms == 0)
                return fail ("tarnombi: " + positional[0] + ": " + error);
        }
        else if (const auto result = x38200_file::readAnyFile (input, content); result != 0)
        {
            return fail ("tarnombi: " + positional[0] + ": " + x38200_file::getReadErrorString (result));
        }

        if (target == ToSysEx)
        {
            juce::String error;
            return x38200_midi::SysExFile::writeLibraryFile (output, content.library, error)
                       ? 0
                       : fail ("tarnombi: " + positional[1] + ": " + error);
        }

        if (target == ToProgram)
        {
            if (programNumber > content.numPrograms)
                return fail ("tarnombi convert: " + positional[0] + " holds " + juce::String (content.numPrograms)
                                 + (content.numPrograms == 1 ? " program" : " programs"),
                             2);
            const auto result = x38200_file::ProgramFileWriter (content.library.getProgramData (programNumber - 1)).writeToFile (output);
            return result == 0 ? 0 : writeFailure (positional[1], result);
        }

        if (target == ToLibrary)
        {
            const auto result = x38200_file::LibraryFileWriter (content.library).writeToFile (output);
            return result == 0 ? 0 : writeFailure (positional[1], result);
        }

        x38200_data::PresetData preset;
        preset.information = content.presetInformation;
        const std::pair<const char*, juce::String*> texts[] = { { "--prefix", &preset.information.prefix },
                                                                { "--name", &preset.information.name },
                                                                { "--author", &preset.information.author },
                                                                { "--data-id", &preset.information.dataID } };
        for (const auto& [option, value] : texts)
            if (args.contains (option))
                *value = getOptionValue (args, option);
        for (int i = 0; i < x38200_data::PresetData::NumPrograms; ++i)
            preset.getProgramData (i) = content.library.getProgramData (i);

        const auto result = x38200_file::PresetFileWriter (preset).writeToFile (output);
        return result == 0 ? 0 : writeFailure (positional[1], result);
    }

    const Registration registration { { "convert", "convert IN OUT [options]",
                                        "write a file as a library (.tolib), preset (.topreset; --prefix, --name, --author, "
                                        "--data-id), program (.toprog; --program N) or program dumps (.syx)",
                                        runConvert } };
} // namespace
} // namespace tarnombi::cli
