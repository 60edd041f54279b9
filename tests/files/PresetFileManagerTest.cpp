// The preset folder: importing, replacing by data ID, safe file names, the index, and
// the factory preset at start-up.

#include "FileTestHelpers.h"
#include "application/FileAccessProcessor.h"
#include "application/PreferencesData.h"
#include "data/DataCenter.h"
#include "data/parameter/DescriptorTables.h"
#include "file/LibraryFiles.h"
#include "file/PresetFileManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using x38200_file::PresetFileManager;

namespace
{
// A fresh program run as far as the preset folder is concerned: no manager, no folder.
void startWithEmptyPresetFolder()
{
    if (PresetFileManager::exists())
        delete &PresetFileManager::instance();
    x38200_preferences::PreferencesData::instance().getPreferencesFolder().getChildFile ("Preset Data").deleteRecursively();
}

// The next start of the program: the manager is made again from the saved index.
void restartPresetFileManager()
{
    delete &PresetFileManager::instance();
}

juce::File writePreset (const juce::String& dataID, const juce::String& name, int programByte = 1)
{
    static const auto folder = tarnombi::test::makeTemporaryFolder ("preset-sources");
    x38200_data::PresetData preset;
    preset.information.dataID = dataID;
    preset.information.name = name;
    preset.getProgramData (0).rawData.bytes[20] = (std::uint8_t) programByte;
    preset.getProgramData (0).updateMD5();
    auto file = folder.getNonexistentChildFile ("source", ".topreset", false);
    EXPECT_EQ (x38200_file::PresetFileWriter (preset).writeToFile (file), 0);
    return file;
}

x38200_data::PresetData readPreset (const juce::File& file)
{
    x38200_data::PresetData preset;
    EXPECT_EQ (x38200_file::PresetFileReader (preset).readFromFile (file), 0) << file.getFullPathName();
    return preset;
}
} // namespace

TEST (PresetFileManager, ImportAddsAndReplacesByDataIDIgnoringCase)
{
    startWithEmptyPresetFolder();
    auto& manager = PresetFileManager::instance();
    EXPECT_EQ (manager.getNumPresetFiles(), 0);
    EXPECT_EQ (manager.getPresetFolder(), x38200_preferences::PreferencesData::instance().getPreferencesFolder().getChildFile ("Preset Data"));

    ASSERT_TRUE (manager.importPresetFile (writePreset ("MyPreset", "first")));
    ASSERT_EQ (manager.getNumPresetFiles(), 1);
    EXPECT_EQ (manager.getPresetFileName (0), "MyPreset.itopreset");
    EXPECT_TRUE (manager.getPresetFile (0).existsAsFile());
    EXPECT_TRUE (manager.hasPreset ("mypreset"));

    const auto index = juce::XmlDocument::parse (manager.getPresetFileInformationFile());
    ASSERT_NE (index, nullptr);
    EXPECT_EQ (index->getTagName(), "TarnOMBI_PresetInformation");
    ASSERT_EQ (index->getNumChildElements(), 1);
    EXPECT_EQ (index->getChildElement (0)->getTagName(), "Preset");
    EXPECT_EQ (index->getChildElement (0)->getChildByName ("DataID")->getAllSubText(), "MyPreset");
    EXPECT_EQ (index->getChildElement (0)->getChildByName ("File")->getAllSubText(), "MyPreset.itopreset");

    // The same data ID in other letters replaces the copy under its existing name.
    ASSERT_TRUE (manager.importPresetFile (writePreset ("MYPRESET", "second")));
    ASSERT_EQ (manager.getNumPresetFiles(), 1);
    EXPECT_EQ (manager.getPresetFileName (0), "MyPreset.itopreset");
    EXPECT_EQ (readPreset (manager.getPresetFile (0)).information.name, "second");

    ASSERT_TRUE (manager.importPresetFile (writePreset ("Other", "third")));
    EXPECT_EQ (manager.getNumPresetFiles(), 2);
    EXPECT_EQ (manager.getPresetFileName (1), "Other.itopreset");

    // Beyond the list: the non-existent file, which the reader refuses.
    EXPECT_EQ (manager.getPresetFileName (2), juce::String());
    EXPECT_EQ (manager.getPresetFile (2), juce::File());
    x38200_data::PresetData preset;
    EXPECT_NE (x38200_file::PresetFileReader (preset).readFromFile (manager.getPresetFile (2)), 0);

    // The index survives a restart.
    restartPresetFileManager();
    EXPECT_EQ (PresetFileManager::instance().getNumPresetFiles(), 2);
    EXPECT_EQ (PresetFileManager::instance().getPresetFileName (1), "Other.itopreset");
}

