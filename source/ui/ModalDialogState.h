#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

namespace ui
{
class ModalDialogStateObserver
{
public:
    virtual void modalDialogStateChanged() = 0;
    virtual ~ModalDialogStateObserver() = default;
};

// Whether a modal dialog is showing. The application never shows two at once; while
// one shows, commands, file drops and command-line files are ignored.
class ModalDialogState : public Singleton<ModalDialogState>,
                         public ListenerHolder<ModalDialogStateObserver>,
                         public juce::AsyncUpdater,
                         public juce::DeletedAtShutdown
{
public:
    ModalDialogState() = default;
    ~ModalDialogState() override;

    bool isShowing() const noexcept { return showing; }
    // Sets the flag; a change notifies the observers on a later turn of the message loop.
    void setShowing (bool shouldBeShowing);

    void handleAsyncUpdate() override;

private:
    bool showing = false;
};

// Takes the modal-dialog flag for its lifetime, unless another dialog already has it.
// A dialog opener shows its dialog only when wasAlreadyLocked() is false.
class ScopedModalDialogStateLock
{
public:
    ScopedModalDialogStateLock();
    ~ScopedModalDialogStateLock();

    bool wasAlreadyLocked() const noexcept { return alreadyLocked; }

private:
    bool alreadyLocked = false;

    JUCE_DECLARE_NON_COPYABLE (ScopedModalDialogStateLock)
};
} // namespace ui
