#include "application/SingleInstanceChannel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using x38200_application::SingleInstanceChannel;

TEST (SingleInstanceChannel, HandsCommandLinesToTheRunningInstance)
{
    EXPECT_FALSE (SingleInstanceChannel::sendToRunningInstance ("nobody listens", 200));

    SingleInstanceChannel channel;
    juce::StringArray received;
    ASSERT_TRUE (channel.startListening ([&] (const juce::String& text) { received.add (text); }));

    const auto socket = SingleInstanceChannel::getSocketFile();
    EXPECT_TRUE (socket.getParentDirectory().isAChildOf (tarnombi::test::getTestRootFolder())
                 || socket.getParentDirectory() == tarnombi::test::getTestRootFolder().getChildFile ("runtime"));
    struct stat info {};
    ASSERT_EQ (::stat (socket.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0077, 0u);

    // A second claim while the first instance lives fails.
    SingleInstanceChannel second;
    EXPECT_FALSE (second.claim());

    const juce::String text = juce::CharPointer_UTF8 ("\"/music/\xe9\x9f\xb3 lib.tolib\" -psn_0_1");
    EXPECT_TRUE (SingleInstanceChannel::sendToRunningInstance (text));
    EXPECT_TRUE (SingleInstanceChannel::sendToRunningInstance ("")); // a launch without arguments
    ASSERT_TRUE (tarnombi::test::runMessageLoopUntil ([&] { return received.size() == 2; }));
    EXPECT_EQ (received[0], text);
    EXPECT_EQ (received[1], "");

    channel.stopListening();
    EXPECT_FALSE (socket.exists());
    EXPECT_FALSE (SingleInstanceChannel::sendToRunningInstance ("after", 200));
}

TEST (SingleInstanceChannel, ASocketLeftByACrashIsTakenOver)
{
    const auto socket = SingleInstanceChannel::getSocketFile();
    {
        SingleInstanceChannel crashed;
        ASSERT_TRUE (crashed.claim());
        // Simulate a crash: the socket file stays behind but nobody listens on it.
        const auto copy = socket.getSiblingFile ("kept");
        ASSERT_EQ (::link (socket.getFullPathName().toRawUTF8(), copy.getFullPathName().toRawUTF8()), 0);
        crashed.stopListening();
        ASSERT_EQ (::rename (copy.getFullPathName().toRawUTF8(), socket.getFullPathName().toRawUTF8()), 0);
    }
    SingleInstanceChannel channel;
    EXPECT_TRUE (channel.claim());
}

TEST (SingleInstanceChannel, HandOverCommandLineMakesFilesAbsoluteAndQuotes)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("cwd");
    folder.getChildFile ("my lib.tolib").create();
    folder.getChildFile ("plain.toprog").create();
    const auto text = x38200_application::makeHandOverCommandLine ({ "my lib.tolib", "-psn_0_1", "plain.toprog", "missing.tolib" }, folder);
    EXPECT_EQ (text, "\"" + folder.getChildFile ("my lib.tolib").getFullPathName() + "\" -psn_0_1 "
                         + folder.getChildFile ("plain.toprog").getFullPathName() + " missing.tolib");
}
