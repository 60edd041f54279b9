#include "support/Process.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace tarnombi::test;

namespace
{
const juce::String windowTitle = "TarnOMBI Sound Librarian";

bool haveDisplay()
{
    return juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isNotEmpty();
}

// The ids of the visible windows with exactly that title.
juce::StringArray findWindows (const juce::String& title)
{
    const auto result = runProgram ({ "/usr/bin/xdotool", "search", "--onlyvisible", "--name", "^" + title + "$" }, 10000);
    return juce::StringArray::fromLines (result.output.trim());
}

bool waitForWindowCount (int count, int timeoutMs = 15000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (juce::Time::getMillisecondCounter() < end)
    {
        auto windows = findWindows (windowTitle);
        windows.removeEmptyStrings();
        if (windows.size() == count)
            return true;
        juce::Thread::sleep (100);
    }
    return false;
}

void saveScreenshot (const juce::String& name)
{
    runProgram ({ "/usr/bin/import", "-window", "root", getTestOutputFolder().getChildFile (name + ".png").getFullPathName() }, 20000);
}

juce::File preferencesFile()
{
    return juce::File (juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {}))
        .getChildFile ("OMBI TarnOMBI Sound Librarian")
        .getChildFile ("PreferencesData.xml");
}
} // namespace

class LibrarianLaunch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (! haveDisplay())
            GTEST_SKIP() << "needs an X display (scripts/test starts Xvfb)";
        preferencesFile().deleteFile();
        runProgram ({ getBuiltProgram ("tarnombi-close-window").getFullPathName(), "--prepare" });
        ASSERT_TRUE (first.start ({ getBuiltProgram ("tarnombi-librarian").getFullPathName() },
                                  getTestRootFolder().getChildFile ("librarian.log")));
        if (! waitForWindowCount (1))
        {
            saveScreenshot ("launch-failed");
            FAIL() << "no window titled \"" << windowTitle << "\"; output:\n" << first.readOutput();
        }
    }

    void TearDown() override
    {
        if (HasFailure())
            saveScreenshot (::testing::UnitTest::GetInstance()->current_test_info()->name());
        first.stop();
    }

    Process first;
};

TEST_F (LibrarianLaunch, ClosingTheWindowQuitsCleanly)
{
    const auto windows = findWindows (windowTitle);
    ASSERT_EQ (windows.size(), 1);
    // A loaded machine may deliver the first request before the window listens for it;
    // a person would click again too.
    int exitStatus = -1;
    for (int attempt = 0; attempt < 5 && exitStatus < 0; ++attempt)
    {
        EXPECT_EQ (runProgram ({ getBuiltProgram ("tarnombi-close-window").getFullPathName(), windows[0] }).exitStatus, 0);
        exitStatus = first.waitForExit (3000);
    }
    EXPECT_EQ (exitStatus, 0);
    // Shut-down wrote the preferences with the registered initial values.
    const auto xml = juce::XmlDocument::parse (preferencesFile());
    ASSERT_NE (xml, nullptr);
    EXPECT_NE (xml->getChildByName ("AutoReceive"), nullptr);
}

TEST_F (LibrarianLaunch, EndOfSessionQuitsCleanly)
{
    first.signal (SIGTERM);
    EXPECT_EQ (first.waitForExit (10000), 0);
    EXPECT_TRUE (preferencesFile().existsAsFile());
}

TEST_F (LibrarianLaunch, ASecondLaunchHandsItsFileToTheFirst)
{
    const auto missing = getTestRootFolder().getChildFile ("no such folder").getChildFile ("my library.tolib");
    const auto second = runProgram ({ getBuiltProgram ("tarnombi-librarian").getFullPathName(), missing.getFullPathName() }, 20000);
    EXPECT_EQ (second.exitStatus, 0);

    // The first instance tried to open the file and reported it in an error box.
    EXPECT_TRUE (runMessageLoopUntil ([&] { return ! findWindows ("Error").isEmpty() || ! findWindows (juce::String::fromUTF8 ("エラー")).isEmpty(); }, 10000))
        << first.readOutput();
    EXPECT_TRUE (waitForWindowCount (1, 2000));
    EXPECT_TRUE (first.isRunning());
}
