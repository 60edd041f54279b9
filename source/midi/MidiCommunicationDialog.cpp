#include "midi/MidiCommunicationDialog.h"

#include "application/CPXRResource.h"
#include "midi/MidiDeviceManager.h"
#include "ui/FontLibrary.h"
#include "ui/ModalDialogState.h"
#include "ui/ProgressBarComponent.h"

#include <cstdio>

namespace juce
{
// The framework's own step of its message loop: dispatches the next message, sleeping until one
// arrives when returnIfNoPendingMessages is false.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace midi
{
MidiCommunicationDialog::MidiCommunicationDialog (MidiCommunicationProcess& processToShow, bool keepOpen)
    : process (&processToShow), keepOpenOnSuccess (keepOpen)
{
    progressBar = std::make_unique<ui::ProgressBarComponent> ("ProgressBar");
    progressBar->setRange (0.0, ProgressBarMaxValue, 1.0);
    progressBar->setSliderStyle (juce::Slider::LinearBar);
    progressBar->setTextBoxStyle (juce::Slider::TextBoxLeft, true, 80, 20);
    addAndMakeVisible (*progressBar);

    closeButton = std::make_unique<juce::TextButton> ("Button");
    closeButton->setButtonText (getLocalizedString ("CommonCancel"));
    closeButton->addListener (this);
    closeButton->setEnabled (false);
    addChildComponent (*closeButton);
    closeButton->setVisible (keepOpenOnSuccess);

    cancelButton = std::make_unique<juce::TextButton> ("CancelButton");
    cancelButton->setButtonText (getLocalizedString ("CommonCancel"));
    cancelButton->addListener (this);
    addChildComponent (*cancelButton);
    cancelButton->setVisible (process->isSupportedCancel());

    statusLabel = std::make_unique<juce::Label> ("StatusMessage", juce::String());
    statusLabel->setFont (ui::FontLibrary::instance().getFont ("MidiCommunicationDialogStatus"));
    statusLabel->setJustificationType (juce::Justification::centredTop);
    statusLabel->setEditable (false, false, false);
    // The window is white: the texts are dark.
    statusLabel->setColour (juce::Label::textColourId, juce::Colours::black);
    addAndMakeVisible (*statusLabel);

    detailText = std::make_unique<juce::TextEditor> ("DetailMessage");
    detailText->setFont (ui::FontLibrary::instance().getFont ("MidiCommunicationDialogDetail"));
    detailText->setReadOnly (true);
    detailText->setCaretVisible (false);
    detailText->setMultiLine (true, true);
    detailText->setPopupMenuEnabled (false);
    detailText->setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentWhite);
    detailText->setColour (juce::TextEditor::highlightColourId, juce::Colours::transparentWhite);
    detailText->setColour (juce::TextEditor::shadowColourId, juce::Colours::transparentWhite);
    detailText->setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentWhite);
    detailText->setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentWhite);
    detailText->setColour (juce::TextEditor::textColourId, juce::Colours::darkgrey);
    addChildComponent (*detailText);

    setName ("MidiCommunicationDialog");
    setSize (WindowWidth, WindowHeight);

    thread = std::make_unique<MidiCommunicationThread> (*process);
    thread->ListenerHolder<MidiCommunicationThreadListener>::addListener (this);
    process->addListener (this);
}

MidiCommunicationDialog::~MidiCommunicationDialog()
{
    process->removeListener (this);
    cancelPendingUpdate();
    thread->ListenerHolder<MidiCommunicationThreadListener>::removeListener (this);
    if (thread->isThreadRunning())
    {
        thread->signalThreadShouldExit();
        if (! thread->waitForThreadToExit (TimeoutForExitThread))
            std::printf ("cannot stop MIDI communication thread.\n");
    }
    thread.reset();
    // Ports opened for a process that never reported its end are closed here.
    if (lockHeld)
    {
        MidiDeviceManager::instance().disconnect();
        MidiDeviceManager::instance().getLock().exit();
        lockHeld = false;
    }
}