TEST (PresetFileManager, FilesThatAreNoPresetsChangeNothing)
{
    startWithEmptyPresetFolder();
    auto& manager = PresetFileManager::instance();
    ASSERT_TRUE (manager.importPresetFile (writePreset ("Keep", "k")));
    const auto indexBefore = manager.getPresetFileInformationFile().loadFileAsString();

    const auto library = tarnombi::test::makeTemporaryFolder ("not-a-preset").getChildFile ("lib.tolib");
    ASSERT_EQ (x38200_file::LibraryFileWriter (x38200_data::LibraryData()).writeToFile (library), 0);
    EXPECT_FALSE (manager.importPresetFile (library));
    EXPECT_FALSE (manager.importPresetFile (juce::File ("/nonexistent.topreset")));
    EXPECT_FALSE (manager.importPresetFileData (tarnombi::test::textBlock ("garbage")));

    EXPECT_EQ (manager.getNumPresetFiles(), 1);
    EXPECT_EQ (manager.getPresetFileInformationFile().loadFileAsString(), indexBefore);
    EXPECT_EQ (manager.getPresetFolder().getNumberOfChildFiles (juce::File::findFiles), 2);
}

TEST (PresetFileManager, DataIDsBecomeSafeFileNamesInsideTheFolder)
{
    startWithEmptyPresetFolder();
    auto& manager = PresetFileManager::instance();
    const auto folder = manager.getPresetFolder();

    const juce::String ids[] = { "../../escape", "a/b", "a_b", "..", "", "with:colon*?", juce::String::repeatedString ("long", 100) };
    for (const auto& id : ids)
        ASSERT_TRUE (manager.importPresetFile (writePreset (id, id))) << id;

    ASSERT_EQ (manager.getNumPresetFiles(), (int) std::size (ids));
    juce::StringArray names;
    for (int i = 0; i < manager.getNumPresetFiles(); ++i)
    {
        const auto file = manager.getPresetFile (i);
        EXPECT_EQ (file.getParentDirectory(), folder) << manager.getPresetFileName (i);
        EXPECT_TRUE (file.existsAsFile());
        EXPECT_TRUE (file.hasFileExtension (".itopreset"));
        EXPECT_LT (file.getFileName().getNumBytesAsUTF8(), 255);
        EXPECT_FALSE (file.getFileName().startsWithChar ('.'));
        EXPECT_EQ (readPreset (file).information.dataID, ids[i]); // each copy is its own preset
        names.add (file.getFileName());
    }
    names.removeDuplicates (true);
    EXPECT_EQ (names.size(), (int) std::size (ids));
    EXPECT_FALSE (folder.getParentDirectory().getParentDirectory().getChildFile ("escape.itopreset").exists());

    // Replacing keeps the name that the index records.
    ASSERT_TRUE (manager.importPresetFile (writePreset ("A/B", "again")));
    EXPECT_EQ (manager.getNumPresetFiles(), (int) std::size (ids));
    EXPECT_EQ (readPreset (manager.getPresetFile (1)).information.name, "again");
}

TEST (PresetFileManager, ImportsFromMemoryUseTheirOwnTemporaryFile)
{
    startWithEmptyPresetFolder();
    const auto block = tarnombi::test::readWholeFile (writePreset ("FromMemory", "m"));

    // A private temporary folder, with something in the way under a fixed name.
    const auto temp = tarnombi::test::makeTemporaryFolder ("tmpdir");
    const juce::String previous (std::getenv ("TMPDIR") != nullptr ? std::getenv ("TMPDIR") : "");
    ::setenv ("TMPDIR", temp.getFullPathName().toRawUTF8(), 1);
    temp.getChildFile ("TempPresetData.topreset").createDirectory();

    const bool imported = PresetFileManager::instance().importPresetFileData (block);

    if (previous.isEmpty())
        ::unsetenv ("TMPDIR");
    else
        ::setenv ("TMPDIR", previous.toRawUTF8(), 1);

    ASSERT_TRUE (imported);
    EXPECT_TRUE (PresetFileManager::instance().hasPreset ("FromMemory"));
    EXPECT_EQ (temp.getNumberOfChildFiles (juce::File::findFiles), 0); // the temporary file is gone
}

TEST (PresetFileManager, BrokenIndexStartsEmpty)
{
    startWithEmptyPresetFolder();
    const auto folder = x38200_preferences::PreferencesData::instance().getPreferencesFolder().getChildFile ("Preset Data");
    folder.createDirectory();
    folder.getChildFile ("PresetFileInformation.xml").replaceWithText ("<not xml");

    EXPECT_EQ (PresetFileManager::instance().getNumPresetFiles(), 0);
    ASSERT_TRUE (PresetFileManager::instance().importPresetFile (writePreset ("AfterBrokenIndex", "x")));
    EXPECT_EQ (PresetFileManager::instance().getNumPresetFiles(), 1);
    EXPECT_NE (juce::XmlDocument::parse (folder.getChildFile ("PresetFileInformation.xml")), nullptr);
}

