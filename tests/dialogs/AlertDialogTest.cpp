#include "DialogTestSupport.h"

#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "support/TestSupport.h"
#include "ui/AboutComponent.h"
#include "ui/AlertDialog.h"
#include "ui/ModalDialogState.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

namespace
{
AlertDialogComponent* findAlertComponent (juce::DialogWindow& window)
{
    return dynamic_cast<AlertDialogComponent*> (window.getContentComponent());
}

juce::String manyLines (int count)
{
    juce::StringArray lines;
    for (int i = 1; i <= count; ++i)
        lines.add ("Line " + juce::String (i) + " of a long message.");
    return lines.joinIntoString ("\n");
}

class AlertDialogWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (! hasDisplay())
            GTEST_SKIP() << "window tests need an X display (DISPLAY is not set)";
        x38200_application::CurrentLanguageModel::instance().setLanguage (x38200_application::CurrentLanguageModel::English);
        CPXRResource::instance().reload();
    }

    void TearDown() override
    {
        // Whatever happened, no dialog may keep the flag.
        runMessageLoopFor (20);
        EXPECT_FALSE (ui::ModalDialogState::instance().isShowing());
    }
};
} // namespace

TEST (AlertLayout, OneLineAndManyLineMessages)
{
    x38200_application::CurrentLanguageModel::instance().setLanguage (x38200_application::CurrentLanguageModel::English);
    CPXRResource::instance().reload();

    AlertDialogComponent oneLine (AlertDialogComponent::messageBox, "Failed to open the file.");
    auto& editor = oneLine.getMessageEditor();
    const auto lineHeight = editor.getTextHeight();
    EXPECT_EQ (oneLine.getWidth(), 420);
    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (16, 16, 384, 56));
    EXPECT_EQ (oneLine.getButton (0).getBounds(), juce::Rectangle<int> (312, 16 + lineHeight + 25, 88, 24));
    EXPECT_EQ (oneLine.getHeight(), 24 + 16 + lineHeight + 41);
    EXPECT_EQ (oneLine.getButton (0).getBottom() + 16, oneLine.getHeight());
    // The buttons lie over the empty lower part of the transparent editor.
    EXPECT_LT (oneLine.getButton (0).getY(), editor.getBottom());
    EXPECT_TRUE (oneLine.getButton (0).isVisible());
    EXPECT_FALSE (oneLine.getButton (1).isVisible());
    EXPECT_FALSE (oneLine.getButton (2).isVisible());
    EXPECT_EQ (oneLine.getButton (0).getButtonText(), "OK");

    AlertDialogComponent tall (AlertDialogComponent::messageBox, manyLines (12));
    auto& tallEditor = tall.getMessageEditor();
    const auto textHeight = tallEditor.getTextHeight();
    EXPECT_GT (textHeight, 6 * lineHeight);
    EXPECT_EQ (tall.getButton (0).getY(), 16 + textHeight + 25);
    EXPECT_EQ (tall.getHeight(), 24 + 16 + textHeight + 41);
    // The editor grows with the text: every line is inside it, above the buttons.
    EXPECT_GE (tallEditor.getHeight() - 2, textHeight);
    EXPECT_LE (tallEditor.getBottom(), tall.getButton (0).getY());
    saveScreenshot (tall, "alert-many-lines");

    // A long line wraps instead of running out of the box.
    AlertDialogComponent wrapped (AlertDialogComponent::messageBox, juce::String::repeatedString ("wrap me ", 40));
    EXPECT_GT (wrapped.getMessageEditor().getTextHeight(), 2 * lineHeight);
    EXPECT_EQ (wrapped.getWidth(), 420);
}

