#include "application/CPXRResource.h"
#include "support/TestSupport.h"
#include "twitter/TwitterClient.h"
#include "twitter/TwitterConfiguration.h"
#include "twitter/TwitterResult.h"
#include "twitter/TwitterStartup.h"
#include "twitter/TwitterTask.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

namespace
{
using namespace twitter;
using tarnombi::test::makeTemporaryFolder;
using tarnombi::test::runMessageLoopUntil;

struct StatusRecorder : public TwitterClientListener
{
    std::vector<bool> calls;
    void twitterStatusChanged (bool authorized) override { calls.push_back (authorized); }
};

class TwitterClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = makeTemporaryFolder ("client-" + juce::String (++counter));
        client.addListener (&recorder);
    }

    void TearDown() override
    {
        tarnombi::test::runMessageLoopFor (20);
        client.removeListener (&recorder);
    }

    void initialize() { client.initialize (folder, "ck", "cs"); }

    bool waitForNotification (size_t count)
    {
        return runMessageLoopUntil ([&] { return recorder.calls.size() >= count; }, 2000);
    }

    static int counter;
    TwitterClient& client = TwitterClient::instance();
    StatusRecorder recorder;
    juce::File folder;
};

int TwitterClientTest::counter = 0;

int modeOf (const juce::File& file)
{
    struct stat info {};
    stat (file.getFullPathName().toRawUTF8(), &info);
    return (int) (info.st_mode & 0777);
}

TEST_F (TwitterClientTest, WithoutTokenFilesTheClientIsNotAuthorized)
{
    initialize();
    EXPECT_FALSE (client.hasAccessToken());
    ASSERT_TRUE (waitForNotification (1));
    EXPECT_EQ (recorder.calls, std::vector<bool> { false });
    EXPECT_EQ (client.getTwitCurl().getOAuth().getConsumerKey(), "ck");
    EXPECT_EQ (client.getTwitCurl().getOAuth().getConsumerSecret(), "cs");
}

TEST_F (TwitterClientTest, TokenFilesRoundTripReadableByTheUserOnly)
{
    initialize();
    ASSERT_TRUE (client.setAndSaveAccessToken ("abc", juce::String::fromUTF8 ("s\xc3\xa9")));

    const auto keyFile = folder.getChildFile ("TwitterTokenKey.txt");
    const auto secretFile = folder.getChildFile ("TwitterTokenSecret.txt");

    // The token's bytes and one zero byte, nothing else.
    juce::MemoryBlock bytes;
    bytes.reset();
    ASSERT_TRUE (keyFile.loadFileAsData (bytes));
    EXPECT_EQ (bytes, juce::MemoryBlock ("abc", 4));
    EXPECT_EQ (modeOf (keyFile), 0600);
    EXPECT_EQ (modeOf (secretFile), 0600);

    // A new start reads the same pair back, and listeners hear that the account is authorized.
    client.initialize (folder, "ck", "cs");
    EXPECT_TRUE (client.hasAccessToken());
    EXPECT_EQ (client.getAccessTokenKey(), "abc");
    EXPECT_EQ (client.getAccessTokenSecret(), juce::String::fromUTF8 ("s\xc3\xa9"));
    ASSERT_TRUE (waitForNotification (1));
    EXPECT_TRUE (recorder.calls.back());

    // Saving over the files leaves only the new tokens; a file with wider permissions is narrowed.
    chmod (keyFile.getFullPathName().toRawUTF8(), 0644);
    ASSERT_TRUE (client.setAndSaveAccessToken ("x", "y"));
    bytes.reset();
    ASSERT_TRUE (keyFile.loadFileAsData (bytes));
    EXPECT_EQ (bytes, juce::MemoryBlock ("x", 2));
    bytes.reset();
    ASSERT_TRUE (secretFile.loadFileAsData (bytes));
    EXPECT_EQ (bytes, juce::MemoryBlock ("y", 2));
    EXPECT_EQ (modeOf (keyFile), 0600);

    // Deleting removes both files and tells the listeners.
    recorder.calls.clear();
    client.deleteAccessToken();
    EXPECT_FALSE (client.hasAccessToken());
    EXPECT_FALSE (keyFile.exists());
    EXPECT_FALSE (secretFile.exists());
    ASSERT_TRUE (waitForNotification (1));
    EXPECT_FALSE (recorder.calls.back());
}

