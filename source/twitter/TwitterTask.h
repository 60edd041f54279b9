#pragma once

#include "twitter/Tweet.h"
#include "twitter/TwitCurl.h"
#include "twitter/TwitterResult.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <string>

namespace twitter
{
// Decides from an answer body whether the service reported errors (an "errors" member).
class TwitterReplyAnalyzer
{
public:
    explicit TwitterReplyAnalyzer (const juce::String& replyText);
    virtual ~TwitterReplyAnalyzer() = default;

    bool isSucceeded() const { return success; }
    int getErrorCode() const { return errorCode; }
    const juce::String& getErrorMessage() const { return errorMessage; }

private:
    void analyze();

    juce::String text;
    bool success = false;
    int errorCode = -1;
    juce::String errorMessage;
};

// One unit of work against the service. It runs on the task processor's worker thread and
// leaves a result code, an error code and a text behind; its change message reaches the
// owner on the message thread when it has finished. The owner keeps the task and may run
// it again after setting new inputs.
class TwitterTaskBase : public juce::ThreadPoolJob, public juce::ChangeBroadcaster
{
public:
    TwitterTaskBase (int type, const juce::String& name, const juce::String& messageKey);
    ~TwitterTaskBase() override;

    JobStatus runJob() override;
    virtual bool execute() = 0;

    int getTaskType() const { return taskType; }
    const juce::String& getResultText() const { return resultText; }
    const juce::String& getTaskMessage() const { return taskMessage; }
    int getResultCode() const { return resultCode; }
    int getErrorCode() const { return errorCode; }
    int getRetryCount() const { return retryCount; }
    void setRetryCount (int count) { retryCount = juce::jmax (0, count); }
    int getRetryInterval() const { return retryInterval; }
    void setRetryInterval (int milliseconds) { retryInterval = juce::jmax (0, milliseconds); }

protected:
    twitCurl& getTwitCurl();

    // The shared steps of the tasks that speak for the user: verify the account, perform
    // the request, and judge the answer. Returns true with the body when the service
    // accepted the request; otherwise the task's result fields hold the failure.
    bool performAuthenticatedRequest (int failureCode, const std::function<bool (twitCurl&)>& request,
                                      juce::String& body, bool emptyBodyIsSuccess = false);
    void setTransferFailure();
    static juce::String getLastBody (const twitCurl& request);

    int taskType;
    juce::String resultText;
    juce::String taskMessage;
    int resultCode = 0;
    int errorCode = 0;
    int retryCount = 0;
    int retryInterval = 500;
};

class TwitterAccountVerifyTask : public TwitterTaskBase
{
public:
    TwitterAccountVerifyTask();
    bool execute() override;

    const juce::String& getUserName() const { return userName; }
    const juce::String& getScreenName() const { return screenName; }
    const juce::String& getUserId() const { return userId; }

private:
    juce::String userName, screenName, userId;
};

class TwitterGetRequestTokenTask : public TwitterTaskBase
{
public:
    TwitterGetRequestTokenTask();
    bool execute() override;

    const juce::String& getAuthorizeUrl() const { return authorizeUrl; }

private:
    juce::String authorizeUrl;
};

class TwitterGetAccessTokenTask : public TwitterTaskBase
{
public:
    TwitterGetAccessTokenTask();
    bool execute() override;

    void setPin (const juce::String& newPin) { pin = newPin; }
    const juce::String& getPin() const { return pin; }
    const juce::String& getAccessTokenKey() const { return accessTokenKey; }
    const juce::String& getAccessTokenSecret() const { return accessTokenSecret; }

private:
    juce::String pin, accessTokenKey, accessTokenSecret;
};

class TwitterPostTweetTask : public TwitterTaskBase
{
public:
    TwitterPostTweetTask();
    bool execute() override;

    void setTweetText (const juce::String& newText) { tweetText = newText; }
    const juce::String& getTweetText() const { return tweetText; }
    const Tweet& getPostedTweet() const { return postedTweet; }

private:
    juce::String tweetText;
    Tweet postedTweet;
};

class TwitterSearchTask : public TwitterTaskBase
{
public:
    TwitterSearchTask();
    bool execute() override;

    void setQuery (const juce::String& newQuery) { query = newQuery; }
    const juce::String& getQuery() const { return query; }
    void setCount (int newCount) { count = newCount; }
    int getCount() const { return count; }
    void setMaxId (const juce::String& newMaxId) { maxId = newMaxId; }
    const juce::String& getMaxId() const { return maxId; }
    const juce::Array<Tweet>& getTweets() const { return tweets; }

private:
    juce::String query;
    int count = 150;
    juce::String maxId;
    juce::Array<Tweet> tweets;
};

class TwitterGetProfileImageTask : public TwitterTaskBase
{
public:
    TwitterGetProfileImageTask();
    TwitterGetProfileImageTask (const juce::String& userId, const juce::String& imageUrl);
    bool execute() override;

    void setUserId (const juce::String& newUserId) { userId = newUserId; }
    const juce::String& getUserId() const { return userId; }
    void setImageUrl (const juce::String& newUrl) { imageUrl = newUrl; }
    const juce::String& getImageUrl() const { return imageUrl; }

    // A picture larger than this is not a profile picture and is not read.
    static constexpr size_t MaxImageBytes = 8 * 1024 * 1024;

private:
    juce::String userId, imageUrl;
};

class TwitterRetweetTask : public TwitterTaskBase
{
public:
    TwitterRetweetTask();
    explicit TwitterRetweetTask (const juce::String& tweetId);
    bool execute() override;

    void setTweetId (const juce::String& newId) { tweetId = newId; }
    const juce::String& getTweetId() const { return tweetId; }

private:
    juce::String tweetId;
};

class TwitterDeleteTweetTask : public TwitterTaskBase
{
public:
    TwitterDeleteTweetTask();
    explicit TwitterDeleteTweetTask (const juce::String& tweetId);
    bool execute() override;

    void setTweetId (const juce::String& newId) { tweetId = newId; }
    const juce::String& getTweetId() const { return tweetId; }

private:
    juce::String tweetId;
};

class TwitterGetConfigurationTask : public TwitterTaskBase
{
public:
    TwitterGetConfigurationTask();
    bool execute() override;

    int getShortUrlLength() const { return shortUrlLength; }
    int getShortUrlLengthHttps() const { return shortUrlLengthHttps; }

private:
    int shortUrlLength = 22;
    int shortUrlLengthHttps = 23;
};
} // namespace twitter
