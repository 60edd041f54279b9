#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

namespace x38200_application
{
// Developer and debug switches, turned on by marker files in the preferences folder.
class DebugModeModel : public Singleton<DebugModeModel>, public juce::DeletedAtShutdown
{
public:
    static const juce::String DeveloperModeFileName;
    static const juce::String DebugModeFileName;

    DebugModeModel() = default;
    ~DebugModeModel() override = default;

    void setDeveloperMode (bool on) { developerMode = on; }
    void setDebugMode (bool on) { debugWindow = debugDisplay = on; }

    bool isDeveloperMode() const noexcept { return developerMode; }
    bool isDebugWindowEnabled() const noexcept { return debugWindow; }
    bool isDebugDisplayEnabled() const noexcept { return debugDisplay; }

private:
    bool developerMode = false;
    bool debugWindow = false;
    bool debugDisplay = false;
};

// Reads the marker files of the folder: only their existence as files matters.
void initializeDebugMode (const juce::File& preferencesFolder);
} // namespace x38200_application
