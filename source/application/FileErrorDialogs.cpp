#include "application/FileErrorDialogs.h"

#include "application/CPXRResource.h"
#include "ui/AlertDialog.h"

namespace x38200_application
{
namespace
{
    // The message of a read or write result code. A code outside the table (which no reader
    // or writer returns) reads as an internal error rather than reaching past the table.
    juce::String getErrorText (const juce::StringArray& keys, int code)
    {
        return getLocalizedString (juce::isPositiveAndBelow (code, keys.size()) ? keys[code] : juce::String ("CommonInternalError"));
    }

    juce::String getReadErrorText (int code)
    {
        static const juce::StringArray keys { "ReadErrorNoError",
                                              "ReadErrorOpenFile",
                                              "ReadErrorInvalidType",
                                              "ReadErrorReadData",
                                              "ReadErrorInvalidProgramNumber",
                                              "ReadErrorDifferentTargetDevice",
                                              "ReadErrorFailedToUncompressZipFile",
                                              "ReadErrorFailedToParseXmlDocument",
                                              "ReadErrorInvalidXmlDocument",
                                              "ReadErrorFavoriteDataMissing",
                                              "ReadErrorProgramDataMissing",
                                              "ReadErrorPresetInformationMissing",
                                              "ReadErrorFailedToReadFavoriteData",
                                              "ReadErrorFailedToReadProgramBinary",
                                              "ReadErrorFailedToReadProgramInformation",
                                              "ReadErrorFailedToReadPresetInformation",
                                              "ReadErrorFailedToImportPresetData" };
        return getErrorText (keys, code);
    }

    juce::String getWriteErrorText (int code)
    {
        static const juce::StringArray keys { "WriteErrorNoError", "WriteErrorDeleteFile", "WriteErrorOpenFile", "WriteErrorWriteData" };
        return getErrorText (keys, code);
    }
} // namespace

void showFileReadErrorDialog (const int& code)
{
    AlertDialog::showMessageBox (getLocalizedString ("CommonErrorDialogTitle"), getReadErrorText (code), juce::AlertWindow::WarningIcon);
}

void showFileWriteErrorDialog (const int& code)
{
    AlertDialog::showMessageBox (getLocalizedString ("CommonErrorDialogTitle"), getWriteErrorText (code), juce::AlertWindow::WarningIcon);
}
} // namespace x38200_application