TEST_F (TwitterClientTest, OneMissingTokenFileMeansNoToken)
{
    client.initialize (folder, "ck", "cs");
    ASSERT_TRUE (client.setAndSaveAccessToken ("key", "secret"));
    ASSERT_TRUE (folder.getChildFile ("TwitterTokenSecret.txt").deleteFile());

    EXPECT_FALSE (client.loadAccessTokenFile());
    EXPECT_FALSE (client.hasAccessToken());
    EXPECT_TRUE (client.getAccessTokenKey().isEmpty());
    EXPECT_TRUE (client.getAccessTokenSecret().isEmpty());

    // A file without the zero byte still gives its whole text.
    folder.getChildFile ("TwitterTokenSecret.txt").replaceWithText ("plain");
    EXPECT_TRUE (client.loadAccessTokenFile());
    EXPECT_EQ (client.getAccessTokenSecret(), "plain");
}

TEST_F (TwitterClientTest, AFailedSaveKeepsTheEarlierFilesAndDropsTheToken)
{
    initialize();
    ASSERT_TRUE (client.setAndSaveAccessToken ("old", "pair"));
    tarnombi::test::runMessageLoopFor (50);
    recorder.calls.clear();

    // The secret's place is taken by a folder, so it cannot be written.
    const auto secretFile = folder.getChildFile ("TwitterTokenSecret.txt");
    const auto blocker = folder.getChildFile ("TwitterTokenSecret.txt.new");
    ASSERT_TRUE (blocker.createDirectory());

    EXPECT_FALSE (client.setAndSaveAccessToken ("new", "pair2"));
    EXPECT_FALSE (client.hasAccessToken());
    EXPECT_EQ (folder.getChildFile ("TwitterTokenKey.txt").loadFileAsString(), juce::String ("old"));
    EXPECT_EQ (secretFile.loadFileAsString(), juce::String ("pair"));
    tarnombi::test::runMessageLoopFor (50);
    EXPECT_TRUE (recorder.calls.empty()) << "a failed save does not notify";
    blocker.deleteRecursively();
}

TEST (TwitterReplyAnalysis, ErrorMembers)
{
    struct Case
    {
        const char* body;
        bool success;
        int code;
        const char* message;
    };
    const Case cases[] = {
        { R"({"id_str":"1"})", true, 0, "" },
        { R"({"errors":[{"code":89,"message":"Invalid or expired token."}]})", false, 89, "Invalid or expired token." },
        { R"({"errors":[{"code":1,"message":"a"},{"code":2,"message":"b"}]})", false, 2, "b" }, // the last one decides
        { R"({"errors":[{"code":1,"message":"a"},"x",{"code":2,"message":"b"}]})", false, 1, "a" }, // stops at a non-object
        { R"({"errors":[{"message":"no code"}]})", false, -1, "no code" },
        { R"({"errors":[{"code":"34"}]})", false, 34, "" },
        { R"({"errors":"Something is wrong."})", false, -2, "Something is wrong." },
        { R"({"errors":{"code":5}})", false, -1, "" },
        { R"({"errors":[]})", false, -1, "" },
        { "[1]", false, -1, "" },
        { "Error processing your OAuth request", false, -1, "" },
        { "", false, -1, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.body);
        TwitterReplyAnalyzer analyzer (c.body);
        EXPECT_EQ (analyzer.isSucceeded(), c.success);
        EXPECT_EQ (analyzer.getErrorCode(), c.code);
        EXPECT_EQ (analyzer.getErrorMessage(), c.message);
    }
}

