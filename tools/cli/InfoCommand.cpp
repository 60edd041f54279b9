// tarnombi info FILE [--tsv]: what a library, program, preset or older editor file holds.

#include "CliCommand.h"

#include "data/parameter/UserParameter.h"
#include "file/AnyFileReader.h"
#include "file/LibraryFiles.h"

namespace tarnombi::cli
{
namespace
{
    // Tab-separated fields stay on one line: backslash, tab and line breaks are escaped.
    juce::String field (const juce::String& text)
    {
        return text.replace ("\\", "\\\\").replace ("\t", "\\t").replace ("\n", "\\n").replace ("\r", "\\r");
    }

    const char* const categoryJumpNames[] = { "SYNTH", "LEAD", "BASS", "BRASS", "STRINGS", "PIANO", "KEY", "SE/VOC" };

    void printTsv (const x38200_file::AnyFileContent& content)
    {
        if (content.hasPresetInformation)
        {
            const auto& info = content.presetInformation;
            const std::pair<const char*, juce::String> fields[] = {
                { "dataID", info.dataID },       { "name", info.name },     { "author", info.author },
                { "copyright", info.copyright }, { "updateDate", info.updateDate }, { "prefix", info.prefix },
                { "version", juce::String (info.version) },
            };
            for (const auto& [name, value] : fields)
                printLine (juce::String ("preset\t") + name + "\t" + field (value));
        }
        for (int i = 0; i < content.numPrograms; ++i)
        {
            const auto& program = content.library.getProgramData (i);
            printLine ("program\t" + juce::String (i) + "\t" + field (program.getProgramName().trimEnd()) + "\t" + program.md5
                       + "\t" + field (program.information.programmer) + "\t" + field (program.information.comment) + "\t"
                       + field (juce::String (userparameter::GetProgramCategoryString (&program.rawData))));
        }
        if (content.hasFavorites)
            for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
                for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
                    printLine ("favorite\t" + juce::String (bank) + "\t" + juce::String (slot) + "\t"
                               + juce::String (content.library.favoriteData.getFavoriteData (bank, slot)));
    }

    void printForPeople (const juce::File& file, const x38200_file::AnyFileContent& content)
    {
        printLine (file.getFileName() + ": " + x38200_file::AnyFileContent::getKindName (content.kind) + " file, "
                   + juce::String (content.numPrograms) + (content.numPrograms == 1 ? " program" : " programs"));

        if (content.hasPresetInformation)
        {
            const auto& info = content.presetInformation;
            printLine ({});
            printLine ("Preset");
            printLine ("  Data ID:    " + info.dataID);
            printLine ("  Name:       " + info.name);
            printLine ("  Author:     " + info.author);
            printLine ("  Copyright:  " + info.copyright);
            printLine ("  Date:       " + info.updateDate);
            printLine ("  Prefix:     " + info.prefix);
            printLine ("  Version:    " + juce::String (info.version));
        }

        printLine ({});
        printLine ("Programs");
        for (int i = 0; i < content.numPrograms; ++i)
        {
            const auto& program = content.library.getProgramData (i);
            auto line = juce::String (i + 1).paddedLeft (' ', 5) + "  " + program.getProgramName().paddedRight (' ', 12) + "  "
                        + juce::String (userparameter::GetProgramCategoryString (&program.rawData)).paddedRight (' ', 8);
            if (program.information.programmer.isNotEmpty())
                line << "  by " << program.information.programmer;
            if (program.information.comment.isNotEmpty())
                line << "  \"" << program.information.comment.replace ("\n", " ") << "\"";
            printLine (line.trimEnd());
        }

        if (content.hasFavorites)
        {
            printLine ({});
            printLine ("Favorites (program numbers from 1)");
            for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
            {
                juce::String line = bank == 0 ? "  Categories" : "  Bank " + juce::String (bank) + "    ";
                for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
                {
                    const auto number = content.library.favoriteData.getFavoriteData (bank, slot);
                    line << "  " << (bank == 0 ? juce::String (categoryJumpNames[slot]) + " " : juce::String())
                         << juce::String (number + 1);
                }
                printLine (line);
            }
        }
    }

    int runInfo (const juce::StringArray& args)
    {
        const auto positional = getPositionalArguments (args, {});
        if (positional.size() != 1)
            return fail ("usage: tarnombi info FILE [--tsv]", 2);

        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (positional[0]);
        x38200_file::AnyFileContent content;
        if (const auto result = x38200_file::readAnyFile (file, content); result != 0)
            return fail ("tarnombi: " + positional[0] + ": " + x38200_file::getReadErrorString (result));

        if (hasOption (args, "--tsv"))
            printTsv (content);
        else
            printForPeople (file, content);
        return 0;
    }

    const Registration registration { { "info", "info FILE [--tsv]", "show what a library, program, preset or older editor file holds", runInfo } };
} // namespace
} // namespace tarnombi::cli
