#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

namespace x38200_application
{
// The interface language chosen at start-up and the font family that goes with it.
class CurrentLanguageModel : public Singleton<CurrentLanguageModel>, public juce::DeletedAtShutdown
{
public:
    enum Language
    {
        English = 0,
        Japanese = 1
    };

    CurrentLanguageModel() = default;
    ~CurrentLanguageModel() override = default;

    int getLanguage() const noexcept { return language; }
    void setLanguage (int newLanguage) noexcept { language = newLanguage == Japanese ? Japanese : English; }
    bool isJapanese() const noexcept { return language == Japanese; }

    // "en" or "ja": the suffix of the string table and framework translation of the language.
    juce::String getLanguageCode() const { return isJapanese() ? "ja" : "en"; }

    const juce::String& getDefaultFontName() const noexcept { return defaultFontName; }
    void setDefaultFontName (const juce::String& name) { defaultFontName = name; }

private:
    int language = English;
    juce::String defaultFontName;

    JUCE_DECLARE_NON_COPYABLE (CurrentLanguageModel)
};
} // namespace x38200_application
