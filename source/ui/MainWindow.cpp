#include "ui/MainWindow.h"

#include "application/CPXRResource.h"

namespace x38200_ui
{
namespace
{
    const juce::String applicationName = "TarnOMBI Sound Librarian";
}

MainWindow::MainWindow()
    : juce::DocumentWindow (applicationName, juce::Colours::white, juce::DocumentWindow::allButtons)
{
    setUsingNativeTitleBar (true);
    setResizable (true, false);
    setContentOwned (new juce::Component(), false);
    centreWithSize (1024, 700);
}

void MainWindow::closeButtonPressed()
{
    if (auto* application = juce::JUCEApplication::getInstance())
        application->systemRequestedQuit();
}

MainWindowManager& MainWindowManager::getInstance()
{
    static MainWindowManager manager;
    return manager;
}

void MainWindowManager::open()
{
    if (window == nullptr)
        window = std::make_unique<MainWindow>();
    window->setVisible (true);
}

void MainWindowManager::close()
{
    window.reset();
}
} // namespace x38200_ui
