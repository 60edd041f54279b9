#include "application/CPXRResource.h"

// Until the string tables are embedded, a key stands for itself.
juce::String CPXRResource::GetLocalizedString (const juce::String& key) const
{
    return key;
}

juce::String getLocalizedString (const juce::String& key)
{
    return CPXRResource::instance().GetLocalizedString (key);
}
