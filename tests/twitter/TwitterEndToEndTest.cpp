// The client's tasks against the local stand-in of the service, over real HTTP.

#include "application/CPXRResource.h"
#include "support/TestSupport.h"
#include "twitter/TwitterClient.h"
#include "twitter/TwitterServiceProcess.h"
#include "twitter/TwitterTask.h"
#include "twitter/TwitterTaskProcessor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
using namespace twitter;
using tarnombi::test::TwitterServiceProcess;

// Records when a task tells its owner that it has finished, and on which thread.
struct TaskOwner : public juce::ChangeListener
{
    std::vector<TwitterTaskBase*> finished;
    bool allOnMessageThread = true;

    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        allOnMessageThread = allOnMessageThread && juce::MessageManager::getInstance()->isThisTheMessageThread();
        finished.push_back (dynamic_cast<TwitterTaskBase*> (source));
    }
};

class TwitterEndToEnd : public ::testing::Test
{
protected:
    // Tasks leave the processor when they are destroyed; the service process is stopped by
    // its id when the fixture goes.

    // Starts the service with the given switches and points the client at it.
    void startService (const juce::StringArray& switches = {}, const juce::String& consumerSecret = TwitterServiceProcess::ConsumerSecret)
    {
        service = std::make_unique<TwitterServiceProcess> (switches);
        ASSERT_TRUE (service->isRunning());

        auto& request = client.getTwitCurl();
        request.setTwitterApiHost (service->getHost().toStdString());
        request.setTwitterProcotolType (twitCurlTypes::eTwitCurlProtocolHttp);
        client.initialize (tarnombi::test::makeTemporaryFolder ("e2e-" + juce::String (++counter)),
                           TwitterServiceProcess::ConsumerKey, consumerSecret);
        TwitterAuthorizer::instance().setVerified (false);
    }

    void authorize()
    {
        ASSERT_TRUE (client.setAndSaveAccessToken (TwitterServiceProcess::AccessTokenKey,
                                                   TwitterServiceProcess::AccessTokenSecret));
    }

    // Hands the task to the processor and runs the message loop until its owner hears of it.
    bool run (TwitterTaskBase& task, int timeoutMs = 20000)
    {
        const auto before = owner.finished.size();
        task.addChangeListener (&owner);
        processor.executeTask (&task);
        const bool done = tarnombi::test::runMessageLoopUntil ([&] { return owner.finished.size() > before; }, timeoutMs);
        task.removeChangeListener (&owner);
        return done;
    }

    juce::String url (const juce::String& path) const { return "http://" + service->getHost() + "/" + path; }

    static int counter;
    TwitterClient& client = TwitterClient::instance();
    TwitterTaskProcessor& processor = TwitterTaskProcessor::instance();
    std::unique_ptr<TwitterServiceProcess> service;
    TaskOwner owner;
};

int TwitterEndToEnd::counter = 0;

