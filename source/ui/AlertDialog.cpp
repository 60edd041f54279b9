#include "ui/AlertDialog.h"

#include "application/CPXRResource.h"
#include "ui/ModalDialogState.h"

namespace
{
constexpr int margin = 16;
constexpr int editorWidth = 384;
constexpr int editorMinimumHeight = 56;
constexpr int buttonWidth = 88;
constexpr int buttonHeight = 24;
constexpr int gapBelowText = 25;
constexpr int editorRight = margin + editorWidth;

AlertDialog::Responder& currentResponder()
{
    static AlertDialog::Responder responder;
    return responder;
}
} // namespace

AlertDialog::ScopedResponder::ScopedResponder (Responder responder) : previous (std::move (currentResponder()))
{
    currentResponder() = std::move (responder);
}

AlertDialog::ScopedResponder::~ScopedResponder()
{
    currentResponder() = std::move (previous);
}

//==============================================================================
void AlertDialog::showMessageBox (const juce::String& title, const juce::String& message, AlertIconType)
{
    show (AlertDialogComponent::messageBox, title, message);
}

bool AlertDialog::showOkCancelDialog (const juce::String& title, const juce::String& message, AlertIconType)
{
    return show (AlertDialogComponent::okCancel, title, message) == 1;
}

int AlertDialog::showYesNoCancelDialog (const juce::String& title, const juce::String& message, AlertIconType)
{
    return show (AlertDialogComponent::yesNoCancel, title, message);
}

int AlertDialog::show (int type, const juce::String& title, const juce::String& message)
{
    ui::ScopedModalDialogStateLock lock;
    if (lock.wasAlreadyLocked())
        return 0;

    if (currentResponder())
        return currentResponder() (type, title, message);

    AlertDialogComponent component (type, message);
    return juce::DialogWindow::showModalDialog (title, &component, nullptr, juce::Colours::white, true, false, false);
}

//==============================================================================
AlertDialogComponent::AlertDialogComponent (int boxType, const juce::String& messageText)
    : type (juce::jlimit ((int) messageBox, (int) yesNoCancel, boxType)), message (messageText)
{
    messageEditor.setName ("new text editor");
    messageEditor.setMultiLine (true, true);
    messageEditor.setReadOnly (true);
    messageEditor.setScrollbarsShown (false);
    messageEditor.setCaretVisible (false);
    messageEditor.setPopupMenuEnabled (false);
    // A read-only message: clicks and keys go to the box, so Escape reaches the dialog window.
    messageEditor.setWantsKeyboardFocus (false);
    messageEditor.setMouseClickGrabsKeyboardFocus (false);
    messageEditor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    messageEditor.setColour (juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    messageEditor.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    messageEditor.setColour (juce::TextEditor::shadowColourId, juce::Colours::transparentBlack);
    messageEditor.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    messageEditor.setBounds (margin, margin, editorWidth, editorMinimumHeight);
    messageEditor.setText (message, false);
    addAndMakeVisible (messageEditor);

    for (auto* button : buttons)
    {
        button->setName ("new button");
        button->addListener (this);
        addChildComponent (button);
    }

    setup();
}

AlertDialogComponent::~AlertDialogComponent()
{
    for (auto* button : buttons)
        button->removeListener (this);
}

void AlertDialogComponent::setCustomButtonTexts (const juce::String& first, const juce::String& second, const juce::String& third)
{
    customTexts[0] = first;
    customTexts[1] = second;
    customTexts[2] = third;
    setup();
}

void AlertDialogComponent::setup()
{
    switch (type)
    {
        case okCancel: setupOkCancel(); break;
        case yesNoCancel: setupYesNoCancel(); break;
        default: setupMessageBox(); break;
    }
    adjustLayout();
}

juce::String AlertDialogComponent::buttonText (int index, const juce::String& key) const
{
    return customTexts[index].isNotEmpty() ? customTexts[index] : getLocalizedString (key);
}

void AlertDialogComponent::setupMessageBox()
{
    firstButton.setButtonText (buttonText (0, "CommonOK"));
    firstButton.setVisible (true);
    secondButton.setVisible (false);
    thirdButton.setVisible (false);
}

void AlertDialogComponent::setupOkCancel()
{
    firstButton.setButtonText (buttonText (0, "CommonOK"));
    thirdButton.setButtonText (buttonText (2, "CommonCancel"));
    firstButton.setVisible (true);
    secondButton.setVisible (false);
    thirdButton.setVisible (true);
}

void AlertDialogComponent::setupYesNoCancel()
{
    firstButton.setButtonText (buttonText (0, "CommonYes"));
    secondButton.setButtonText (buttonText (1, "CommonNo"));
    thirdButton.setButtonText (buttonText (2, "CommonCancel"));
    firstButton.setVisible (true);
    secondButton.setVisible (true);
    thirdButton.setVisible (true);
}

void AlertDialogComponent::adjustLayout()
{
    const auto textHeight = messageEditor.getTextHeight();

    // The editor grows with a long message so that no line is cut off; a short one keeps the
    // editor's usual height and the buttons lie over its empty lower part.
    messageEditor.setBounds (margin, margin, editorWidth, juce::jmax (editorMinimumHeight, textHeight + 4));

    const auto buttonY = margin + textHeight + gapBelowText;
    switch (type)
    {
        case okCancel:
            firstButton.setBounds (editorRight - buttonWidth, buttonY, buttonWidth, buttonHeight);
            thirdButton.setBounds (editorRight - 192, buttonY, buttonWidth, buttonHeight);
            break;
        case yesNoCancel:
            firstButton.setBounds (16, buttonY, buttonWidth, buttonHeight);
            secondButton.setBounds (120, buttonY, buttonWidth, buttonHeight);
            thirdButton.setBounds (editorRight - buttonWidth, buttonY, buttonWidth, buttonHeight);
            break;
        default:
            firstButton.setBounds (editorRight - buttonWidth, buttonY, buttonWidth, buttonHeight);
            break;
    }

    setSize (width, buttonHeight + margin + textHeight + 41);
}

void AlertDialogComponent::closeDialog (int result)
{
    if (auto* window = findParentComponentOfClass<juce::DialogWindow>())
        window->exitModalState (result);
}

void AlertDialogComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
}

void AlertDialogComponent::buttonClicked (juce::Button* button)
{
    if (button == &firstButton)
        closeDialog (1);
    else if (button == &secondButton)
        closeDialog (2);
    else if (button == &thirdButton)
        closeDialog (0);
}
