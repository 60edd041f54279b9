#include "application/CPXRResource.h"
#include "application/CurrentLanguageModel.h"
#include "application/FileErrorDialogs.h"
#include "ui/AlertDialog.h"
#include "ui/ModalDialogState.h"

#include <gtest/gtest.h>

using x38200_application::CurrentLanguageModel;

namespace
{
struct Box
{
    int type = -1;
    juce::String title, message;
};
} // namespace

TEST (FileErrorBoxes, ShowTheTextOfTheCodeInAMessageBox)
{
    struct Case
    {
        bool write;
        int code;
        int language;
        const char* title;
        const char* message;
    };
    const Case cases[] {
        { false, 1, CurrentLanguageModel::English, "Error", "Failed to open the file." },
        { false, 16, CurrentLanguageModel::English, "Error", "Failed to import preset data." },
        { true, 1, CurrentLanguageModel::English, "Error", "Cannot delete the existing file." },
        { true, 3, CurrentLanguageModel::English, "Error", "Failed to write data to the file." },
        { false, 1, CurrentLanguageModel::Japanese, "エラー", "ファイルを開けませんでした。" },
        { true, 2, CurrentLanguageModel::Japanese, "エラー", "ファイルにアクセスできませんでした。" },
        // Codes no reader or writer returns still give a sensible box.
        { false, 17, CurrentLanguageModel::English, "Error", "Internal Error..." },
        { false, -1, CurrentLanguageModel::English, "Error", "Internal Error..." },
        { true, 4, CurrentLanguageModel::English, "Error", "Internal Error..." },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ((c.write ? "write " : "read ") + std::to_string (c.code));
        CurrentLanguageModel::instance().setLanguage (c.language);
        CPXRResource::instance().reload();

        std::vector<Box> shown;
        bool flagWhileShowing = false;
        AlertDialog::ScopedResponder responder ([&] (int type, const juce::String& title, const juce::String& message) {
            flagWhileShowing = ui::ModalDialogState::instance().isShowing();
            shown.push_back ({ type, title, message });
            return 1;
        });

        if (c.write)
            x38200_application::showFileWriteErrorDialog (c.code);
        else
            x38200_application::showFileReadErrorDialog (c.code);

        ASSERT_EQ (shown.size(), 1u);
        EXPECT_EQ (shown[0].type, AlertDialogComponent::messageBox);
        EXPECT_EQ (shown[0].title, juce::String::fromUTF8 (c.title));
        EXPECT_EQ (shown[0].message, juce::String::fromUTF8 (c.message));
        EXPECT_TRUE (flagWhileShowing);
        EXPECT_FALSE (ui::ModalDialogState::instance().isShowing());
    }

    CurrentLanguageModel::instance().setLanguage (CurrentLanguageModel::English);
    CPXRResource::instance().reload();
}

TEST (FileErrorBoxes, SkippedWhileAnotherDialogShows)
{
    int asked = 0;
    AlertDialog::ScopedResponder responder ([&] (int, const juce::String&, const juce::String&) { return ++asked, 1; });
    {
        ui::ScopedModalDialogStateLock otherDialog;
        x38200_application::showFileReadErrorDialog (1);
        EXPECT_FALSE (AlertDialog::showOkCancelDialog ("Confirm", "Are you sure?"));
    }
    EXPECT_EQ (asked, 0);
    EXPECT_TRUE (AlertDialog::showOkCancelDialog ("Confirm", "Are you sure?"));
    EXPECT_EQ (asked, 1);
}
