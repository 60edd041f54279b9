#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// The application's own alert box: a message with OK, OK/Cancel or Yes/No/Cancel.
// Only one modal dialog shows at a time: a box asked for while another dialog is showing
// is not shown, and its caller sees Cancel.
class AlertDialog
{
public:
    using AlertIconType = juce::AlertWindow::AlertIconType;

    // The icon is accepted for the callers' sake and not drawn.
    static void showMessageBox (const juce::String& title, const juce::String& message, AlertIconType icon = juce::AlertWindow::WarningIcon);
    // True exactly when OK was pressed.
    static bool showOkCancelDialog (const juce::String& title, const juce::String& message, AlertIconType icon = juce::AlertWindow::WarningIcon);
    // 1 Yes, 2 No, 0 Cancel (also Escape and the close button).
    static int showYesNoCancelDialog (const juce::String& title, const juce::String& message, AlertIconType icon = juce::AlertWindow::WarningIcon);

    // Answers the boxes instead of a person, for tests of code that asks: gets the box's kind
    // (AlertDialogComponent::Type), title and message and returns the button's result
    // (1 first, 2 second, 0 third). The modal-dialog rule still applies: while another dialog
    // shows, the responder is not asked. Responders nest; the latest one answers.
    using Responder = std::function<int (int type, const juce::String& title, const juce::String& message)>;

    class ScopedResponder
    {
    public:
        explicit ScopedResponder (Responder responder);
        ~ScopedResponder();

    private:
        Responder previous;
        JUCE_DECLARE_NON_COPYABLE (ScopedResponder)
    };

private:
    static int show (int type, const juce::String& title, const juce::String& message);
};

// The content of an alert box: the message in a read-only editor above up to three buttons.
// The first button ends the box with 1, the second with 2, the third with 0.
class AlertDialogComponent : public juce::Component, public juce::Button::Listener
{
public:
    enum Type
    {
        messageBox = 0,
        okCancel = 1,
        yesNoCancel = 2
    };

    static constexpr int width = 420;

    AlertDialogComponent (int type, const juce::String& message);
    ~AlertDialogComponent() override;

    // Texts that replace the standard ones of the buttons (empty keeps the standard text).
    void setCustomButtonTexts (const juce::String& first, const juce::String& second, const juce::String& third);

    void setupMessageBox();
    void setupOkCancel();
    void setupYesNoCancel();
    // Places the message and the buttons for the message's height and sets the box's size.
    void adjustLayout();
    // Ends the enclosing dialog window's modal state with result.
    void closeDialog (int result);

    void paint (juce::Graphics& g) override;
    void buttonClicked (juce::Button* button) override;

    int getType() const noexcept { return type; }
    const juce::String& getMessage() const noexcept { return message; }
    juce::TextEditor& getMessageEditor() noexcept { return messageEditor; }
    // index 0, 1, 2: the first, second and third button.
    juce::TextButton& getButton (int index) noexcept { return *buttons[juce::jlimit (0, 2, index)]; }

private:
    void setup();
    juce::String buttonText (int index, const juce::String& key) const;

    int type;
    juce::String message;
    juce::String customTexts[3];
    juce::TextEditor messageEditor;
    juce::TextButton firstButton, secondButton, thirdButton;
    juce::TextButton* buttons[3] { &firstButton, &secondButton, &thirdButton };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlertDialogComponent)
};
