#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace x38200_application
{
// How the file commands ask the user for a file. The program uses the platform's file
// dialog; tests install a chooser of their own that hands in a file instead of a person.
class FileChooserService
{
public:
    virtual ~FileChooserService() = default;

    // The chosen file, or the non-existent file when the dialog was cancelled. The
    // pattern is "*" and the extension of the file kind.
    virtual juce::File chooseFileToOpen (const juce::String& title, const juce::String& pattern) = 0;
    // Warns before an existing file is overwritten.
    virtual juce::File chooseFileToSave (const juce::String& title, const juce::String& pattern) = 0;

    // The chooser in use.
    static FileChooserService& get();
    // Installs another chooser; nullptr goes back to the platform's dialog.
    static void set (std::unique_ptr<FileChooserService> chooser);
};
} // namespace x38200_application
