#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace x38200_application
{
// Start-up steps that choose the interface language and the fonts. The launch sequence
// runs setLanguage() and searchDefaultFont() first and makes the chosen family the
// framework's default sans-serif typeface (applyDefaultFontFamily()); after the shared
// objects exist it runs initializeFontLibrary() and initializeJuceLocalizableStrings().

// Chooses English or Japanese from the user's preferred languages (CurrentLanguageModel).
void setLanguage();
// Chooses the default font family for the language, stores it in CurrentLanguageModel and
// registers "DefaultFont" and "DefaultBoldFont" (13 high) in the font library.
void searchDefaultFont();
// Makes the family of CurrentLanguageModel the default sans-serif typeface of the
// framework's default look-and-feel. A look-and-feel installed later as the default must
// be given the same family (setDefaultSansSerifTypefaceName), or Japanese texts lose
// their glyphs.
void applyDefaultFontFamily();
// Registers the named fonts of the interface.
void initializeFontLibrary();
// For Japanese, installs the translation of the framework's own texts (editing menu,
// standard buttons); for English, none.
void initializeJuceLocalizableStrings();

// How the user's preferred languages are found on Linux: the colon-separated LANGUAGE,
// then LC_ALL, LC_MESSAGES and LANG, each entry reduced to its language code
// ("ja_JP.UTF-8" gives "ja"); empty entries are left out. getVariable returns the
// value of an environment variable, empty when unset.
juce::StringArray getPreferredLanguages (const std::function<juce::String (const char*)>& getVariable);
juce::StringArray getPreferredLanguages();

// "ja_JP.UTF-8" -> "ja", "en@quot" -> "en", "C" -> "C".
juce::String reduceToLanguageCode (const juce::String& localeName);

// The first entry that is exactly "ja" (Japanese) or "en" (English) decides; others are
// skipped; English when none matches. Returns a CurrentLanguageModel::Language.
int chooseLanguage (const juce::StringArray& preferredLanguages);

// The families tried for Japanese, in order.
const juce::StringArray& getJapaneseFontFamilies();

// The default font family: for Japanese the first installed family of
// getJapaneseFontFamilies() (compared ignoring case, returned as installed), otherwise
// the system family.
juce::String chooseDefaultFontFamily (int language, const juce::StringArray& installedFamilies, const juce::String& systemFamily);

// The family of the framework's default sans-serif typeface ("Liberation Sans" here).
juce::String getSystemFontFamily();

// The installed family that stands in for a family name: the name itself when installed,
// otherwise its usual metric-compatible replacement ("Arial" -> "Liberation Sans"), and
// the framework's default sans-serif name when none of those is installed either.
juce::String resolveFontFamily (const juce::String& family, const juce::StringArray& installedFamilies);

// Makes the faces inside font collection files (.ttc, .otc: the CJK fonts) known to the
// framework, which by itself only reads single-face files. Runs once; later calls do
// nothing.
void registerFontCollections();
} // namespace x38200_application
