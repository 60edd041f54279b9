#include "application/LaunchSequence.h"

#include "application/ApplicationUndoManager.h"
#include "application/CPXRResource.h"
#include "application/DataEditStatus.h"
#include "application/DebugModeModel.h"
#include "application/FileAccessProcessor.h"
#include "application/LanguageAndFontSetup.h"
#include "application/PreferencesData.h"
#include "data/DataCenter.h"
#include "midi/MidiDeviceManager.h"
#include "midi/SysExMessages.h"
#include "twitter/TwitterClient.h"
#include "twitter/TwitterStartup.h"
#include "twitter/TwitterTaskProcessor.h"
#include "ui/ModalDialogState.h"
#include "ui/SelectedProgramStatus.h"

namespace x38200_application
{
void initializePlatformSpecifics()
{
    setLanguage();
    searchDefaultFont();
    applyDefaultFontFamily();
}

void initializePreferences()
{
    using namespace x38200_preferences;
    auto& preferences = PreferencesData::instance();
    preferences.setInitValue (PreferencesAutoReceive, true);
    preferences.setInitValue (PreferencesMidiPortAutoScan, true);
    preferences.setInitValue (PreferencesMidiInPort, juce::String());
    preferences.setInitValue (PreferencesMidiOutPort, juce::String());
    preferences.setInitValue (PreferencesWarnBeforeWriting, true);
    preferences.setInitValue (PreferencesLastSavedFolder, juce::String());
    preferences.setInitValue (PreferencesShowPresetWindow, false);
    preferences.setInitValue (PreferencesProgramListHeight, 25);
    preferences.setInitValue (PreferencesTwitterEnable, false);
    preferences.setInitValue (PreferencesTwitterUserName, juce::String());
    preferences.setInitValue (PreferencesTwitterMaxNumLogs, 1000);
    preferences.setInitValue (PreferencesTwitterUrlLength, 22);
    preferences.setInitValue (PreferencesTwitterUrlLengthHttps, 23);
}

// The shared objects, in the order in which later steps and views rely on them.
void initializeSingletonObjects()
{
    CPXRResource::instance();
    midi::MidiDeviceManager::instance();
    auto& preferences = x38200_preferences::PreferencesData::instance();
    application::PreferencesDataChangeBroadcaster::instance();
    x38200_data::DataCenter::instance();
    initializeDebugMode (preferences.getPreferencesFolder());
    ui::SelectedProgramStatus::instance();
    x38200_data::CurrentProgramData::instance();
    ui::ModalDialogState::instance();
    data::DataChangeBroadcaster::instance();
    data::PresetDataChangeBroadcaster::instance();
    application::DataEditStatus::instance();
    application::LastSavedFileStatus::instance();
    twitter::TwitterClient::instance();
    twitter::TwitterTaskProcessor::instance();
    twitter::TwitterProfileImageCache::instance();
}

void initializeApplication()
{
    initializePreferences();
    initializeSingletonObjects();
    // The family the device scanner looks for and every message built from now on carries.
    midi::MidiDeviceManager::instance().setDeviceFamilyId (x38200_midi::TarnOMBIFamilyID);
    initializeFontLibrary();
    x38200_preferences::PreferencesDataUpdater().startup();
    initializePresetData();
    initializeTwitter();
    initializeJuceLocalizableStrings();
    application::ApplicationUndoManager::instance().setMaxNumberOfStoredUnits (2000000, 20);
    x38200_data::DataCenter::instance().libraryData.initialize();
    FileAccessProcessor().executeReloadPresetFiles();
}

void finalizeApplication()
{
}
} // namespace x38200_application
