#pragma once

#include "application/Singleton.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

// The resource store: the localized string table of the chosen language.
class CPXRResource : public Singleton<CPXRResource>, public juce::DeletedAtShutdown
{
public:
    CPXRResource() = default;
    ~CPXRResource() override = default;

    juce::String GetLocalizedString (const juce::String& key) const;
};

// The text shown for a key in the chosen language.
juce::String getLocalizedString (const juce::String& key);
