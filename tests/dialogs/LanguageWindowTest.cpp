#include "DialogTestSupport.h"

#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "application/LanguageAndFontSetup.h"
#include "application/LaunchSequence.h"
#include "support/TestSupport.h"
#include "ui/AlertDialog.h"
#include "ui/FontLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tarnombi::test;
using x38200_application::CurrentLanguageModel;

namespace
{
// Starts the interface as the launch does, with only LANG set.
void startInterface (const char* lang)
{
    for (const auto* name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES" })
        ::unsetenv (name);
    ::setenv ("LANG", lang, 1);

    if (ui::FontLibrary::exists())
        delete &ui::FontLibrary::instance();
    x38200_application::initializePlatformSpecifics();
    CPXRResource::instance().reload();
    x38200_application::initializeFontLibrary();
    x38200_application::initializeJuceLocalizableStrings();
}

struct ShownBox
{
    juce::String title, message, yes, no, cancel, fontFamily;
    juce::File screenshot;
};

ShownBox showDiscardQuestion (const juce::String& screenshotName)
{
    ShownBox shown;
    ModalDialogDriver driver ([&] (juce::DialogWindow& window) {
        auto* alert = dynamic_cast<AlertDialogComponent*> (window.getContentComponent());
        ASSERT_NE (alert, nullptr);
        shown.title = window.getName();
        shown.message = alert->getMessageEditor().getText();
        shown.yes = alert->getButton (0).getButtonText();
        shown.no = alert->getButton (1).getButtonText();
        shown.cancel = alert->getButton (2).getButtonText();
        shown.fontFamily = alert->getMessageEditor().getFont().getTypefacePtr()->getName();
        shown.screenshot = saveScreenshot (window, screenshotName);
        pressEscape (window);
    });
    EXPECT_EQ (AlertDialog::showYesNoCancelDialog (getLocalizedString ("FileDiscardCheckTitle"), getLocalizedString ("FileDiscardCheckMessage")), 0);
    EXPECT_TRUE (driver.ran());
    return shown;
}
} // namespace

TEST (LanguageWindows, AlertBoxInJapaneseAndInGermanEnvironment)
{
    if (! hasDisplay())
        GTEST_SKIP() << "window tests need an X display (DISPLAY is not set)";

    const auto* savedLang = std::getenv ("LANG");
    const std::string restoreLang = savedLang != nullptr ? savedLang : "";

    startInterface ("ja_JP.UTF-8");
    ASSERT_TRUE (CurrentLanguageModel::instance().isJapanese());
    const auto japanese = showDiscardQuestion ("alert-ja_JP");
    EXPECT_EQ (japanese.title, juce::String::fromUTF8 ("確認"));
    EXPECT_EQ (japanese.message, juce::String::fromUTF8 ("変更内容を保存しますか？"));
    EXPECT_EQ (japanese.yes, juce::String::fromUTF8 ("はい"));
    EXPECT_EQ (japanese.no, juce::String::fromUTF8 ("いいえ"));
    EXPECT_EQ (japanese.cancel, juce::String::fromUTF8 ("キャンセル"));
    // Drawn with the Japanese family chosen at start-up, not a Latin-only one.
    EXPECT_EQ (japanese.fontFamily, CurrentLanguageModel::instance().getDefaultFontName());
    EXPECT_TRUE (x38200_application::getJapaneseFontFamilies().contains (japanese.fontFamily, true)) << japanese.fontFamily;
    EXPECT_TRUE (japanese.screenshot.existsAsFile());

    startInterface ("de_DE.UTF-8");
    ASSERT_FALSE (CurrentLanguageModel::instance().isJapanese());
    const auto german = showDiscardQuestion ("alert-de_DE");
    EXPECT_EQ (german.title, "Confirm");
    EXPECT_EQ (german.message, "Do you want to save the changes?");
    EXPECT_EQ (german.yes, "Yes");
    EXPECT_EQ (german.no, "No");
    EXPECT_EQ (german.cancel, "Cancel");
    EXPECT_EQ (german.fontFamily, x38200_application::getSystemFontFamily());
    EXPECT_TRUE (german.screenshot.existsAsFile());

    if (restoreLang.empty())
        ::unsetenv ("LANG");
    else
        ::setenv ("LANG", restoreLang.c_str(), 1);
}
