#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "application/LanguageAndFontSetup.h"
#include "support/TestSupport.h"
#include "ui/FontLibrary.h"

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <map>

using x38200_application::CurrentLanguageModel;

namespace
{
constexpr int en = CurrentLanguageModel::English;
constexpr int ja = CurrentLanguageModel::Japanese;

template <class T>
void deleteSingleton()
{
    if (T::exists())
        delete &T::instance();
}

// Sets the locale variables for one test and puts the old values back afterwards.
class ScopedLocaleEnvironment
{
public:
    explicit ScopedLocaleEnvironment (const std::map<std::string, std::string>& values)
    {
        for (const auto* name : names)
        {
            if (const auto* old = std::getenv (name))
                saved[name] = old;
            const auto found = values.find (name);
            if (found != values.end())
                ::setenv (name, found->second.c_str(), 1);
            else
                ::unsetenv (name);
        }
    }

    ~ScopedLocaleEnvironment()
    {
        for (const auto* name : names)
        {
            const auto found = saved.find (name);
            if (found != saved.end())
                ::setenv (name, found->second.c_str(), 1);
            else
                ::unsetenv (name);
        }
    }

private:
    static constexpr const char* names[] { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" };
    std::map<std::string, std::string> saved;
};

juce::String glyphOutline (const juce::Font& font, const juce::String& text)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font, text, 0.0f, 0.0f);
    juce::Path path;
    glyphs.createPath (path);
    return path.toString();
}
} // namespace

TEST (Language, ChoiceFollowsTheFirstEnglishOrJapaneseEntry)
{
    struct Case
    {
        const char* what;
        std::map<std::string, std::string> environment;
        int expected;
    };
    const Case cases[] {
        { "German, Japanese, English: German is skipped", { { "LANGUAGE", "de:ja:en" } }, ja },
        { "German only", { { "LANGUAGE", "de" }, { "LANG", "de_DE.UTF-8" } }, en },
        { "nothing set", {}, en },
        { "Japanese locale", { { "LANG", "ja_JP.UTF-8" } }, ja },
        { "German locale", { { "LANG", "de_DE.UTF-8" } }, en },
        { "English before Japanese", { { "LANGUAGE", "en_GB:ja" }, { "LANG", "ja_JP.UTF-8" } }, en },
        { "LANGUAGE comes before the locale", { { "LANGUAGE", "ja" }, { "LANG", "en_US.UTF-8" } }, ja },
        { "LC_ALL before LANG", { { "LC_ALL", "en_US.UTF-8" }, { "LANG", "ja_JP.UTF-8" } }, en },
        { "an unsupported LC_ALL is skipped", { { "LC_ALL", "fr_FR.UTF-8" }, { "LANG", "ja_JP.UTF-8" } }, ja },
        { "LC_MESSAGES", { { "LC_MESSAGES", "ja_JP.eucJP" }, { "LANG", "C" } }, ja },
        { "empty LANGUAGE entries", { { "LANGUAGE", "::ja:" } }, ja },
        { "C and POSIX locales", { { "LC_ALL", "C" }, { "LANG", "POSIX" } }, en },
        { "modifier after the code", { { "LANG", "ja@euro" } }, ja },
        { "a code that only begins like Japanese", { { "LANG", "jam_JM.UTF-8" } }, en },
        { "the comparison is exact", { { "LANGUAGE", "JA:EN" } }, en },
    };

    for (const auto& c : cases)
    {
        const auto preferred = x38200_application::getPreferredLanguages ([&c] (const char* name) {
            const auto found = c.environment.find (name);
            return found != c.environment.end() ? juce::String (found->second) : juce::String();
        });
        EXPECT_EQ (x38200_application::chooseLanguage (preferred), c.expected) << c.what << " -> " << preferred.joinIntoString (",");
    }

    EXPECT_EQ (x38200_application::reduceToLanguageCode ("ja_JP.UTF-8"), "ja");
    EXPECT_EQ (x38200_application::reduceToLanguageCode ("en-US"), "en");
}

TEST (Language, SetLanguageReadsTheEnvironment)
{
    {
        ScopedLocaleEnvironment environment (std::map<std::string, std::string> { { "LANG", "ja_JP.UTF-8" } });
        x38200_application::setLanguage();
        EXPECT_TRUE (CurrentLanguageModel::instance().isJapanese());
        EXPECT_EQ (CurrentLanguageModel::instance().getLanguageCode(), "ja");
    }
    {
        ScopedLocaleEnvironment environment (std::map<std::string, std::string> { { "LANG", "de_DE.UTF-8" } });
        x38200_application::setLanguage();
        EXPECT_EQ (CurrentLanguageModel::instance().getLanguage(), en);
    }
}