TEST_F (TwitterEndToEnd, AuthorizationByPin)
{
    startService();

    TwitterGetRequestTokenTask requestToken;
    ASSERT_TRUE (run (requestToken));
    EXPECT_EQ (requestToken.getResultCode(), 0) << requestToken.getResultText();
    EXPECT_EQ (requestToken.getAuthorizeUrl(), url ("oauth/authorize?oauth_token=RequestToken1"));

    TwitterGetAccessTokenTask accessToken;
    ASSERT_TRUE (run (accessToken));
    EXPECT_EQ (accessToken.getResultCode(), 4) << "no PIN";

    // A wrong PIN is refused by the service; the request token must not pass for an access token.
    accessToken.setPin ("0000000");
    ASSERT_TRUE (run (accessToken));
    EXPECT_EQ (accessToken.getResultCode(), 10);
    EXPECT_EQ (accessToken.getResultText(), "Failed to get access token.");
    EXPECT_TRUE (accessToken.getAccessTokenKey().isEmpty());

    accessToken.setPin (TwitterServiceProcess::Pin);
    ASSERT_TRUE (run (accessToken));
    EXPECT_EQ (accessToken.getResultCode(), 0) << accessToken.getResultText();
    EXPECT_EQ (accessToken.getAccessTokenKey(), TwitterServiceProcess::AccessTokenKey);
    EXPECT_EQ (accessToken.getAccessTokenSecret(), TwitterServiceProcess::AccessTokenSecret);
    ASSERT_TRUE (client.setAndSaveAccessToken (accessToken.getAccessTokenKey(), accessToken.getAccessTokenSecret()));

    TwitterAccountVerifyTask verify;
    ASSERT_TRUE (run (verify));
    EXPECT_EQ (verify.getResultCode(), 0) << verify.getResultText();
    EXPECT_EQ (verify.getUserName(), "Tarn User");
    EXPECT_EQ (verify.getScreenName(), "tarn_user");
    EXPECT_EQ (verify.getUserId(), "12345");
    EXPECT_TRUE (owner.allOnMessageThread);

    EXPECT_EQ (service->countLogLines ("refused="), 1) << "the wrong PIN, nothing else: "
                                                       << service->getLog().joinIntoString ("\n");
}

TEST_F (TwitterEndToEnd, AuthenticatedRequestsAreAcceptedAndVerifiedOnce)
{
    startService();
    authorize();

    // Search, without and with a maximum id, for a text that needs encoding.
    const auto query = juce::String::fromUTF8 ("Tarn \xc3\xa9 & +1");
    TwitterSearchTask search;
    search.setQuery (query);
    ASSERT_TRUE (run (search));
    EXPECT_EQ (search.getResultCode(), 0) << search.getResultText();
    ASSERT_EQ (search.getTweets().size(), 3);
    EXPECT_EQ (search.getTweets()[0].id, "300");
    EXPECT_EQ (search.getTweets()[0].text, query + " #300") << "the query reached the service intact";
    EXPECT_EQ (search.getTweets()[0].fromUser.screenName, "other_user");

    search.setQuery ("x");
    search.setMaxId ("200");
    ASSERT_TRUE (run (search));
    EXPECT_EQ (search.getResultCode(), 0);
    ASSERT_EQ (search.getTweets().size(), 2);
    EXPECT_EQ (search.getTweets()[0].id, "200");
    EXPECT_EQ (service->countLogLines ("GET 1.1/search/tweets.json?q=x&result_type=mixed&count=150&max_id=200&include_entities=true"), 1);

    search.setMaxId ({});
    ASSERT_TRUE (run (search));
    EXPECT_EQ (service->countLogLines ("GET 1.1/search/tweets.json?q=x&result_type=mixed&count=150&include_entities=true"), 1);

    // Posting twice (a body with non-ASCII text and reserved characters), retweet, delete, configuration.
    const auto text = juce::String::fromUTF8 ("Preset \xe3\x82\xbf\xe3\x83\xb3 #1 a+b=c&d!");
    TwitterPostTweetTask post;
    post.setTweetText (text);
    ASSERT_TRUE (run (post));
    EXPECT_EQ (post.getResultCode(), 0) << post.getResultText();
    EXPECT_EQ (post.getPostedTweet().id, "9001");
    EXPECT_EQ (post.getPostedTweet().text, text);
    ASSERT_TRUE (run (post));
    EXPECT_EQ (post.getResultCode(), 0);

    TwitterRetweetTask retweet ("300");
    ASSERT_TRUE (run (retweet));
    EXPECT_EQ (retweet.getResultCode(), 0) << retweet.getResultText();

    TwitterDeleteTweetTask destroy ("9001");
    ASSERT_TRUE (run (destroy));
    EXPECT_EQ (destroy.getResultCode(), 0) << destroy.getResultText();

    TwitterGetConfigurationTask configuration;
    EXPECT_EQ (configuration.getShortUrlLength(), 22);
    EXPECT_EQ (configuration.getShortUrlLengthHttps(), 23);
    ASSERT_TRUE (run (configuration));
    EXPECT_EQ (configuration.getResultCode(), 0) << configuration.getResultText();
    EXPECT_EQ (configuration.getShortUrlLength(), 23);
    EXPECT_EQ (configuration.getShortUrlLengthHttps(), 24);

    EXPECT_EQ (service->countLogLines ("refused="), 0) << service->getLog().joinIntoString ("\n");
    EXPECT_EQ (service->countLogLines ("POST 1.1/statuses/retweet/300.json? body=text=dummy signature=ok"), 1);
    EXPECT_EQ (service->countLogLines ("DELETE 1.1/statuses/destroy/9001.json?"), 1);
    EXPECT_EQ (service->countLogLines ("1.1/account/verify_credentials.json"), 1) << "verified once per run";
    EXPECT_TRUE (owner.allOnMessageThread);
}