TEST (AlertLayout, ButtonsOfTheThreeKinds)
{
    x38200_application::CurrentLanguageModel::instance().setLanguage (x38200_application::CurrentLanguageModel::English);
    CPXRResource::instance().reload();

    AlertDialogComponent okCancel (AlertDialogComponent::okCancel, "Disconnect from Twitter. Are you sure?");
    const auto y = 16 + okCancel.getMessageEditor().getTextHeight() + 25;
    EXPECT_EQ (okCancel.getButton (0).getBounds(), juce::Rectangle<int> (312, y, 88, 24));
    EXPECT_EQ (okCancel.getButton (2).getBounds(), juce::Rectangle<int> (208, y, 88, 24));
    EXPECT_FALSE (okCancel.getButton (1).isVisible());
    EXPECT_EQ (okCancel.getButton (0).getButtonText(), "OK");
    EXPECT_EQ (okCancel.getButton (2).getButtonText(), "Cancel");

    AlertDialogComponent yesNo (AlertDialogComponent::yesNoCancel, "Do you want to save the changes?");
    EXPECT_EQ (yesNo.getButton (0).getBounds(), juce::Rectangle<int> (16, y, 88, 24));
    EXPECT_EQ (yesNo.getButton (1).getBounds(), juce::Rectangle<int> (120, y, 88, 24));
    EXPECT_EQ (yesNo.getButton (2).getBounds(), juce::Rectangle<int> (312, y, 88, 24));
    EXPECT_EQ (yesNo.getButton (0).getButtonText(), "Yes");
    EXPECT_EQ (yesNo.getButton (1).getButtonText(), "No");
    EXPECT_EQ (yesNo.getButton (2).getButtonText(), "Cancel");

    yesNo.setCustomButtonTexts ("Save", {}, "Back");
    EXPECT_EQ (yesNo.getButton (0).getButtonText(), "Save");
    EXPECT_EQ (yesNo.getButton (1).getButtonText(), "No");
    EXPECT_EQ (yesNo.getButton (2).getButtonText(), "Back");

    const auto& editor = yesNo.getMessageEditor();
    EXPECT_TRUE (editor.isReadOnly());
    EXPECT_FALSE (editor.isCaretVisible());
    EXPECT_FALSE (editor.isPopupMenuEnabled());
    EXPECT_EQ (editor.getName(), "new text editor");
}

