#pragma once

#include <juce_core/juce_core.h>

namespace x38200_application
{
// Start-up step: hands the Twitter client the preferences folder (where it keeps the access
// token files) and the application's consumer pair, and loads a stored access token.
void initializeTwitter();

// The same with a given folder.
void initializeTwitter (const juce::File& preferencesFolder);
} // namespace x38200_application
