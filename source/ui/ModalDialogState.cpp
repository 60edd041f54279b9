#include "ui/ModalDialogState.h"

namespace ui
{
ModalDialogState::~ModalDialogState()
{
    cancelPendingUpdate();
}

void ModalDialogState::setShowing (bool shouldBeShowing)
{
    if (showing == shouldBeShowing)
        return;
    showing = shouldBeShowing;
    triggerAsyncUpdate();
}

void ModalDialogState::handleAsyncUpdate()
{
    callListeners ([] (ModalDialogStateObserver& observer) { observer.modalDialogStateChanged(); });
}

ScopedModalDialogStateLock::ScopedModalDialogStateLock()
{
    auto& state = ModalDialogState::instance();
    alreadyLocked = state.isShowing();
    if (! alreadyLocked)
        state.setShowing (true);
}

ScopedModalDialogStateLock::~ScopedModalDialogStateLock()
{
    if (! alreadyLocked)
        ModalDialogState::instance().setShowing (false);
}
} // namespace ui
