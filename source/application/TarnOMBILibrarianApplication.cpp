#include "application/TarnOMBILibrarianApplication.h"

#include "application/CommandLineProcessor.h"
#include "application/LaunchSequence.h"
#include "ui/MainWindow.h"

#include <atomic>
#include <csignal>
#include <iostream>

namespace
{
x38200_application::SingleInstanceChannel& getInstanceChannel()
{
    static x38200_application::SingleInstanceChannel channel;
    return channel;
}

// The session ending (SIGTERM, SIGHUP) or Ctrl-C in a terminal asks the librarian to
// quit the same way as the desktop's quit request, so settings are saved and the user
// is asked about unsaved changes.
std::atomic<bool> quitSignalled { false };

extern "C" void onQuitSignal (int)
{
    quitSignalled = true;
}

class QuitSignalWatcher : private juce::Timer
{
public:
    QuitSignalWatcher()
    {
        for (auto signalNumber : { SIGTERM, SIGINT, SIGHUP })
            std::signal (signalNumber, onQuitSignal);
        startTimer (100);
    }

private:
    void timerCallback() override
    {
        if (quitSignalled.exchange (false))
            if (auto* application = juce::JUCEApplication::getInstance())
                application->systemRequestedQuit();
    }
};

std::unique_ptr<QuitSignalWatcher> quitSignalWatcher;
} // namespace

void TarnOMBILibrarianApplication::initialise (const juce::String& commandLine)
{
    using namespace x38200_application;

    // Second launches from now on reach anotherInstanceStarted on the message thread.
    if (! getInstanceChannel().startListening ([this] (const juce::String& handedOver) { anotherInstanceStarted (handedOver); }))
        std::cerr << "Cannot accept files from later launches: the runtime folder is not usable." << std::endl;

    quitSignalWatcher = std::make_unique<QuitSignalWatcher>();

    initializePlatformSpecifics();
    initializeApplication();
    x38200_ui::MainWindowManager::getInstance().open();
    CommandLineProcessor (startupProcess).execute (commandLine);
    startupProcess.start();
}

void TarnOMBILibrarianApplication::shutdown()
{
    quitSignalWatcher.reset();
    getInstanceChannel().stopListening();
    x38200_ui::MainWindowManager::getInstance().close();
    x38200_application::finalizeApplication();
}

void TarnOMBILibrarianApplication::anotherInstanceStarted (const juce::String& commandLine)
{
    x38200_application::CommandLineProcessor (startupProcess).execute (commandLine);
}

void TarnOMBILibrarianApplication::systemRequestedQuit()
{
    if (auto* window = x38200_ui::MainWindowManager::getInstance().getWindow())
        window->toFront (true);
    quit();
}

namespace
{
juce::JUCEApplicationBase* createApplication()
{
    return new TarnOMBILibrarianApplication();
}
} // namespace

int TarnOMBILibrarianApplication::main (int argc, char* argv[])
{
    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::CharPointer_UTF8 (argv[i]));

    // A running librarian takes over this launch's files; this process then ends. When
    // two launches race, the one that claims the socket runs and the other hands over.
    const auto commandLine = x38200_application::makeHandOverCommandLine (arguments, juce::File::getCurrentWorkingDirectory());
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        if (x38200_application::SingleInstanceChannel::sendToRunningInstance (commandLine))
            return 0;
        if (getInstanceChannel().claim())
            break;
        juce::Thread::sleep (200);
    }

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (argc, (const char**) argv);
}
