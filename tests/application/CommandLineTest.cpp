#include "application/ApplicationStartupProcess.h"
#include "application/CommandLineProcessor.h"
#include "support/TestSupport.h"
#include "ui/AlertDialog.h"
#include "ui/ModalDialogState.h"
#include "ui/SelectedProgramStatus.h"

#include <gtest/gtest.h>

using x38200_application::ApplicationStartupProcess;
using x38200_application::CommandLineProcessor;

namespace
{
// Records what the walk decided to open instead of opening it.
struct RecordingProcessor : CommandLineProcessor
{
    using CommandLineProcessor::CommandLineProcessor;
    juce::StringArray opened;
    void openLibraryFile (const juce::File& f) override { opened.add ("library:" + f.getFileName()); startupProcess.openedFile(); }
    void openProgramFile (const juce::File& f) override { opened.add ("program:" + f.getFileName()); startupProcess.openedFile(); }
    void openPresetFile (const juce::File& f) override { opened.add ("preset:" + f.getFileName()); }
};
} // namespace

TEST (CommandLine, Tokenizer)
{
    struct Case
    {
        const char* text;
        std::vector<const char*> tokens;
    };
    const Case cases[] = {
        { "", {} },
        { "a.tolib", { "a.tolib" } },
        { "a b", { "a", "b" } },
        { "a  b", { "a", "", "b" } },       // an empty token between two spaces is kept
        { "a ", { "a" } },                  // the last token only when not empty
        { " a", { "", "a" } },
        { "\"/x/my lib.tolib\"", { "/x/my lib.tolib" } },
        { "pre\"fix q\" rest", { "prefix q", "", "rest" } }, // text before a quote joins; the space after a closing quote ends an empty token
        { "\"\" a", { "", "", "a" } },      // empty quotes give an empty token, then the space another
        { "\"unclosed text", { "unclosed text" } },
        { "tab\there", { "tab\there" } },
        { "-NSDocumentRevisionsDebugMode YES /l.tolib", { "-NSDocumentRevisionsDebugMode", "YES", "/l.tolib" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        juce::StringArray expected;
        for (auto* t : c.tokens)
            expected.add (t);
        EXPECT_EQ (CommandLineProcessor::tokenize (c.text), expected);
    }
}

TEST (CommandLine, WalkOpensOnlyTheFirstKnownFile)
{
    struct Case
    {
        const char* text;
        const char* opened; // empty: nothing opened
        bool openedFileFlag;
    };
    const Case cases[] = {
        { "-psn_0_12345", "", false },
        { "-NSDocumentRevisionsDebugMode YES /music/a.tolib", "library:a.tolib", true },
        { "-NSOption /music/b.tolib /music/a.tolib", "library:a.tolib", true }, // the option's value is skipped
        { "\"/music/my library.tolib\"", "library:my library.tolib", true },
        { "/music/my library.tolib", "library:library.tolib", true },          // a fragment with a known extension
        { "/music/my library.tolib.bak", "", false },
        { "/music/LOUD.TOLIB", "library:LOUD.TOLIB", true },
        { "/music/one.toprog /music/two.tolib", "program:one.toprog", true },
        { "notes.txt /music/p.ToPreset /music/a.tolib", "preset:p.ToPreset", false },
        { "/music/noextension", "", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        ApplicationStartupProcess process;
        RecordingProcessor processor (process);
        processor.execute (c.text);
        EXPECT_EQ (processor.opened.joinIntoString ("|"), juce::String (c.opened));
        EXPECT_EQ (process.hasOpenedFile(), c.openedFileFlag);
    }
}

TEST (CommandLine, IgnoredWhileAModalDialogShows)
{
    ApplicationStartupProcess process;
    RecordingProcessor processor (process);
    {
        ui::ScopedModalDialogStateLock lock;
        ASSERT_FALSE (lock.wasAlreadyLocked());
        processor.execute ("/music/a.tolib");
    }
    EXPECT_TRUE (processor.opened.isEmpty());
    processor.execute ("/music/a.tolib");
    EXPECT_EQ (processor.opened.size(), 1);
}

TEST (CommandLine, ProgramFileWithoutSelectionStillSuppressesTheReceive)
{
    // The unreadable files below are reported in error boxes; answer them instead of a person.
    juce::StringArray errorBoxes;
    AlertDialog::ScopedResponder responder ([&] (int, const juce::String&, const juce::String& message) {
        errorBoxes.add (message);
        return 1;
    });
    auto& selection = ui::SelectedProgramStatus::instance();
    selection.setSelectedProgramNumbers ({});
    ApplicationStartupProcess process;
    CommandLineProcessor (process).execute ("/nowhere/x.toprog");
    EXPECT_TRUE (process.hasOpenedFile());
    selection.setSelectedProgramNumbers ({ 0 });

    // A preset file never sets the flag.
    ApplicationStartupProcess other;
    CommandLineProcessor (other).execute ("/nowhere/x.topreset");
    EXPECT_FALSE (other.hasOpenedFile());
    tarnombi::test::runMessageLoopFor (20);
}

TEST (StartupProcess, RunsOnceInALaterTurn)
{
    ApplicationStartupProcess process;
    process.start();
    EXPECT_FALSE (process.isFinished());
    tarnombi::test::runMessageLoopFor (50);
    EXPECT_TRUE (process.isFinished());

    // A stray scan report or a second start does nothing more.
    process.midiDeviceScanFinished();
    process.start();
    tarnombi::test::runMessageLoopFor (20);
    EXPECT_TRUE (process.isFinished());
}
