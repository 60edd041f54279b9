#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace x38200_ui
{
// The librarian's main window. Its close button asks the application to quit, which
// runs the same path as the desktop's quit request.
class MainWindow : public juce::DocumentWindow
{
public:
    MainWindow();
    ~MainWindow() override = default;

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};

class MainWindowManager
{
public:
    static MainWindowManager& getInstance();

    void open();
    void close();
    MainWindow* getWindow() const noexcept { return window.get(); }

private:
    std::unique_ptr<MainWindow> window;
};
} // namespace x38200_ui