TEST (TwitterResultTexts, EveryCodeHasItsKey)
{
    const char* const keys[] = { "TwitterResultNoError",
                                 "TwitterResultErrorInternal",
                                 "TwitterResultTimeout",
                                 "TwitterResultNetworkError",
                                 "TwitterResultErrorPinIsEmpty",
                                 "TwitterResultErrorNoAccessToken",
                                 "TwitterResultErrorAccountIsNotAuthorized",
                                 "TwitterResultFailedToOpenTokenFile",
                                 "TwitterResultFailedToWriteTokenFile",
                                 "TwitterResultErrorGetRequestToken",
                                 "TwitterResultErrorGetAccessToken",
                                 "TwitterResultErrorFailedToVerifyAccount",
                                 "TwitterResultErrorEmptyAccountInformation",
                                 "TwitterResultErrorTweetIsEmpty",
                                 "TwitterResultErrorFailedToPostTweet",
                                 "TwitterResultErrorSearchWordIsEmpty",
                                 "TwitterResultErrorFailedToSearch",
                                 "TwitterResultErrorFailedToAnalyzeSearchResult",
                                 "TwitterResultErrorFailedToRetweet",
                                 "TwitterResultErrorFailedToDeleteTweet",
                                 "TwitterResultErrorFailedToGetConfiguration",
                                 "TwitterResultErrorUserIdIsEmpty" };

    for (int code = 0; code < NumTwitterResultCodes; ++code)
    {
        EXPECT_EQ (getTwitterErrorKey (code), keys[code]);
        EXPECT_EQ (getTwitterErrorString (code), getLocalizedString (keys[code]));
    }
    EXPECT_EQ (getTwitterErrorKey (-1), "TwitterResultErrorInternal");
    EXPECT_EQ (getTwitterErrorKey (22), "TwitterResultErrorInternal");
}

TEST (TwitterConfiguration, EnvironmentOverridesTheDefaults)
{
    for (const auto* name : { "TARNOMBI_TWITTER_API_HOST", "TARNOMBI_TWITTER_API_SCHEME",
                              "TARNOMBI_TWITTER_CONSUMER_KEY", "TARNOMBI_TWITTER_CONSUMER_SECRET" })
        unsetenv (name);

    EXPECT_EQ (TwitterServiceConfiguration::getApiHost(), "api.twitter.com");
    EXPECT_EQ (TwitterServiceConfiguration::getProtocolType(), twitCurlTypes::eTwitCurlProtocolHttps);
    const auto key = TwitterServiceConfiguration::getConsumerKey();
    const auto secret = TwitterServiceConfiguration::getConsumerSecret();
    EXPECT_EQ (key.length(), 22);
    EXPECT_EQ (secret.length(), 42);
    EXPECT_TRUE (key.containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"));
    EXPECT_TRUE (secret.containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"));

    setenv ("TARNOMBI_TWITTER_API_HOST", "127.0.0.1:8089", 1);
    setenv ("TARNOMBI_TWITTER_API_SCHEME", "http", 1);
    setenv ("TARNOMBI_TWITTER_CONSUMER_KEY", "k", 1);
    setenv ("TARNOMBI_TWITTER_CONSUMER_SECRET", "s", 1);
    EXPECT_EQ (TwitterServiceConfiguration::getApiHost(), "127.0.0.1:8089");
    EXPECT_EQ (TwitterServiceConfiguration::getProtocolType(), twitCurlTypes::eTwitCurlProtocolHttp);
    EXPECT_EQ (TwitterServiceConfiguration::getConsumerKey(), "k");
    EXPECT_EQ (TwitterServiceConfiguration::getConsumerSecret(), "s");

    // The start-up step hands the configured pair to the client, tokens in the preferences folder.
    const auto folder = makeTemporaryFolder ("startup");
    x38200_application::initializeTwitter (folder);
    EXPECT_EQ (TwitterClient::instance().getConsumerKey(), "k");
    EXPECT_EQ (TwitterClient::instance().getTwitCurl().getOAuth().getConsumerSecret(), "s");
    EXPECT_EQ (TwitterClient::instance().getTokenKeyFile(), folder.getChildFile ("TwitterTokenKey.txt"));

    for (const auto* name : { "TARNOMBI_TWITTER_API_HOST", "TARNOMBI_TWITTER_API_SCHEME",
                              "TARNOMBI_TWITTER_CONSUMER_KEY", "TARNOMBI_TWITTER_CONSUMER_SECRET" })
        unsetenv (name);
}
} // namespace