TEST_F (TwitterEndToEnd, SignaturesOfEveryMethodWithQueryAndBodyAreAccepted)
{
    startService();

    oAuth signer;
    signer.setConsumerKey (TwitterServiceProcess::ConsumerKey);
    signer.setConsumerSecret (TwitterServiceProcess::ConsumerSecret);
    signer.setOAuthTokenKey (TwitterServiceProcess::AccessTokenKey);
    signer.setOAuthTokenSecret (TwitterServiceProcess::AccessTokenSecret);

    const auto nonAscii = oAuth::urlencode ("\xc3\xa9\xe3\x82\xbf \xf0\x9f\x8e\xb9");
    const auto reserved = oAuth::urlencode ("a+b=c&d/e?f!*'()");

    struct Case
    {
        _eOAuthHttpRequestType type;
        const char* method;
        std::string query;
        std::string body;
    };
    const Case cases[] = {
        { eOAuthHttpGet, "GET", "q=" + nonAscii + "&count=5", "" },
        { eOAuthHttpGet, "GET", "b=" + reserved + "&a=" + nonAscii + "&a2=", "" },
        { eOAuthHttpPost, "POST", "", "status=" + nonAscii },
        { eOAuthHttpPost, "POST", "x=" + reserved, "status=" + nonAscii + "&text=" + reserved },
        { eOAuthHttpDelete, "DELETE", "", "" },
        { eOAuthHttpDelete, "DELETE", "id=" + nonAscii + "&z=1", "" },
    };

    auto* handle = curl_easy_init();
    ASSERT_NE (handle, nullptr);
    for (const auto& c : cases)
    {
        const auto base = "http://" + service->getHost().toStdString() + "/check/signature";
        const auto address = c.query.empty() ? base : base + "?" + c.query;
        SCOPED_TRACE (std::string (c.method) + " " + address + " " + c.body);

        std::string header;
        ASSERT_TRUE (signer.getOAuthHeader (c.type, address, c.body, header));

        auto* headers = curl_slist_append (nullptr, header.c_str());
        curl_easy_reset (handle);
        curl_easy_setopt (handle, CURLOPT_URL, address.c_str());
        curl_easy_setopt (handle, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt (handle, CURLOPT_TIMEOUT_MS, 5000L);
        curl_easy_setopt (handle, CURLOPT_WRITEFUNCTION, +[] (char*, size_t size, size_t count, void*) { return size * count; });
        if (c.type != eOAuthHttpGet)
            curl_easy_setopt (handle, CURLOPT_COPYPOSTFIELDS, c.body.c_str());
        if (c.type == eOAuthHttpDelete)
            curl_easy_setopt (handle, CURLOPT_CUSTOMREQUEST, "DELETE");
        EXPECT_EQ (curl_easy_perform (handle), CURLE_OK);
        curl_slist_free_all (headers);
    }
    curl_easy_cleanup (handle);

    const auto log = service->getLog();
    ASSERT_EQ (log.size(), (int) std::size (cases));
    for (int i = 0; i < log.size(); ++i)
    {
        EXPECT_TRUE (log[i].startsWith (cases[i].method)) << log[i];
        EXPECT_TRUE (log[i].endsWith ("signature=ok")) << log[i];
    }
}

TEST_F (TwitterEndToEnd, InputChecksSendNothing)
{
    startService();

    // Without an access token nothing that speaks for the user is sent.
    TwitterSearchTask search;
    search.setQuery ("x");
    ASSERT_TRUE (run (search));
    EXPECT_EQ (search.getResultCode(), 5);
    EXPECT_EQ (search.getResultText(), "No access token to verify account.");

    authorize();
    struct Case
    {
        std::function<std::unique_ptr<TwitterTaskBase>()> make;
        int code;
    };
    const Case cases[] = {
        { [] { return std::make_unique<TwitterSearchTask>(); }, 15 },
        { [] { return std::make_unique<TwitterPostTweetTask>(); }, 13 },
        { [] { return std::make_unique<TwitterRetweetTask>(); }, 1 },
        { [] { return std::make_unique<TwitterDeleteTweetTask>(); }, 1 },
        { [] { return std::make_unique<TwitterGetProfileImageTask>(); }, 21 },
    };
    for (const auto& c : cases)
    {
        auto task = c.make();
        ASSERT_TRUE (run (*task));
        EXPECT_EQ (task->getResultCode(), c.code) << task->getTaskMessage();
        processor.removeTask (task.get());
    }

    EXPECT_EQ (service->getLog().size(), 0) << service->getLog().joinIntoString ("\n");
}

TEST_F (TwitterEndToEnd, ProfilePicture)
{
    startService();

    TwitterGetProfileImageTask picture ("777", url ("profile/777.png"));
    ASSERT_TRUE (run (picture));
    EXPECT_EQ (picture.getResultCode(), 0);
    ASSERT_TRUE (TwitterProfileImageCache::instance().hasImage ("777"));
    EXPECT_EQ (TwitterProfileImageCache::instance().getImage ("777").getWidth(), 1);

    // A missing picture leaves the code at 0 and the cache without it.
    TwitterGetProfileImageTask missing ("778", url ("profile/778.gif"));
    ASSERT_TRUE (run (missing));
    EXPECT_EQ (missing.getResultCode(), 0);
    EXPECT_FALSE (TwitterProfileImageCache::instance().hasImage ("778"));
    EXPECT_TRUE (TwitterProfileImageCache::instance().getImage ("778").isNull());
}

TEST_F (TwitterEndToEnd, RefusedSignature)
{
    // The client signs with another consumer secret than the service knows.
    startService ({}, "WrongSecret0000000000000000000000000000000");

    TwitterGetRequestTokenTask requestToken;
    ASSERT_TRUE (run (requestToken));
    EXPECT_EQ (requestToken.getResultCode(), 9);
    EXPECT_EQ (requestToken.getResultText(), "Failed to get request token.");
    EXPECT_TRUE (requestToken.getAuthorizeUrl().isEmpty());

    authorize();
    TwitterPostTweetTask post;
    post.setTweetText ("hello");
    ASSERT_TRUE (run (post));
    EXPECT_EQ (post.getResultCode(), 11) << "the verification before the post is refused";
    EXPECT_EQ (post.getErrorCode(), 32);
    EXPECT_EQ (post.getResultText(), "Could not authenticate you.");
    EXPECT_EQ (getTwitterErrorString (post.getResultCode()), getLocalizedString ("TwitterResultErrorFailedToVerifyAccount"));
    EXPECT_EQ (service->countLogLines ("1.1/statuses/update.json"), 0);
}

TEST_F (TwitterEndToEnd, ServiceErrorsGiveEachTaskItsCode)
{
    struct Case
    {
        const char* fault;
        std::function<std::unique_ptr<TwitterTaskBase>()> make;
        int code;
        int errorCode;
        const char* text;
    };

    const auto post = []
    {
        auto task = std::make_unique<TwitterPostTweetTask>();
        task->setTweetText ("hello");
        return std::unique_ptr<TwitterTaskBase> (std::move (task));
    };
    const auto search = []
    {
        auto task = std::make_unique<TwitterSearchTask>();
        task->setQuery ("x");
        return std::unique_ptr<TwitterTaskBase> (std::move (task));
    };

    const Case cases[] = {
        { "1.1/account/verify_credentials.json=errors", [] { return std::make_unique<TwitterAccountVerifyTask>(); }, 11, 89, "Invalid or expired token." },
        { "1.1/statuses/update.json=errors", post, 14, 89, "Invalid or expired token." },
        { "1.1/search/tweets.json=errors-string", search, 16, -2, "Something is wrong." },
        { "1.1/statuses/retweet/5.json=status500", [] { return std::make_unique<TwitterRetweetTask> ("5"); }, 18, -1, "" },
        { "1.1/statuses/destroy/5.json=errors", [] { return std::make_unique<TwitterDeleteTweetTask> ("5"); }, 19, 89, "Invalid or expired token." },
        { "1.1/help/configuration.json=status500", [] { return std::make_unique<TwitterGetConfigurationTask>(); }, 20, -1, "" },
        { "1.1/account/verify_credentials.json=empty", [] { return std::make_unique<TwitterAccountVerifyTask>(); }, 11, -1, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.fault);
        startService ({ "--fault", c.fault });
        authorize();

        auto task = c.make();
        ASSERT_TRUE (run (*task));
        EXPECT_EQ (task->getResultCode(), c.code);
        EXPECT_EQ (task->getErrorCode(), c.errorCode);
        EXPECT_EQ (task->getResultText(), c.text);

        processor.removeTask (task.get());
        service.reset();
    }
}

TEST_F (TwitterEndToEnd, UnusualAnswerBodies)
{
    const auto folder = tarnombi::test::makeTemporaryFolder ("bodies");
    const auto xml = folder.getChildFile ("access.xml");
    xml.replaceWithText (R"(<?xml version="1.0" encoding="UTF-8"?><hash><error>Invalid oauth_verifier parameter</error></hash>)");
    const auto broken = folder.getChildFile ("broken.json");
    broken.replaceWithText (R"({"statuses":[{"id_str":"1","user":{}}]})");
    const auto noLength = folder.getChildFile ("configuration.json");
    noLength.replaceWithText (R"({"photo_size_limit":3145728})");

    // An access-token answer that is an XML document.
    startService ({ "--body", "oauth/access_token=" + xml.getFullPathName() });
    client.getTwitCurl().getOAuth().setOAuthTokenKey ("RequestToken1");
    client.getTwitCurl().getOAuth().setOAuthTokenSecret ("RequestSecret1");
    TwitterGetAccessTokenTask accessToken;
    accessToken.setPin (TwitterServiceProcess::Pin);
    ASSERT_TRUE (run (accessToken));
    EXPECT_EQ (accessToken.getResultCode(), 10);
    EXPECT_EQ (accessToken.getErrorCode(), 1);

    // A search answer whose status lacks its entities.
    startService ({ "--body", "1.1/search/tweets.json=" + broken.getFullPathName(), "--body",
                    "1.1/help/configuration.json=" + noLength.getFullPathName() });
    authorize();
    TwitterSearchTask search;
    search.setQuery ("x");
    ASSERT_TRUE (run (search));
    EXPECT_EQ (search.getResultCode(), 17);
    EXPECT_EQ (search.getResultText(), "Failed to analyze search result.");
    EXPECT_TRUE (search.getTweets().isEmpty());

    // A configuration without the lengths sets them to 0.
    TwitterGetConfigurationTask configuration;
    ASSERT_TRUE (run (configuration));
    EXPECT_EQ (configuration.getResultCode(), 0);
    EXPECT_EQ (configuration.getShortUrlLength(), 0);
    EXPECT_EQ (configuration.getShortUrlLengthHttps(), 0);

    // An empty search answer is an empty list.
    startService ({ "--fault", "1.1/search/tweets.json=empty" });
    authorize();
    ASSERT_TRUE (run (search));
    EXPECT_EQ (search.getResultCode(), 0);
    EXPECT_TRUE (search.getTweets().isEmpty());
}

TEST_F (TwitterEndToEnd, StalledAnswerTimesOutWithoutBlockingTheMessageThread)
{
    startService ({ "--fault", "1.1/search/tweets.json=stall" });
    authorize();

    TwitterSearchTask search;
    search.setQuery ("x");
    search.addChangeListener (&owner);

    const auto start = juce::Time::getMillisecondCounter();
    processor.executeTask (&search);

    // While the worker waits for the service, the message thread goes on handling messages.
    int ticks = 0;
    while (owner.finished.empty() && juce::Time::getMillisecondCounter() - start < 20000)
    {
        bool delivered = false;
        juce::MessageManager::callAsync ([&] { delivered = true; });
        ASSERT_TRUE (tarnombi::test::runMessageLoopUntil ([&] { return delivered || ! owner.finished.empty(); }, 1000));
        if (delivered)
            ++ticks;
        tarnombi::test::runMessageLoopFor (50);
    }
    search.removeChangeListener (&owner);

    ASSERT_EQ (owner.finished.size(), 1u);
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, 4500u);
    EXPECT_GT (ticks, 20);
    EXPECT_EQ (search.getResultCode(), 3);
    EXPECT_TRUE (search.getResultText().containsIgnoreCase ("timed out")) << search.getResultText();
    EXPECT_EQ (getTwitterErrorString (3), getLocalizedString ("TwitterResultNetworkError"));
}

