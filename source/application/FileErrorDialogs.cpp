#include "application/FileErrorDialogs.h"

#include "application/CPXRResource.h"
#include "file/LibraryFiles.h"
#include "ui/AlertDialog.h"

namespace x38200_application
{
void showFileReadErrorDialog (const int& code)
{
    AlertDialog::showMessageBox (getLocalizedString ("CommonErrorDialogTitle"), x38200_file::getReadErrorString (code), juce::AlertWindow::WarningIcon);
}

void showFileWriteErrorDialog (const int& code)
{
    AlertDialog::showMessageBox (getLocalizedString ("CommonErrorDialogTitle"), x38200_file::getWriteErrorString (code), juce::AlertWindow::WarningIcon);
}
} // namespace x38200_application
