#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarnombi::test
{
// Window tests need an X display; scripts/test provides one (Xvfb).
bool hasDisplay();

// Calls action with the dialog window once a modal dialog window shows, from inside its
// modal loop. A dialog still open after the time-out is closed with -1, and timedOut() tells.
class ModalDialogDriver : private juce::Timer
{
public:
    explicit ModalDialogDriver (std::function<void (juce::DialogWindow&)> action, int timeoutMs = 10000);
    ~ModalDialogDriver() override;

    bool ran() const noexcept { return hasRun; }
    bool timedOut() const noexcept { return hasTimedOut; }

private:
    void timerCallback() override;

    std::function<void (juce::DialogWindow&)> action;
    juce::uint32 deadline;
    bool hasRun = false, hasTimedOut = false;
};

juce::DialogWindow* findShowingDialogWindow();

// Saves the window as it paints itself, as a PNG in the test output folder.
juce::File saveScreenshot (juce::Component& component, const juce::String& name);

// Presses Escape in the window, as the keyboard would.
void pressEscape (juce::DialogWindow& window);
// Clicks the left mouse button at a point of component, as the mouse would.
void clickAt (juce::Component& component, juce::Point<int> position);
} // namespace tarnombi::test