int MidiCommunicationDialog::openModalWindow (const juce::String& title, MidiCommunicationProcess& process, bool keepOpenOnSuccess,
                                              juce::Component*)
{
    auto& modalState = ui::ModalDialogState::instance();
    // A caller that already holds the modal flag keeps it after the dialog.
    const bool wasShowing = modalState.isShowing();
    modalState.setShowing (true);

    auto* dialog = new MidiCommunicationDialog (process, keepOpenOnSuccess);
    auto window = std::make_unique<DialogWithNoCloseButton> (title, juce::Colours::white, 0, true);
    window->setUsingNativeTitleBar (false);
    window->setContentOwned (dialog, true);
    window->setResizable (false, false);
    window->centreWithSize (window->getWidth(), window->getHeight());
    window->setVisible (true);

    // The framework's modal loop wakes every millisecond to look for messages; this one sleeps
    // until a message arrives, so the librarian uses no processor while the instrument answers.
    window->enterModalState (true);
    auto* messageManager = juce::MessageManager::getInstance();
    while (window->isCurrentlyModal (false) && ! messageManager->hasStopMessageBeenSent())
        juce::dispatchNextMessageOnSystemQueue (false);
    if (window->isCurrentlyModal (false))
        window->exitModalState (1);
    const int result = dialog->isSucceeded() ? 0 : 1;

    window->clearContentComponent();
    modalState.setShowing (wasShowing);
    window.reset();
    return result;
}

void MidiCommunicationDialog::visibilityChanged()
{
    if (started || ! isVisible())
        return;
    started = true;
    auto& manager = MidiDeviceManager::instance();
    manager.getLock().enter();
    if (manager.connect())
    {
        lockHeld = true;
        thread->startThread();
    }
    else
    {
        manager.getLock().exit();
        triggerAsyncUpdate();
    }
}

void MidiCommunicationDialog::resized()
{
    const bool withDetail = detailText->isVisible();
    statusLabel->setBounds (20, 24, 420, 40);
    if (withDetail)
        detailText->setBounds (20, 52, 420, 45);
    progressBar->setBounds (20, withDetail ? 114 : 64, 420, 24);
    const int buttonY = withDetail ? 154 : 104;
    closeButton->setBounds (352, buttonY, 88, 24);
    cancelButton->setBounds (352, buttonY, 88, 24);
}

void MidiCommunicationDialog::buttonClicked (juce::Button* button)
{
    if (button == closeButton.get())
    {
        closeDialog();
    }
    else if (button == cancelButton.get())
    {
        cancelButton->setEnabled (false);
        thread->signalThreadShouldExit();
    }
}

void MidiCommunicationDialog::midiCommunicationProcessUpdated()
{
    progressBar->setValue (process->getProgress() * ProgressBarMaxValue, juce::dontSendNotification);
    statusLabel->setText (process->getStatusMessage(), juce::dontSendNotification);
    const auto detail = process->getDetailMessage();
    detailText->setText (detail, false);
    detailText->setVisible (detail.isNotEmpty());
    setHeight (detail.isNotEmpty() ? WindowHeightWithDetail : WindowHeight);
    resized();
}

void MidiCommunicationDialog::midiCommunicationProcessFinished()
{
    if (lockHeld)
    {
        MidiDeviceManager::instance().disconnect();
        MidiDeviceManager::instance().getLock().exit();
        lockHeld = false;
    }
    // The last texts of the process may still be on their way: show them now.
    midiCommunicationProcessUpdated();
    succeeded = process->isSucceeded (thread->getResult());
    if (succeeded && ! keepOpenOnSuccess)
    {
        closeDialog();
        return;
    }
    showCloseButton();
}

void MidiCommunicationDialog::handleAsyncUpdate()
{
    // The ports could not be opened.
    const auto key = MidiDeviceManager::instance().isFoundMidiDevice() ? "ConnectionErrorFailedToOpenPort" : "ConnectionErrorNotFoundTarnOmbi";
    statusLabel->setText (getLocalizedString (key), juce::dontSendNotification);
    detailText->setText ({}, false);
    detailText->setVisible (false);
    showCloseButton();
    setHeight (WindowHeight);
    resized();
}

void MidiCommunicationDialog::showCloseButton()
{
    closeButton->setButtonText (getLocalizedString ("CommonOK"));
    closeButton->setVisible (true);
    closeButton->setEnabled (true);
    cancelButton->setVisible (false);
    closeButton->grabKeyboardFocus();
}

void MidiCommunicationDialog::setHeight (int height)
{
    if (getHeight() != height)
        setSize (WindowWidth, height);
}

void MidiCommunicationDialog::closeDialog()
{
    if (auto* window = findParentComponentOfClass<DialogWithNoCloseButton>())
        window->exitModalState (succeeded ? 0 : 1);
    else if (isCurrentlyModal())
        exitModalState (succeeded ? 0 : 1);
}
} // namespace midi