TEST (Fonts, DefaultFamilyForTheLanguage)
{
    struct Case
    {
        const char* what;
        int language;
        juce::StringArray installed;
        juce::String expected;
    };
    const juce::String system ("Liberation Sans");
    const Case cases[] {
        { "English keeps the system family", en, { "Hiragino Maru Gothic ProN", "Liberation Sans" }, system },
        { "Japanese without Japanese fonts", ja, { "DejaVu Sans", "Liberation Sans" }, system },
        { "the first of the listed families wins", ja, { "Hiragino Kaku Gothic ProN", "Osaka", "Noto Sans CJK JP" }, "Osaka" },
        { "names compare ignoring case", ja, { "hiragino maru gothic pro" }, "hiragino maru gothic pro" },
        { "Noto before IPAex", ja, { "IPAexGothic", "Noto Sans CJK JP" }, "Noto Sans CJK JP" },
        { "IPAex as the last choice", ja, { "IPAexGothic" }, "IPAexGothic" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (x38200_application::chooseDefaultFontFamily (c.language, c.installed, system), c.expected) << c.what;
}

TEST (Fonts, FamilyNamesResolveToInstalledFamilies)
{
    const juce::StringArray installed { "DejaVu Sans", "Liberation Sans", "Liberation Mono", "Noto Sans CJK JP" };
    EXPECT_EQ (x38200_application::resolveFontFamily ("Arial", installed), "Liberation Sans");
    EXPECT_EQ (x38200_application::resolveFontFamily ("Courier New", installed), "Liberation Mono");
    EXPECT_EQ (x38200_application::resolveFontFamily ("noto sans cjk jp", installed), "Noto Sans CJK JP");
    EXPECT_EQ (x38200_application::resolveFontFamily ("Arial", { "Arial", "Liberation Sans" }), "Arial");
    EXPECT_EQ (x38200_application::resolveFontFamily ("No Such Family", installed), juce::Font::getDefaultSansSerifFontName());

    // On this system "Arial" is drawn by an installed family.
    const auto arial = x38200_application::resolveFontFamily ("Arial", juce::Font::findAllTypefaceNames());
    EXPECT_NE (arial, juce::Font::getDefaultSansSerifFontName());
}

TEST (Fonts, JapaneseGetsAnInstalledJapaneseFamilyThatDrawsKanji)
{
    deleteSingleton<ui::FontLibrary>();
    CurrentLanguageModel::instance().setLanguage (ja);
    x38200_application::searchDefaultFont();

    const auto family = CurrentLanguageModel::instance().getDefaultFontName();
    EXPECT_TRUE (x38200_application::getJapaneseFontFamilies().contains (family, true)) << family;

    const auto font = ui::FontLibrary::instance().getFont ("DefaultFont");
    EXPECT_EQ (font.getTypefaceName(), family);
    EXPECT_EQ (font.getHeight(), 13.0f);
    EXPECT_FALSE (font.isBold());
    EXPECT_TRUE (ui::FontLibrary::instance().getFont ("DefaultBoldFont").isBold());
    EXPECT_EQ (font.getTypefacePtr()->getName(), family);

    // Real glyphs: two different kanji give two different outlines (missing glyphs would all be
    // the same empty box).
    const auto sun = glyphOutline (font, juce::String::fromUTF8 ("日"));
    const auto book = glyphOutline (font, juce::String::fromUTF8 ("本"));
    EXPECT_FALSE (sun.isEmpty());
    EXPECT_NE (sun, book);

    deleteSingleton<ui::FontLibrary>();
    CurrentLanguageModel::instance().setLanguage (en);
}

TEST (Fonts, EnglishUsesTheSystemFamily)
{
    deleteSingleton<ui::FontLibrary>();
    CurrentLanguageModel::instance().setLanguage (en);
    x38200_application::searchDefaultFont();
    EXPECT_EQ (CurrentLanguageModel::instance().getDefaultFontName(), x38200_application::getSystemFontFamily());
    EXPECT_TRUE (juce::Font::findAllTypefaceNames().contains (CurrentLanguageModel::instance().getDefaultFontName()));
    deleteSingleton<ui::FontLibrary>();
}

TEST (FontLibrary, UnknownNamesDuplicatesAndSizes)
{
    ui::FontLibrary library;
    const juce::Font first ("Liberation Sans", 13.0f, juce::Font::plain);
    const juce::Font second ("DejaVu Sans", 20.0f, juce::Font::bold);

    testing::internal::CaptureStdout();
    const auto unknown = library.getFont ("NoSuchFont");
    EXPECT_EQ (testing::internal::GetCapturedStdout(), "not found font...\n");
    EXPECT_EQ (unknown.getHeight(), 12.0f);
    EXPECT_EQ (unknown.getStyleFlags(), juce::Font::plain);
    EXPECT_EQ (unknown.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());

    library.addFont ("List", first);
    library.addFont ("List", second);
    EXPECT_EQ (library.getFont ("List").getTypefaceName(), "Liberation Sans");
    EXPECT_EQ (library.getFont ("List").getHeight(), 13.0f);

    library.changeFontSize ("List", 17);
    EXPECT_EQ (library.getFont ("List").getHeight(), 17.0f);
    EXPECT_EQ (library.getFont ("List").getTypefaceName(), "Liberation Sans");

    library.replaceFont ("List", second);
    EXPECT_EQ (library.getFont ("List").getTypefaceName(), "DejaVu Sans");

    // Unknown names are reported and change nothing.
    testing::internal::CaptureStdout();
    library.changeFontSize ("Other", 30);
    library.replaceFont ("Other", first);
    EXPECT_EQ (testing::internal::GetCapturedStdout(), "not found font...\nnot found font...\n");
    EXPECT_FALSE (library.contains ("Other"));
    EXPECT_EQ (library.size(), 1);

    library.removeFont ("List");
    EXPECT_FALSE (library.contains ("List"));
}

TEST (FontLibrary, NamedFontsOfTheInterface)
{
    struct Expected
    {
        const char* name;
        bool arial;
        float height;
        bool bold;
    };
    const Expected table[] {
        { "ProgramListNumber", true, 13.0f, false },
        { "ProgramListName", true, 13.0f, false },
        { "ProgramListCategory", true, 13.0f, false },
        { "FavoriteDisplayNumber", true, 14.0f, false },
        { "FavoriteDisplayName", true, 14.0f, false },
        { "PresetListItemPresetData", true, 13.0f, false },
        { "PresetListItemProgram", true, 13.0f, false },
        { "MidiCommunicationDialogStatus", false, 14.0f, false },
        { "MidiCommunicationDialogDetail", false, 12.5f, false },
        { "HeaderModeButton", true, 13.0f, false },
        { "TweetUserName", false, 13.0f, false },
        { "TweetScreenName", false, 10.5f, false },
        { "TweetDateLabel", false, 10.5f, false },
        { "TweetText", false, 11.5f, false },
        { "TweetPrefixSuffix", false, 11.0f, false },
        { "TwitterWebBrowserUrlDisplay", true, 12.0f, false },
        { "TwitterErrorTitle", false, 15.0f, true },
        { "TwitterBeforeAuthorizeButton", false, 13.0f, false },
    };

    for (const auto language : { en, ja })
    {
        SCOPED_TRACE (language == ja ? "Japanese" : "English");
        deleteSingleton<ui::FontLibrary>();
        CurrentLanguageModel::instance().setLanguage (language);
        x38200_application::searchDefaultFont();
        x38200_application::initializeFontLibrary();

        const auto family = CurrentLanguageModel::instance().getDefaultFontName();
        const auto arial = x38200_application::resolveFontFamily ("Arial", juce::Font::findAllTypefaceNames());
        auto& fonts = ui::FontLibrary::instance();
        testing::internal::CaptureStdout();
        for (const auto& expected : table)
        {
            const auto font = fonts.getFont (expected.name);
            EXPECT_EQ (font.getTypefaceName(), expected.arial ? arial : family) << expected.name;
            EXPECT_EQ (font.getHeight(), expected.height) << expected.name;
            EXPECT_EQ (font.isBold(), expected.bold) << expected.name;
        }

        const auto message = fonts.getFont ("TwitterBeforeAuthorizeMessage");
        EXPECT_EQ (message.getTypefaceName(), family);
        EXPECT_EQ (message.getHeight(), language == ja ? 14.5f : 17.5f);
        EXPECT_TRUE (message.isBold());
        const auto notice = fonts.getFont ("TwitterBeforeAuthorizeNotice");
        EXPECT_EQ (notice.getHeight(), language == ja ? 11.0f : 13.0f);
        EXPECT_FALSE (notice.isBold());
        EXPECT_EQ (testing::internal::GetCapturedStdout(), "") << "every name is registered";
        EXPECT_EQ (fonts.size(), 22);
    }
    deleteSingleton<ui::FontLibrary>();
    CurrentLanguageModel::instance().setLanguage (en);
}

TEST (FrameworkTexts, JapaneseTranslationOnlyForJapanese)
{
    CurrentLanguageModel::instance().setLanguage (ja);
    x38200_application::initializeJuceLocalizableStrings();
    ASSERT_NE (juce::LocalisedStrings::getCurrentMappings(), nullptr);
    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings()->getLanguageName(), "Japanese");
    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings()->getCountryCodes(), juce::StringArray ("ja"));

    CPXRResource::instance().reload();
    // The editing menu speaks like the Edit menu: "Delete" is the Clear command.
    EXPECT_EQ (TRANS ("Delete"), getLocalizedString ("MenuEditClear"));
    for (const auto& [source, key] : std::map<juce::String, juce::String> {
             { "Cut", "MenuEditCut" }, { "Copy", "MenuEditCopy" }, { "Paste", "MenuEditPaste" }, { "Undo", "MenuEditUndo" },
             { "Redo", "MenuEditRedo" }, { "OK", "CommonOK" }, { "Cancel", "CommonCancel" }, { "Yes", "CommonYes" }, { "No", "CommonNo" } })
        EXPECT_EQ (TRANS (source), getLocalizedString (key)) << source;
    EXPECT_NE (TRANS ("Select All"), "Select All");

    CurrentLanguageModel::instance().setLanguage (en);
    CPXRResource::instance().reload();
    x38200_application::initializeJuceLocalizableStrings();
    EXPECT_EQ (juce::LocalisedStrings::getCurrentMappings(), nullptr);
    EXPECT_EQ (TRANS ("Cancel"), "Cancel");
}
