// The modal progress dialog of the transfers, driven under an X server (Xvfb) against an
// emulated instrument on the loopback back end. Skipped without a display.

#include "TransferTestSupport.h"

#include "../dialogs/DialogTestSupport.h"

#include "application/LanguageAndFontSetup.h"
#include "midi/MidiCommunicationDialog.h"
#include "ui/FontLibrary.h"
#include "midi/MidiCommunicationManager.h"
#include "midi/MidiCommunicationProcesses.h"
#include "midi/MidiDeviceManager.h"
#include "support/TestSupport.h"
#include "ui/ModalDialogState.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;
using namespace x38200_midi;

namespace
{
midi::DialogWithNoCloseButton* findProgressWindow()
{
    return dynamic_cast<midi::DialogWithNoCloseButton*> (juce::Component::getCurrentlyModalComponent());
}

template <class T>
T* findChild (juce::Component& parent, const juce::String& name)
{
    for (auto* child : parent.getChildren())
        if (child->getName() == name)
            return dynamic_cast<T*> (child);
    return nullptr;
}

// What the dialog shows at one moment.
struct DialogView
{
    explicit DialogView (midi::DialogWithNoCloseButton& w)
        : window (w), dialog (dynamic_cast<midi::MidiCommunicationDialog*> (w.getContentComponent()))
    {
    }

    juce::String status() const { return findChild<juce::Label> (*dialog, "StatusMessage")->getText(); }
    juce::TextEditor& detail() const { return *findChild<juce::TextEditor> (*dialog, "DetailMessage"); }
    juce::TextButton& closeButton() const { return *findChild<juce::TextButton> (*dialog, "Button"); }
    juce::TextButton& cancelButton() const { return *findChild<juce::TextButton> (*dialog, "CancelButton"); }
    bool finished() const { return closeButton().isVisible() && closeButton().getButtonText() == "OK"; }

    midi::DialogWithNoCloseButton& window;
    midi::MidiCommunicationDialog* dialog;
};

// Runs step with the dialog, every 20 ms from inside its modal loop, until step returns true.
// A dialog still open after the time-out is closed with -1.
class ProgressDialogDriver : private juce::Timer
{
public:
    explicit ProgressDialogDriver (std::function<bool (DialogView&)> stepToRun, int timeoutMs = 20000)
        : step (std::move (stepToRun)), deadline (juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs)
    {
        startTimer (20);
    }

    ~ProgressDialogDriver() override { stopTimer(); }

    bool timedOut() const noexcept { return hasTimedOut; }
    int getSteps() const noexcept { return steps; }

private:
    void timerCallback() override
    {
        if (auto* window = findProgressWindow(); window != nullptr && window->isShowing())
        {
            ++steps;
            DialogView view (*window);
            if (step (view))
            {
                stopTimer();
                if (::testing::Test::HasFailure())
                    saveScreenshot (*window, ::testing::UnitTest::GetInstance()->current_test_info()->name());
            }
            return;
        }
        if (juce::Time::getMillisecondCounter() > deadline)
        {
            stopTimer();
            hasTimedOut = true;
            if (auto* window = findProgressWindow())
                window->exitModalState (-1);
        }
    }

    std::function<bool (DialogView&)> step;
    juce::uint32 deadline;
    bool hasTimedOut = false;
    int steps = 0;
};

struct ProgressDialog : public ::testing::Test
{
    void SetUp() override
    {
        if (! hasDisplay())
            GTEST_SKIP() << "no X display (run under Xvfb)";
        if (! ui::FontLibrary::instance().contains ("MidiCommunicationDialogStatus"))
            x38200_application::initializeFontLibrary();
        rig.reset();
    }

    void TearDown() override
    {
        auto& manager = midi::MidiDeviceManager::instance();
        manager.setAutoDeviceScan (false);
        manager.setManualMidiInputPort ("TarnOMBI - MIDI");
        manager.setManualMidiOutputPort ("TarnOMBI - MIDI");
    }

    static int open (midi::MidiCommunicationProcess& process, bool keepOpenOnSuccess = false)
    {
        return midi::MidiCommunicationDialog::openModalWindow (process.getProcessName(), process, keepOpenOnSuccess, nullptr);
    }

    LoopbackInstrument& rig = LoopbackInstrument::get();
};
} // namespace

TEST_F (ProgressDialog, ASuccessClosesTheDialogByItself)
{
    rig.reset ({}, 200);
    const x38200_data::ProgramData program;
    TransmitCurrentProgramProcess process (program);
    bool sawNoCancel = true;
    bool sawModalFlag = false;
    ProgressDialogDriver driver ([&] (DialogView& view) {
        sawNoCancel = sawNoCancel && ! view.cancelButton().isVisible();
        sawModalFlag = ui::ModalDialogState::instance().isShowing();
        return false;
    });
    EXPECT_EQ (open (process), 0);
    EXPECT_FALSE (driver.timedOut());
    EXPECT_GT (driver.getSteps(), 0) << "the dialog was seen while the transfer ran";
    EXPECT_TRUE (sawNoCancel);
    EXPECT_TRUE (sawModalFlag);
    EXPECT_FALSE (ui::ModalDialogState::instance().isShowing());
    EXPECT_FALSE (midi::MidiDeviceManager::instance().isConnected()) << "the ports are closed again";
    EXPECT_EQ (rig.getSent().size(), 2u);
}

