#pragma once

#include "application/Singleton.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <memory>

namespace x38200_preferences
{
// The names of the stored values.
extern const juce::String PreferencesAutoReceive;
extern const juce::String PreferencesMidiPortAutoScan;
extern const juce::String PreferencesMidiInPort;
extern const juce::String PreferencesMidiOutPort;
extern const juce::String PreferencesWarnBeforeWriting;
extern const juce::String PreferencesLastSavedFolder;
extern const juce::String PreferencesWindowWidth;
extern const juce::String PreferencesWindowHeight;
extern const juce::String PreferencesWindowPositionX;
extern const juce::String PreferencesWindowPositionY;
extern const juce::String PreferencesWindowSplitPosition;
extern const juce::String PreferencesPresetWindowWidth;
extern const juce::String PreferencesPresetWindowHeight;
extern const juce::String PreferencesPresetWindowX;
extern const juce::String PreferencesPresetWindowY;
extern const juce::String PreferencesShowPresetWindow;
extern const juce::String PreferencesProgramListHeight;
extern const juce::String PreferencesTwitterEnable;
extern const juce::String PreferencesTwitterUserName;
extern const juce::String PreferencesTwitterUserID;
extern const juce::String PreferencesTwitterMaxNumLogs;
extern const juce::String PreferencesTwitterUrlLength;
extern const juce::String PreferencesTwitterUrlLengthHttps;

// The user's settings, kept in memory as an XML tree and written to
// "PreferencesData.xml" in the preferences folder when the program ends.
class PreferencesData : public Singleton<PreferencesData>, public juce::DeletedAtShutdown
{
public:
    static const juce::String PreferencesFileName;
    static const juce::String PreferencesFolderName;
    static const juce::String RootTagName;
    static const juce::String ValueAttributeName;

    PreferencesData();
    ~PreferencesData() override;

    bool loadPreferencesData();
    // Writes the whole tree; the previous file stays intact until the new one is complete.
    bool save();

    void setValue (const juce::String& key, const juce::String& value);
    void setValue (const juce::String& key, const int& value);
    void setValue (const juce::String& key, const bool& value);
    // Overloads that keep a text literal from turning into a bool.
    void setValue (const juce::String& key, const char* value) { setValue (key, juce::String (value)); }

    juce::String getStringValue (const juce::String& key, const juce::String& defaultValue) const;
    int getIntValue (const juce::String& key, const int& defaultValue) const;
    bool getBoolValue (const juce::String& key, const bool& defaultValue) const;

    void setInitValue (const juce::String& key, const juce::String& value);
    void setInitValue (const juce::String& key, const int& value);
    void setInitValue (const juce::String& key, const bool& value);
    void setInitValue (const juce::String& key, const char* value) { setInitValue (key, juce::String (value)); }

    bool hasElement (const juce::String& key) const;
    juce::XmlElement* getElement (const juce::String& key);

    juce::File getPreferencesFile() const;
    juce::File getPreferencesFolder() const;

private:
    const juce::XmlElement* findElement (const juce::String& key) const;

    std::unique_ptr<juce::XmlElement> root;
};

// Applies the stored settings to the running program.
class PreferencesDataUpdater
{
public:
    virtual ~PreferencesDataUpdater() = default;

    // At start-up: the MIDI port settings and the list font sizes.
    void startup();
    // After the preferences dialog: the same, plus a new device scan when scanning is automatic.
    void update();
    void process();
    void updateProgramListSize();
};
} // namespace x38200_preferences

namespace application
{
class PreferencesDataChangeBroadcasterObserver
{
public:
    virtual void preferencesDataChanged() = 0;
    virtual ~PreferencesDataChangeBroadcasterObserver() = default;
};

// Tells the lists, asynchronously, that the preferences were applied.
class PreferencesDataChangeBroadcaster : public Singleton<PreferencesDataChangeBroadcaster>,
                                         public ListenerHolder<PreferencesDataChangeBroadcasterObserver>,
                                         public juce::AsyncUpdater,
                                         public juce::DeletedAtShutdown,
                                         public juce::ChangeListener
{
public:
    PreferencesDataChangeBroadcaster() = default;
    ~PreferencesDataChangeBroadcaster() override { cancelPendingUpdate(); }

    void update() { triggerAsyncUpdate(); }
    void changeListenerCallback (juce::ChangeBroadcaster*) override { update(); }
    void handleAsyncUpdate() override;
};
} // namespace application
