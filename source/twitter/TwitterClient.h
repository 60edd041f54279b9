#pragma once

#include "application/Singleton.h"
#include "twitter/TwitCurl.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <atomic>

namespace twitter
{
class TwitterClientListener
{
public:
    virtual ~TwitterClientListener() = default;
    virtual void twitterStatusChanged (bool authorized) = 0;
};

// The owner of the one request object, the application's consumer pair and the user's
// access token, which it keeps in two small files in the preferences folder. Changes of
// the authorization reach the listeners on the message thread.
class TwitterClient : public Singleton<TwitterClient>,
                      public ListenerHolder<TwitterClientListener>,
                      public juce::AsyncUpdater,
                      public juce::DeletedAtShutdown
{
public:
    static constexpr const char* TokenFileName = "TwitterTokenKey.txt";
    static constexpr const char* TokenSecretFileName = "TwitterTokenSecret.txt";

    TwitterClient();
    ~TwitterClient() override;

    void initialize (const juce::File& folder, const juce::String& consumerKey, const juce::String& consumerSecret);

    bool loadAccessTokenFile();
    bool hasAccessToken() const;
    bool setAndSaveAccessToken (const juce::String& key, const juce::String& secret);
    void deleteAccessToken();

    juce::String getAccessTokenKey() const;
    juce::String getAccessTokenSecret() const;
    const juce::String& getConsumerKey() const { return consumerKey; }
    const juce::String& getConsumerSecret() const { return consumerSecret; }
    const juce::File& getTokenKeyFile() const { return tokenKeyFile; }
    const juce::File& getTokenSecretFile() const { return tokenSecretFile; }

    // Used only by the task processor's worker thread while tasks run.
    twitCurl& getTwitCurl() { return request; }

    void handleAsyncUpdate() override;

    // Reads a token file: the bytes up to the first zero byte, as UTF-8. False when the
    // file cannot be read.
    static bool readTokenFile (const juce::File& file, juce::String& token);

private:
    twitCurl request;
    juce::String consumerKey;
    juce::String consumerSecret;
    juce::File folder;
    juce::File tokenKeyFile;
    juce::File tokenSecretFile;
    // The worker thread reads the token while the message thread may replace it.
    juce::CriticalSection tokenLock;
    juce::String accessTokenKey;
    juce::String accessTokenSecret;

    JUCE_DECLARE_NON_COPYABLE (TwitterClient)
};

// Checks once per run, before the first authenticated request, that the service accepts
// the stored access token. Runs inside tasks, on the task processor's worker thread.
// Lives for the rest of the run once made (not deleted at shut-down).
class TwitterAuthorizer : public Singleton<TwitterAuthorizer>
{
public:
    TwitterAuthorizer() = default;

    int execute();

    const juce::String& getResultText() const { return resultText; }
    int getErrorCode() const { return errorCode; }
    bool isVerified() const { return verified; }
    void setVerified (bool shouldBeVerified) { verified = shouldBeVerified; }

private:
    juce::String resultText;
    int errorCode = 0;
    std::atomic<bool> verified { false };
};
} // namespace twitter