TEST (PresetFileManager, FactoryPresetIsImportedOnceIntoAnEmptyFolder)
{
    startWithEmptyPresetFolder();
    x38200_application::initializePresetData();
    auto& manager = PresetFileManager::instance();
    ASSERT_EQ (manager.getNumPresetFiles(), 1);
    const auto installed = manager.getPresetFile (0);

    // The next start finds a preset and imports nothing.
    restartPresetFileManager();
    x38200_application::initializePresetData();
    EXPECT_EQ (PresetFileManager::instance().getNumPresetFiles(), 1);
    EXPECT_EQ (PresetFileManager::instance().getPresetFile (0), installed);

    const auto preset = readPreset (installed);
    EXPECT_EQ (preset.information.prefix, "TOFP");
    EXPECT_EQ (preset.information.version, 1);
    EXPECT_TRUE (preset.information.dataID.isNotEmpty());
    EXPECT_TRUE (preset.information.name.isNotEmpty());

    // 300 distinct programs with distinct names; every category; the default category
    // jumps land on programs of their category.
    juce::StringArray names, digests;
    std::set<int> categories;
    for (int i = 0; i < 300; ++i)
    {
        const auto& program = preset.getProgramData (i);
        names.addIfNotAlreadyThere (program.getProgramName().trimEnd());
        digests.addIfNotAlreadyThere (program.md5);
        categories.insert (program.rawData.bytes[12]);
        EXPECT_EQ (program.getProgramName().length(), 12);
    }
    EXPECT_EQ (names.size(), 300);
    EXPECT_EQ (digests.size(), 300);
    EXPECT_EQ (categories, (std::set<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8 }));
    const x38200_data::FavoriteData favorites;
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_EQ (preset.getProgramData (favorites.getFavoriteData (0, slot)).rawData.bytes[12], slot);

    // Every parameter of every program lies inside its range.
    for (int i = 0; i < 300; ++i)
    {
        const auto* record = &preset.getProgramData (i).rawData;
        for (std::int16_t mainID = 0; mainID < userparameter::NumProgramAreas; ++mainID)
        {
            for (std::int16_t subID = 0; subID < userparameter::descriptor::ProgramDescriptorTables[mainID].numRows; ++subID)
            {
                UserParameterDescriptor descriptor;
                const UserParameterID id { mainID, subID };
                if (! userparameter::descriptor::GetDescriptor (record, id, descriptor) || descriptor.byteCount == 0)
                    continue;
                const auto value = userparameter::descriptor::GetParameter (record->bytes, id, descriptor);
                EXPECT_TRUE (value >= descriptor.minimum && value <= descriptor.maximum)
                    << "program " << i << " main " << mainID << " sub " << subID << " (" << descriptor.name << ") = " << value;
            }
        }
    }

    // The embedded copy is the committed file.
    EXPECT_EQ (tarnombi::test::readWholeFile (installed),
               tarnombi::test::readWholeFile (juce::File (TARNOMBI_SOURCE_DIR "/resources/embedded/FactoryPreset.topreset")));

    // After the user removed every preset, the next start installs it again.
    startWithEmptyPresetFolder();
    x38200_application::initializePresetData();
    EXPECT_EQ (PresetFileManager::instance().getNumPresetFiles(), 1);
}

TEST (PresetFileManager, ReloadStopsAtTheFirstBrokenFile)
{
    startWithEmptyPresetFolder();
    auto& manager = PresetFileManager::instance();
    ASSERT_TRUE (manager.importPresetFile (writePreset ("First", "1")));
    ASSERT_TRUE (manager.importPresetFile (writePreset ("Second", "2")));

    x38200_application::FileAccessProcessor processor;
    auto& presets = x38200_data::DataCenter::instance().presetLibrary;
    ASSERT_EQ (processor.executeReloadPresetFiles(), 0);
    ASSERT_EQ (presets.getNumPresetData(), 2);
    EXPECT_EQ (presets.getPresetData (1).information.name, "2");

    manager.getPresetFile (0).replaceWithText ("broken");
    EXPECT_EQ (processor.executeReloadPresetFiles(), x38200_file::ReadErrorFailedToUncompressZipFile);
    EXPECT_EQ (presets.getNumPresetData(), 0);

    // Importing a file that is no preset reports code 16.
    EXPECT_EQ (processor.executeImportPreset (juce::File ("/nonexistent.topreset")), x38200_file::ReadErrorFailedToImportPresetData);
    // Importing a good one replaces the broken copy and reloads both.
    EXPECT_EQ (processor.executeImportPreset (writePreset ("FIRST", "1 again")), 0);
    ASSERT_EQ (presets.getNumPresetData(), 2);
    EXPECT_EQ (presets.getPresetData (0).information.name, "1 again");
}
