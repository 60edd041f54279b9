#pragma once

#include "application/Singleton.h"
#include "data/ProgramData.h"

#include <juce_events/juce_events.h>

#include <functional>

namespace data
{
class DataChangeObserver
{
public:
    virtual void dataChanged() = 0;
    virtual ~DataChangeObserver() = default;
};

class PresetDataChangeBroadcasterObserver
{
public:
    virtual void presetDataChanged() = 0;
    virtual ~PresetDataChangeBroadcasterObserver() = default;
};

// Tells the views that library data changed. Every change of the undo manager (perform,
// undo, redo, clear) and every update() before the loop runs again reach each observer once.
class DataChangeBroadcaster : public Singleton<DataChangeBroadcaster>,
                              public ListenerHolder<DataChangeObserver>,
                              public juce::AsyncUpdater,
                              public juce::DeletedAtShutdown,
                              public juce::ChangeListener
{
public:
    DataChangeBroadcaster();
    ~DataChangeBroadcaster() override;

    void update() { triggerAsyncUpdate(); }
    void changeListenerCallback (juce::ChangeBroadcaster*) override { update(); }
    void handleAsyncUpdate() override;
};

// Tells the views that the preset files were (re)loaded.
class PresetDataChangeBroadcaster : public Singleton<PresetDataChangeBroadcaster>,
                                    public ListenerHolder<PresetDataChangeBroadcasterObserver>,
                                    public juce::AsyncUpdater,
                                    public juce::DeletedAtShutdown
{
public:
    PresetDataChangeBroadcaster() = default;
    ~PresetDataChangeBroadcaster() override { cancelPendingUpdate(); }

    void update() { triggerAsyncUpdate(); }
    void handleAsyncUpdate() override;
};
} // namespace data

namespace x38200_data
{
// Owns the live library and the loaded presets.
class DataCenter : public Singleton<DataCenter>, public juce::DeletedAtShutdown
{
public:
    DataCenter() = default;
    ~DataCenter() override = default;

    LibraryData libraryData;
    PresetLibrary presetLibrary;
};

class CurrentProgramDataObserver
{
public:
    virtual void currentProgramDataChanged() = 0;
    virtual ~CurrentProgramDataObserver() = default;
};

// The program that the right-hand pages show and that is sent to the instrument's edit
// buffer: a program of the library, a program of a preset, or none.
class CurrentProgramData : public Singleton<CurrentProgramData>,
                           public ListenerHolder<CurrentProgramDataObserver>,
                           public juce::AsyncUpdater,
                           public juce::DeletedAtShutdown,
                           public juce::ChangeListener
{
public:
    enum Source
    {
        None = 0,
        ProgramList = 1,
        PresetData = 2
    };

    // Sends a copy of the current program to the instrument; installed by the MIDI side.
    using Transmitter = std::function<void (const ProgramData&)>;

    static const ProgramData InvalidProgramData;

    CurrentProgramData();
    ~CurrentProgramData() override;

    bool isValid() const { return source != None; }
    Source getSource() const { return source; }
    int getPresetIndex() const { return presetIndex; }
    int getProgramNumber() const { return programNumber; }

    // A reference into the live data; never keep it across events.
    const ProgramData& getProgramData() const;

    void setProgramFromProgramList (int number);
    void setProgramFromPresetData (int index, int number);
    void deleteProgramData();
    void update();
    void changedLibraryData();

    void changeListenerCallback (juce::ChangeBroadcaster*) override { changedLibraryData(); }
    void handleAsyncUpdate() override;

    static void setTransmitter (Transmitter newTransmitter);

private:
    Source source = None;
    int presetIndex = -1;
    int programNumber = -1;

    static Transmitter& transmitter();
};

// Finds which loaded preset a library program came from, by its digest. An untouched
// init program (named or blank) never belongs to a preset. The lowest preset index
// wins, then the lowest program number.
class ProgramPresetConnector
{
public:
    explicit ProgramPresetConnector (const ProgramData& programToExamine);
    virtual ~ProgramPresetConnector() = default;

    bool found = false;
    int presetIndex = -1;
    int programNumber = -1;

private:
    void scan();

    const ProgramData& program;
    juce::String initDigest;
    juce::String initWithoutNameDigest;
};
} // namespace x38200_data
