#include "application/FileChooserService.h"

#include "ui/ModalDialogState.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace x38200_application
{
namespace
{
    // The platform's native dialog, with no initial folder; while it shows, the
    // modal-dialog state says so, which keeps menus and drops disabled.
    class PlatformFileChooser final : public FileChooserService
    {
    public:
        juce::File chooseFileToOpen (const juce::String& title, const juce::String& pattern) override
        {
            return run (title, pattern, false);
        }

        juce::File chooseFileToSave (const juce::String& title, const juce::String& pattern) override
        {
            return run (title, pattern, true);
        }

    private:
        static juce::File run (const juce::String& title, const juce::String& pattern, bool save)
        {
            auto& state = ui::ModalDialogState::instance();
            state.setShowing (true);
            juce::FileChooser chooser (title, juce::File(), pattern, true);
            const bool chosen = save ? chooser.browseForFileToSave (true) : chooser.browseForFileToOpen();
            state.setShowing (false);
            return chosen ? chooser.getResult() : juce::File();
        }
    };

    std::unique_ptr<FileChooserService>& current()
    {
        static std::unique_ptr<FileChooserService> chooser;
        return chooser;
    }
} // namespace

FileChooserService& FileChooserService::get()
{
    if (current() == nullptr)
        current() = std::make_unique<PlatformFileChooser>();
    return *current();
}

void FileChooserService::set (std::unique_ptr<FileChooserService> chooser)
{
    current() = std::move (chooser);
}
} // namespace x38200_application
