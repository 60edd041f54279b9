#pragma once

#include "midi/MidiCommunicationProcess.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui
{
class ProgressBarComponent;
}

namespace midi
{
// The window that holds the progress dialog: no title-bar buttons, so only the dialog's own
// buttons close it.
class DialogWithNoCloseButton : public juce::DocumentWindow
{
public:
    using juce::DocumentWindow::DocumentWindow;
    ~DialogWithNoCloseButton() override = default;
};

// The modal progress window of a transfer: opens the ports, runs the process on its thread,
// shows progress and texts, offers Cancel, and shows the outcome.
class MidiCommunicationDialog : public juce::Component,
                                public juce::Button::Listener,
                                public MidiCommunicationProcessObserver,
                                public MidiCommunicationThreadListener,
                                public juce::AsyncUpdater
{
public:
    static constexpr int WindowWidth = 460;
    static constexpr int WindowHeight = 150;
    static constexpr int WindowHeightWithDetail = 193;
    static constexpr int TimeoutForExitThread = 2000;
    static constexpr double ProgressBarMaxValue = 100.0;

    MidiCommunicationDialog (MidiCommunicationProcess& process, bool keepOpenOnSuccess);
    ~MidiCommunicationDialog() override;

    // Runs the process in the modal window; 0 when it succeeded, 1 otherwise (failure,
    // cancellation, ports not opened). parent is not used.
    static int openModalWindow (const juce::String& title, MidiCommunicationProcess& process, bool keepOpenOnSuccess,
                                juce::Component* parent);

    void visibilityChanged() override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void midiCommunicationProcessUpdated() override;
    void midiCommunicationProcessFinished() override;
    void handleAsyncUpdate() override;

    bool isSucceeded() const noexcept { return succeeded; }

private:
    void closeDialog();
    void showCloseButton();
    void setHeight (int height);

    MidiCommunicationProcess* process;
    std::unique_ptr<MidiCommunicationThread> thread;
    bool keepOpenOnSuccess;
    bool succeeded = false;
    bool started = false;
    bool lockHeld = false;
    std::unique_ptr<ui::ProgressBarComponent> progressBar;
    std::unique_ptr<juce::TextButton> closeButton;
    std::unique_ptr<juce::TextButton> cancelButton;
    std::unique_ptr<juce::Label> statusLabel;
    std::unique_ptr<juce::TextEditor> detailText;

    JUCE_DECLARE_NON_COPYABLE (MidiCommunicationDialog)
};
} // namespace midi