TEST_F (ProgressDialog, AFailureStaysOpenWithStatusDetailAndOK)
{
    InstrumentEmulator::Options protect;
    protect.writeProtect = true;
    rig.reset (protect);
    const auto library = makeDistinctLibrary();
    WriteLibraryProcess process (library);
    ProgressDialogDriver driver ([&] (DialogView& view) {
        if (! view.finished())
            return false;
        EXPECT_EQ (view.window.getName(), "Write Library Data");
        EXPECT_EQ (view.status(), "Error occurred while writing data.");
        EXPECT_TRUE (view.detail().isVisible());
        EXPECT_EQ (view.detail().getText(), "Please make sure the Write Protect setting of the TarnOMBI is OFF.");
        EXPECT_EQ (view.dialog->getHeight(), 193);
        EXPECT_EQ (view.dialog->getWidth(), 460);
        EXPECT_EQ (view.detail().getBounds(), juce::Rectangle<int> (20, 52, 420, 45));
        EXPECT_EQ (view.closeButton().getBounds(), juce::Rectangle<int> (352, 154, 88, 24));
        EXPECT_TRUE (view.closeButton().isEnabled());
        EXPECT_FALSE (view.cancelButton().isVisible());
        saveScreenshot (view.window, "ProgressDialogFailure");
        clickAt (view.closeButton(), view.closeButton().getLocalBounds().getCentre());
        return true;
    });
    EXPECT_EQ (open (process), 1);
    EXPECT_FALSE (driver.timedOut());
}

TEST_F (ProgressDialog, CancelEndsTheTransferWithCanceledAndOK)
{
    rig.reset ({}, 20);
    x38200_data::LibraryData library;
    ReceiveLibraryProcess process (library);
    bool clicked = false;
    ProgressDialogDriver driver ([&] (DialogView& view) {
        if (! clicked)
        {
            if (! view.cancelButton().isVisible() || view.status().isEmpty())
                return false;
            EXPECT_EQ (view.status(), "Receiving all data from the TarnOMBI...");
            EXPECT_EQ (view.dialog->getHeight(), 150);
            EXPECT_EQ (view.cancelButton().getButtonText(), "Cancel");
            EXPECT_EQ (view.cancelButton().getBounds(), juce::Rectangle<int> (352, 104, 88, 24));
            clickAt (view.cancelButton(), view.cancelButton().getLocalBounds().getCentre());
            clicked = true;
            return false;
        }
        if (! view.finished())
            return false;
        EXPECT_EQ (view.status(), "Canceled.");
        EXPECT_FALSE (view.detail().isVisible());
        EXPECT_EQ (view.dialog->getHeight(), 150);
        clickAt (view.closeButton(), view.closeButton().getLocalBounds().getCentre());
        return true;
    });
    EXPECT_EQ (open (process), 1);
    EXPECT_FALSE (driver.timedOut());
    rig.drain();
    EXPECT_LT (rig.getSent().size(), 300u) << "the transfer stopped early";
}

TEST_F (ProgressDialog, PortsThatCannotBeOpenedShowWhy)
{
    auto& manager = midi::MidiDeviceManager::instance();
    struct Case
    {
        bool autoScan;
        const char* text;
    };
    // Scanning has found nothing yet: the instrument is not connected. Named ports that do
    // not exist: the ports cannot be opened.
    for (const auto& c : { Case { true, "TarnOMBI is not connected." }, Case { false, "Failed to open the MIDI port." } })
    {
        SCOPED_TRACE (c.text);
        // A silent instrument answers no search either.
        InstrumentEmulator::Options silent;
        silent.silent = true;
        rig.reset (silent);
        manager.setAutoDeviceScan (c.autoScan);
        manager.setManualMidiInputPort ("Nothing - Here");
        const x38200_data::ProgramData program;
        TransmitCurrentProgramProcess process (program);
        ProgressDialogDriver driver ([&] (DialogView& view) {
            if (! view.finished())
                return false;
            EXPECT_EQ (view.status(), c.text);
            EXPECT_FALSE (view.cancelButton().isVisible());
            EXPECT_EQ (view.dialog->getHeight(), 150);
            clickAt (view.closeButton(), view.closeButton().getLocalBounds().getCentre());
            return true;
        });
        EXPECT_EQ (open (process), 1);
        EXPECT_FALSE (driver.timedOut());
        for (const auto& message : rig.getSent())
            EXPECT_NE (toHex (message), "F0 7E 7F 06 01 F7") << "no transfer started";
        // The scan started by the attempt ends before the next case.
        runMessageLoopUntil ([&] { return manager.isScanFinished() || ! c.autoScan; }, 5000);
        TearDown();
    }
}

TEST_F (ProgressDialog, BackgroundRequestsAreRefusedWhileAModalTransferRuns)
{
    rig.reset ({}, 5);
    auto& manager = MidiCommunicationManager::instance();
    const auto library = makeDistinctLibrary (8);
    x38200_data::LibraryData received;
    bool askedWhileRunning = false;
    ProgressDialogDriver driver ([&] (DialogView&) {
        if (! askedWhileRunning)
        {
            EXPECT_TRUE (manager.isProcessing());
            manager.requestTransmitCurrentProgram (library.getProgramData (3));
            EXPECT_FALSE (manager.getTransmitter().isProcessing());
            askedWhileRunning = true;
        }
        return false;
    });
    EXPECT_EQ (manager.executeReceiveSelectedProgramData ({ 0, 1, 2, 3, 4, 5, 6, 7 }, received), 0);
    EXPECT_TRUE (askedWhileRunning);
    EXPECT_FALSE (manager.isProcessing());
    rig.drain();
    for (const auto& message : rig.getSent())
        EXPECT_NE (message.size(), 374u) << "no current program was sent";

    // Once the dialog is gone, a request is sent again.
    manager.requestTransmitCurrentProgram (library.getProgramData (3));
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! manager.isProcessing(); }, 10000));
    rig.drain();
    EXPECT_EQ (0, std::memcmp (rig.instrument().getCurrentProgram().bytes, library.getProgramData (3).rawData.bytes, 320));
}
