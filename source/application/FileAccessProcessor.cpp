#include "application/FileAccessProcessor.h"

#include "application/ApplicationUndoManager.h"
#include "application/DataEditStatus.h"
#include "application/UndoActions.h"
#include "data/DataCenter.h"
#include "file/LibraryFiles.h"
#include "file/PresetFileManager.h"
#include "file/TimbrixEditorLibraryDataImporter.h"

#if TARNOMBI_HAS_RESOURCES
 #include "TarnOMBIResources.h"
#endif

namespace x38200_application
{
const juce::String FileAccessProcessor::LoadProgramTransactionName = "LoadProgram";

void FileAccessProcessor::replaceLibrary (const x38200_data::LibraryData& library, const juce::File& savedFile)
{
    x38200_data::DataCenter::instance().libraryData = library;
    data::DataChangeBroadcaster::instance().update();
    x38200_data::CurrentProgramData::instance().changedLibraryData();
    application::LastSavedFileStatus::instance().setSavedFile (savedFile);
    application::DataEditStatus::instance().clearEdited();
    application::ApplicationUndoManager::instance().clearUndoHistory();
}

int FileAccessProcessor::executeFileOpen (const juce::File& file)
{
    x38200_data::LibraryData library;
    if (const auto result = x38200_file::LibraryFileReader (library).readFromFile (file); result != 0)
        return result;
    replaceLibrary (library, file);
    return 0;
}

int FileAccessProcessor::executeFileSave (const juce::File& file)
{
    const auto result = x38200_file::LibraryFileWriter (x38200_data::DataCenter::instance().libraryData).writeToFile (file);
    if (result == 0)
    {
        application::LastSavedFileStatus::instance().setSavedFile (file);
        application::DataEditStatus::instance().clearEdited();
    }
    return result;
}

int FileAccessProcessor::executeFileLoadProgram (const juce::File& file, int programNumber)
{
    x38200_data::ProgramData program;
    if (const auto result = x38200_file::ProgramFileReader (program).readFromFile (file); result != 0)
        return result;

    auto& undoManager = application::ApplicationUndoManager::instance();
    undoManager.beginNewTransaction (LoadProgramTransactionName);
    undoManager.perform (new x38200_action::SetProgramDataAction (programNumber, program));
    return 0;
}

int FileAccessProcessor::executeFileSaveProgram (const juce::File& file, int programNumber)
{
    const auto& program = x38200_data::DataCenter::instance().libraryData.getProgramData (programNumber);
    return x38200_file::ProgramFileWriter (program).writeToFile (file);
}

int FileAccessProcessor::executeImportPreset (const juce::File& file)
{
    if (! x38200_file::PresetFileManager::instance().importPresetFile (file))
        return x38200_file::ReadErrorFailedToImportPresetData;
    return executeReloadPresetFiles();
}

int FileAccessProcessor::executeReloadPresetFiles()
{
    auto& manager = x38200_file::PresetFileManager::instance();
    auto& presets = x38200_data::DataCenter::instance().presetLibrary;
    presets.clear();

    for (int i = 0; i < manager.getNumPresetFiles(); ++i)
    {
        x38200_data::PresetData preset;
        if (const auto result = x38200_file::PresetFileReader (preset).readFromFile (manager.getPresetFile (i)); result != 0)
            return result;
        presets.add (preset);
    }

    data::PresetDataChangeBroadcaster::instance().update();
    x38200_data::CurrentProgramData::instance().changedLibraryData();
    return 0;
}

int FileAccessProcessor::executeSaveLibraryAsPreset (const juce::File& file, const x38200_data::PresetInformation& information)
{
    const auto& library = x38200_data::DataCenter::instance().libraryData;
    x38200_data::PresetData preset;
    preset.information = information;
    for (int i = 0; i < x38200_data::PresetData::NumPrograms; ++i)
    {
        auto& program = preset.getProgramData (i);
        program = library.getProgramData (i);
        // A preset carries the sounds, not the owner's notes about them.
        program.information.programmer.clear();
        program.information.comment.clear();
    }
    return x38200_file::PresetFileWriter (preset).writeToFile (file);
}

int FileAccessProcessor::executeImportTimbrixEditorFile (const juce::File& file)
{
    x38200_data::LibraryData library;
    if (const auto result = x38200_file::TimbrixEditorLibraryDataImporter (library).readFromFile (file); result != 0)
        return result;
    replaceLibrary (library, juce::File());
    return 0;
}

//==============================================================================
void initializePresetData()
{
    auto& manager = x38200_file::PresetFileManager::instance();
    if (manager.getNumPresetFiles() > 0)
        return;
#if TARNOMBI_HAS_RESOURCES
    const juce::MemoryBlock factoryPreset (TarnOMBIResources::FactoryPreset_topreset,
                                           (size_t) TarnOMBIResources::FactoryPreset_topresetSize);
    manager.importPresetFileData (factoryPreset);
#endif
}
} // namespace x38200_application
