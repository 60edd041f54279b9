#pragma once

#include "application/ApplicationStartupProcess.h"
#include "application/SingleInstanceChannel.h"

#include <juce_gui_basics/juce_gui_basics.h>

class TarnOMBILibrarianApplication : public juce::JUCEApplication
{
public:
    TarnOMBILibrarianApplication() = default;
    ~TarnOMBILibrarianApplication() override = default;

    const juce::String getApplicationName() override { return "TarnOMBI Sound Librarian"; }
    const juce::String getApplicationVersion() override { return "1.0.0.28"; }
    // One instance per user. JUCE's own guard is a lock file in /var/tmp shared by all
    // users, and its hand-over does nothing on Linux, so the librarian's channel does
    // both jobs instead: a second launch hands over its command line and ends.
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    void systemRequestedQuit() override;

    x38200_application::ApplicationStartupProcess& getStartupProcess() noexcept { return startupProcess; }

    // The entry point: hands the command line to a running instance, or runs this one.
    static int main (int argc, char* argv[]);

private:
    x38200_application::ApplicationStartupProcess startupProcess;
};
