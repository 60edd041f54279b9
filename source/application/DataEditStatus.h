#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

namespace application
{
class DataEditStatusListener
{
public:
    virtual ~DataEditStatusListener() = default;
    virtual void dataEditStatusChanged (const bool& edited) = 0;
};

// Whether the library was edited since it was opened, imported, saved or made new.
// Changes reach the listeners on a later turn of the message loop, with the value
// current at delivery.
class DataEditStatus : public Singleton<DataEditStatus>,
                       public ListenerHolder<DataEditStatusListener>,
                       public juce::AsyncUpdater,
                       public juce::DeletedAtShutdown
{
public:
    DataEditStatus() = default;
    ~DataEditStatus() override { cancelPendingUpdate(); }

    bool isEdited() const noexcept { return editedFlag; }
    void edited();
    void clearEdited();

    void handleAsyncUpdate() override;

private:
    bool editedFlag = false;
};

class LastSavedFileStatusListener
{
public:
    virtual ~LastSavedFileStatusListener() = default;
    virtual void lastSavedFileChanged (const juce::File& file) = 0;
};

// The file the library was last opened from or saved to; the non-existent file when
// there is none (at start, after New and after importing an older editor's file).
class LastSavedFileStatus : public Singleton<LastSavedFileStatus>,
                            public ListenerHolder<LastSavedFileStatusListener>,
                            public juce::AsyncUpdater,
                            public juce::DeletedAtShutdown
{
public:
    LastSavedFileStatus() = default;
    ~LastSavedFileStatus() override { cancelPendingUpdate(); }

    void setSavedFile (const juce::File& file);
    const juce::File& getSavedFile() const noexcept { return savedFile; }
    bool hasSavedFile() const { return savedFile != juce::File(); }

    void handleAsyncUpdate() override;

private:
    juce::File savedFile;
};
} // namespace application