TEST_F (TwitterEndToEnd, DroppedConnection)
{
    startService ({ "--fault", "1.1/statuses/update.json=drop" });
    authorize();

    TwitterPostTweetTask post;
    post.setTweetText ("hello");
    ASSERT_TRUE (run (post));
    EXPECT_EQ (post.getResultCode(), 3);
    EXPECT_TRUE (post.getResultText().isNotEmpty());
    EXPECT_EQ (service->countLogLines ("dropped"), 1);
}

TEST_F (TwitterEndToEnd, TasksRunInSubmissionOrderAndCanBeRemoved)
{
    startService ({ "--fault", "1.1/help/configuration.json=stall" });
    authorize();

    // Three tasks handed in at once finish in the order they were handed in.
    TwitterSearchTask first, second;
    first.setQuery ("first");
    second.setQuery ("second");
    TwitterRetweetTask third ("7");
    for (auto* task : std::initializer_list<TwitterTaskBase*> { &first, &second, &third })
    {
        task->addChangeListener (&owner);
        processor.executeTask (task);
    }
    ASSERT_TRUE (tarnombi::test::runMessageLoopUntil ([&] { return owner.finished.size() == 3; }, 20000));
    EXPECT_EQ (owner.finished, (std::vector<TwitterTaskBase*> { &first, &second, &third }));

    // A task stuck on a slow answer stops when it is removed, well before its time-out.
    TwitterGetConfigurationTask stalled;
    processor.executeTask (&stalled);
    ASSERT_TRUE (tarnombi::test::runMessageLoopUntil ([&] { return service->countLogLines ("help/configuration") > 0; }, 5000));
    const auto start = juce::Time::getMillisecondCounter();
    processor.removeTask (&stalled);
    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 3000u);

    for (auto* task : std::initializer_list<TwitterTaskBase*> { &first, &second, &third })
        task->removeChangeListener (&owner);
}
} // namespace