TEST_F (AlertDialogWindowTest, ButtonsEscapeAndCloseButtonGiveTheirResults)
{
    enum class Action { first, second, third, escape, closeButton };
    struct Case
    {
        int type;
        Action action;
        int expected;
    };
    const Case cases[] {
        { AlertDialogComponent::okCancel, Action::first, 1 },
        { AlertDialogComponent::okCancel, Action::third, 0 },
        { AlertDialogComponent::okCancel, Action::escape, 0 },
        { AlertDialogComponent::okCancel, Action::closeButton, 0 },
        { AlertDialogComponent::yesNoCancel, Action::first, 1 },
        { AlertDialogComponent::yesNoCancel, Action::second, 2 },
        { AlertDialogComponent::yesNoCancel, Action::third, 0 },
        { AlertDialogComponent::yesNoCancel, Action::escape, 0 },
        { AlertDialogComponent::yesNoCancel, Action::closeButton, 0 },
        { AlertDialogComponent::messageBox, Action::first, 1 },
        { AlertDialogComponent::messageBox, Action::escape, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("type " + std::to_string (c.type) + ", action " + std::to_string ((int) c.action));
        bool showingWhileOpen = false;
        juce::String title;
        ModalDialogDriver driver ([&] (juce::DialogWindow& window) {
            showingWhileOpen = ui::ModalDialogState::instance().isShowing();
            title = window.getName();
            auto* alert = findAlertComponent (window);
            ASSERT_NE (alert, nullptr);
            switch (c.action)
            {
                case Action::first: alert->getButton (0).triggerClick(); break;
                case Action::second: alert->getButton (1).triggerClick(); break;
                case Action::third: alert->getButton (2).triggerClick(); break;
                case Action::escape: pressEscape (window); break;
                case Action::closeButton: window.getCloseButton()->triggerClick(); break;
            }
        });

        int result = -1;
        if (c.type == AlertDialogComponent::okCancel)
            result = AlertDialog::showOkCancelDialog ("Confirm", "Are you sure?") ? 1 : 0;
        else if (c.type == AlertDialogComponent::yesNoCancel)
            result = AlertDialog::showYesNoCancelDialog ("Confirm", "Do you want to save the changes?");
        else
        {
            AlertDialog::showMessageBox ("Error", "Failed to open the file.");
            result = c.expected; // a message box has no result; it must merely close
        }

        EXPECT_TRUE (driver.ran());
        EXPECT_FALSE (driver.timedOut());
        EXPECT_TRUE (showingWhileOpen);
        EXPECT_TRUE (title == "Confirm" || title == "Error") << title;
        EXPECT_EQ (result, c.expected);
        EXPECT_EQ (findShowingDialogWindow(), nullptr);
    }
}

TEST_F (AlertDialogWindowTest, SecondBoxWhileOneShowsIsSkippedAsCancel)
{
    bool nestedOk = true;
    int nestedYesNo = -1;
    int windowsBefore = 0, windowsAfter = 0;
    ModalDialogDriver driver ([&] (juce::DialogWindow& window) {
        windowsBefore = juce::Desktop::getInstance().getNumComponents();
        nestedOk = AlertDialog::showOkCancelDialog ("Confirm", "A second box");
        nestedYesNo = AlertDialog::showYesNoCancelDialog ("Confirm", "A third box");
        AlertDialog::showMessageBox ("Error", "A fourth box");
        windowsAfter = juce::Desktop::getInstance().getNumComponents();
        // The outer box still holds the flag.
        EXPECT_TRUE (ui::ModalDialogState::instance().isShowing());
        findAlertComponent (window)->getButton (1).triggerClick();
    });

    EXPECT_EQ (AlertDialog::showYesNoCancelDialog ("Confirm", "The first box"), 2);
    EXPECT_TRUE (driver.ran());
    EXPECT_FALSE (nestedOk);
    EXPECT_EQ (nestedYesNo, 0);
    EXPECT_EQ (windowsAfter, windowsBefore);
    EXPECT_FALSE (ui::ModalDialogState::instance().isShowing());
}

TEST_F (AlertDialogWindowTest, ErrorBoxWhileAnotherDialogHoldsTheFlagIsNotShown)
{
    // Another dialog (the preferences, say) has taken the flag.
    ui::ScopedModalDialogStateLock preferencesDialog;
    ASSERT_FALSE (preferencesDialog.wasAlreadyLocked());

    ModalDialogDriver driver ([] (juce::DialogWindow& window) { window.exitModalState (-1); }, 2000);
    AlertDialog::showMessageBox ("Error", "Failed to open the file.");
    EXPECT_FALSE (AlertDialog::showOkCancelDialog ("Confirm", "Are you sure?"));
    EXPECT_EQ (AlertDialog::showYesNoCancelDialog ("Confirm", "Do you want to save the changes?"), 0);
    runMessageLoopFor (50);
    EXPECT_FALSE (driver.ran()) << "no box may open";
    EXPECT_TRUE (ui::ModalDialogState::instance().isShowing()) << "the other dialog keeps its flag";
}

TEST_F (AlertDialogWindowTest, AboutBoxShowsVersionAndClosesOnAClick)
{
    for (const auto& where : { juce::Point<int> (300, 200), juce::Point<int> (500, 380) })
    {
        SCOPED_TRACE (where.toString());
        juce::String title, version, copyright;
        bool pictureShown = false, showingWhileOpen = false;
        ModalDialogDriver driver ([&] (juce::DialogWindow& window) {
            auto* about = dynamic_cast<AboutComponent*> (window.getContentComponent());
            ASSERT_NE (about, nullptr);
            showingWhileOpen = ui::ModalDialogState::instance().isShowing();
            title = window.getName();
            version = about->getVersionLabel().getText();
            copyright = about->getCopyrightLabel().getText();
            pictureShown = about->getPicture().isValid() && about->getPicture().getWidth() == 600 && about->getPicture().getHeight() == 400
                           && about->getWidth() == 600 && about->getHeight() == 400;
            if (where.x == 300)
                saveScreenshot (window, "about-box");
            clickAt (*about, where);
        });

        AboutComponent::showAboutBox();
        EXPECT_TRUE (driver.ran());
        EXPECT_FALSE (driver.timedOut()) << "the click did not close the box";
        EXPECT_TRUE (showingWhileOpen);
        EXPECT_EQ (title, "About");
        EXPECT_EQ (version, "version: 1.0.0.28");
        EXPECT_TRUE (copyright.isNotEmpty());
        EXPECT_TRUE (pictureShown);
    }
}
