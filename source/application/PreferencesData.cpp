#include "application/PreferencesData.h"

#include "data/InformationXml.h"
#include "file/FileReaderWriter.h"
#include "ui/FontLibrary.h"
#include "midi/MidiDeviceManager.h"

namespace x38200_preferences
{
const juce::String PreferencesAutoReceive = "AutoReceive";
const juce::String PreferencesMidiPortAutoScan = "MidiPortAutoScan";
const juce::String PreferencesMidiInPort = "MidiInPort";
const juce::String PreferencesMidiOutPort = "MidiOutPort";
const juce::String PreferencesWarnBeforeWriting = "WarnBeforeWriting";
const juce::String PreferencesLastSavedFolder = "LastSavedFolder";
const juce::String PreferencesWindowWidth = "MainWindowWidth";
const juce::String PreferencesWindowHeight = "MainWindowHeight";
const juce::String PreferencesWindowPositionX = "MainWindowPositionX";
const juce::String PreferencesWindowPositionY = "MainWindowPositionY";
const juce::String PreferencesWindowSplitPosition = "MainWindowSplitPosition";
const juce::String PreferencesPresetWindowWidth = "PresetWindowWidth";
const juce::String PreferencesPresetWindowHeight = "PresetWindowHeight";
const juce::String PreferencesPresetWindowX = "PresetWindowPositionX";
const juce::String PreferencesPresetWindowY = "PresetWindowPositionY";
const juce::String PreferencesShowPresetWindow = "ShowPresetWindow";
const juce::String PreferencesProgramListHeight = "ProgramListHeight";
const juce::String PreferencesTwitterEnable = "TwitterEnable";
const juce::String PreferencesTwitterUserName = "TwitterUserName";
const juce::String PreferencesTwitterUserID = "TwitterUserID";
const juce::String PreferencesTwitterMaxNumLogs = "TwitterMaxLogSize";
const juce::String PreferencesTwitterUrlLength = "TwitterShortUrlLength";
const juce::String PreferencesTwitterUrlLengthHttps = "TwitterShortUrlLengthHttps";

const juce::String PreferencesData::PreferencesFileName = "PreferencesData.xml";
const juce::String PreferencesData::PreferencesFolderName = "OMBI TarnOMBI Sound Librarian";
const juce::String PreferencesData::RootTagName = "PreferencesData";
const juce::String PreferencesData::ValueAttributeName = "Value";

namespace
{
    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not an absolute path.
    juce::File getUserConfigFolder()
    {
        const auto xdg = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
        if (juce::File::isAbsolutePath (xdg))
            return juce::File (xdg);
        return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config");
    }
} // namespace

PreferencesData::PreferencesData()
{
    loadPreferencesData();
}

PreferencesData::~PreferencesData()
{
    save();
}

bool PreferencesData::loadPreferencesData()
{
    root = std::make_unique<juce::XmlElement> (RootTagName);
    const auto file = getPreferencesFile();
    if (file == juce::File())
        return false;

    // Any root element is accepted; a missing or broken file gives an empty tree.
    if (file.existsAsFile())
        if (auto parsed = x38200_data::parseXmlFile (file))
            root = std::move (parsed);
    return true;
}

bool PreferencesData::save()
{
    const auto file = getPreferencesFile();
    if (file == juce::File() || root == nullptr)
        return false;

    return file::replaceFileSafely (file, x38200_data::toUtf8Block (x38200_data::createXmlDocumentText (*root))) == file::SafeWriteOk;
}

juce::XmlElement* PreferencesData::getElement (const juce::String& key)
{
    if (auto* element = root->getChildByName (key))
        return element;
    return root->createNewChildElement (key);
}

const juce::XmlElement* PreferencesData::findElement (const juce::String& key) const
{
    return root->getChildByName (key);
}

bool PreferencesData::hasElement (const juce::String& key) const
{
    return findElement (key) != nullptr;
}

void PreferencesData::setValue (const juce::String& key, const juce::String& value)
{
    getElement (key)->setAttribute (ValueAttributeName, value);
}

void PreferencesData::setValue (const juce::String& key, const int& value)
{
    getElement (key)->setAttribute (ValueAttributeName, value);
}

void PreferencesData::setValue (const juce::String& key, const bool& value)
{
    getElement (key)->setAttribute (ValueAttributeName, value ? 1 : 0);
}

juce::String PreferencesData::getStringValue (const juce::String& key, const juce::String& defaultValue) const
{
    const auto* element = findElement (key);
    return element != nullptr ? element->getStringAttribute (ValueAttributeName, defaultValue) : defaultValue;
}

int PreferencesData::getIntValue (const juce::String& key, const int& defaultValue) const
{
    const auto* element = findElement (key);
    return element != nullptr ? element->getIntAttribute (ValueAttributeName, defaultValue) : defaultValue;
}

bool PreferencesData::getBoolValue (const juce::String& key, const bool& defaultValue) const
{
    const auto* element = findElement (key);
    return element != nullptr ? element->getBoolAttribute (ValueAttributeName, defaultValue) : defaultValue;
}

void PreferencesData::setInitValue (const juce::String& key, const juce::String& value)
{
    if (! hasElement (key))
        setValue (key, value);
}

void PreferencesData::setInitValue (const juce::String& key, const int& value)
{
    if (! hasElement (key))
        setValue (key, value);
}

void PreferencesData::setInitValue (const juce::String& key, const bool& value)
{
    if (! hasElement (key))
        setValue (key, value);
}

juce::File PreferencesData::getPreferencesFolder() const
{
    const auto folder = getUserConfigFolder().getChildFile (PreferencesFolderName);
    if (! folder.isDirectory())
        folder.createDirectory();
    return folder;
}

juce::File PreferencesData::getPreferencesFile() const
{
    return getPreferencesFolder().getChildFile (PreferencesFileName);
}

//==============================================================================
void PreferencesDataUpdater::startup()
{
    process();
    updateProgramListSize();
}

void PreferencesDataUpdater::update()
{
    process();
    if (PreferencesData::instance().getBoolValue (PreferencesMidiPortAutoScan, true))
        midi::MidiDeviceManager::instance().scanDevices();
    updateProgramListSize();
}

void PreferencesDataUpdater::process()
{
    auto& preferences = PreferencesData::instance();
    auto& deviceManager = midi::MidiDeviceManager::instance();
    if (preferences.getBoolValue (PreferencesMidiPortAutoScan, true))
    {
        deviceManager.setAutoDeviceScan (true);
        return;
    }
    deviceManager.setAutoDeviceScan (false);
    deviceManager.setManualMidiInputPort (preferences.getStringValue (PreferencesMidiInPort, {}));
    deviceManager.setManualMidiOutputPort (preferences.getStringValue (PreferencesMidiOutPort, {}));
}

// The list texts grow with the row height: 60 % of it.
void PreferencesDataUpdater::updateProgramListSize()
{
    const auto height = PreferencesData::instance().getIntValue (PreferencesProgramListHeight, 0);
    const auto size = (int) (height * 0.6);
    auto& fonts = ui::FontLibrary::instance();
    for (const auto* name : { "ProgramListNumber", "ProgramListName", "ProgramListCategory", "PresetListItemPresetData",
                              "PresetListItemProgram" })
        fonts.changeFontSize (name, size);
    application::PreferencesDataChangeBroadcaster::instance().update();
}
} // namespace x38200_preferences

namespace application
{
void PreferencesDataChangeBroadcaster::handleAsyncUpdate()
{
    callListeners ([] (PreferencesDataChangeBroadcasterObserver& observer) { observer.preferencesDataChanged(); });
}
} // namespace application
