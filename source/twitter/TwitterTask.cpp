#include "twitter/TwitterTask.h"

#include "data/Utf8Text.h"

#include "application/CPXRResource.h"
#include "twitter/TwitterClient.h"
#include "twitter/TwitterTaskProcessor.h"

#include <juce_graphics/juce_graphics.h>

namespace twitter
{
//==============================================================================
TwitterReplyAnalyzer::TwitterReplyAnalyzer (const juce::String& replyText) : text (replyText)
{
    analyze();
}

void TwitterReplyAnalyzer::analyze()
{
    const auto json = juce::JSON::parse (text);
    const auto* object = json.getDynamicObject();
    if (object == nullptr)
        return;

    if (! object->hasProperty ("errors"))
    {
        success = true;
        errorCode = 0;
        errorMessage.clear();
        return;
    }

    const auto& errors = object->getProperty ("errors");
    if (errors.isString())
    {
        errorMessage = errors.toString();
        errorCode = -2;
        return;
    }

    // Anything else counts as a list; the last error object decides code and message.
    if (const auto* list = errors.getArray())
    {
        for (const auto& item : *list)
        {
            if (! isJsonObject (item))
                break;

            const auto code = getJsonMemberText (item, "code");
            if (code.isNotEmpty())
                errorCode = code.getIntValue();
            errorMessage = getJsonMemberText (item, "message");
        }
    }
}

//==============================================================================
TwitterTaskBase::TwitterTaskBase (int type, const juce::String& name, const juce::String& messageKey)
    : juce::ThreadPoolJob (name), taskType (type), taskMessage (getLocalizedString (messageKey))
{
}

TwitterTaskBase::~TwitterTaskBase()
{
    // Owners remove their tasks from the processor first; this is the safety net.
    if (TwitterTaskProcessor::exists())
        TwitterTaskProcessor::instance().removeTask (this);
}

twitCurl& TwitterTaskBase::getTwitCurl()
{
    return TwitterClient::instance().getTwitCurl();
}

juce::ThreadPoolJob::JobStatus TwitterTaskBase::runJob()
{
    auto& request = getTwitCurl();
    request.setAbortCheck ([this] { return shouldExit(); });

    for (int attempt = 0; attempt <= retryCount; ++attempt)
    {
        resultCode = TwitterResultNoError;
        errorCode = 0;
        if (execute())
            break;

        // Wait before the next attempt (and after the last one), but not when told to stop.
        for (int waited = 0; waited < retryInterval && ! shouldExit(); waited += 10)
            juce::Thread::sleep (juce::jmin (10, retryInterval - waited));
        if (shouldExit())
            break;
    }

    request.setAbortCheck (nullptr);
    sendChangeMessage();
    return jobHasFinished;
}

juce::String TwitterTaskBase::getLastBody (const twitCurl& request)
{
    std::string body;
    request.getLastWebResponse (body);
    return data::stringFromUtf8 (body.data(), body.size());
}

void TwitterTaskBase::setTransferFailure()
{
    std::string error;
    getTwitCurl().getLastCurlError (error);
    resultText = juce::String::fromUTF8 (error.c_str());
    resultCode = TwitterResultNetworkError;
}

bool TwitterTaskBase::performAuthenticatedRequest (int failureCode, const std::function<bool (twitCurl&)>& request,
                                                   juce::String& body, bool emptyBodyIsSuccess)
{
    auto& authorizer = TwitterAuthorizer::instance();
    const int authorizerCode = authorizer.execute();
    if (authorizerCode != TwitterResultNoError)
    {
        resultText = authorizer.getResultText();
        errorCode = authorizer.getErrorCode();
        resultCode = authorizerCode;
        return false;
    }

    auto& twit = getTwitCurl();
    if (! request (twit))
    {
        setTransferFailure();
        return false;
    }

    body = getLastBody (twit);
    if (emptyBodyIsSuccess && body.isEmpty())
        return true;

    TwitterReplyAnalyzer analyzer (body);
    if (! analyzer.isSucceeded())
    {
        errorCode = analyzer.getErrorCode();
        resultText = analyzer.getErrorMessage();
        resultCode = failureCode;
        return false;
    }
    return true;
}

//==============================================================================
TwitterAccountVerifyTask::TwitterAccountVerifyTask()
    : TwitterTaskBase (1, "TwitterAccountVerify", "TwitterTaskAccountVerify")
{
}

bool TwitterAccountVerifyTask::execute()
{
    resultText.clear();
    userName.clear();
    screenName.clear();
    userId.clear();

    auto& authorizer = TwitterAuthorizer::instance();
    authorizer.setVerified (false);
    const int code = authorizer.execute();
    if (code != TwitterResultNoError)
    {
        resultText = authorizer.getResultText();
        errorCode = authorizer.getErrorCode();
        resultCode = code;
        return false;
    }

    const auto body = authorizer.getResultText();
    if (body.isEmpty())
    {
        resultCode = TwitterResultErrorEmptyAccountInformation;
        return false;
    }

    const auto json = juce::JSON::parse (body);
    if (isJsonObject (json))
    {
        userName = getJsonMemberText (json, "name");
        screenName = getJsonMemberText (json, "screen_name");
        userId = getJsonMemberText (json, "id_str");
    }
    resultText = body;
    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterGetRequestTokenTask::TwitterGetRequestTokenTask()
    : TwitterTaskBase (2, "TwitterGetRequestToken", "TwitterTaskGetRequestToken")
{
}

bool TwitterGetRequestTokenTask::execute()
{
    resultText.clear();
    authorizeUrl.clear();

    auto& request = getTwitCurl();
    request.getOAuth().setOAuthTokenKey ({});
    request.getOAuth().setOAuthTokenSecret ({});

    std::string url;
    if (! request.oAuthRequestToken (url))
    {
        setTransferFailure();
        return false;
    }

    if (url.empty())
    {
        resultText = "Failed to get request token.";
        errorCode = 0;
        resultCode = TwitterResultErrorGetRequestToken;
        return false;
    }

    authorizeUrl = juce::String::fromUTF8 (url.c_str());
    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterGetAccessTokenTask::TwitterGetAccessTokenTask()
    : TwitterTaskBase (3, "TwitterGetAccessToken", "TwitterTaskGetAccessToken")
{
}

bool TwitterGetAccessTokenTask::execute()
{
    resultText.clear();
    accessTokenKey.clear();
    accessTokenSecret.clear();

    if (pin.isEmpty())
    {
        resultCode = TwitterResultErrorPinIsEmpty;
        return false;
    }

    auto& request = getTwitCurl();
    request.getOAuth().setOAuthPin (pin.toStdString());
    if (! request.oAuthAccessToken())
    {
        setTransferFailure();
        return false;
    }

    std::string body;
    request.getLastWebResponse (body);

    const auto fail = [this] (int code)
    {
        resultText = "Failed to get access token.";
        errorCode = code;
        resultCode = TwitterResultErrorGetAccessToken;
        return false;
    };

    if (body.size() <= 2)
        return fail (0);

    if (juce::XmlDocument::parse (data::stringFromUtf8 (body.data(), body.size())) != nullptr)
        return fail (1);

    // Only a pair that this answer really holds is an access token: a refused answer
    // leaves the request token in the signing state, which must not pass for one.
    oAuth answer;
    if (! answer.extractOAuthTokenKeySecret (body))
        return fail (0);

    accessTokenKey = juce::String::fromUTF8 (answer.getOAuthTokenKey().c_str());
    accessTokenSecret = juce::String::fromUTF8 (answer.getOAuthTokenSecret().c_str());
    if (accessTokenKey.isEmpty() || accessTokenSecret.isEmpty())
    {
        accessTokenKey.clear();
        accessTokenSecret.clear();
        return fail (0);
    }

    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterPostTweetTask::TwitterPostTweetTask() : TwitterTaskBase (4, "TwitterPostTweet", "TwitterTaskPostTweet") {}

bool TwitterPostTweetTask::execute()
{
    resultText.clear();
    postedTweet.initialize();

    if (tweetText.isEmpty())
    {
        resultCode = TwitterResultErrorTweetIsEmpty;
        return false;
    }

    const auto text = tweetText.toStdString();
    juce::String body;
    if (! performAuthenticatedRequest (
            TwitterResultErrorFailedToPostTweet, [&text] (twitCurl& request) { return request.statusUpdate (text); },
            body))
        return false;

    TweetJsonAnalyzer analyzer (juce::JSON::parse (body));
    if (analyzer.isSucceeded())
        postedTweet = analyzer.getTweet();

    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterSearchTask::TwitterSearchTask() : TwitterTaskBase (5, "TwitterSearch", "TwitterTaskSearch") {}

bool TwitterSearchTask::execute()
{
    tweets.clear();
    resultText.clear();

    if (query.isEmpty())
    {
        resultCode = TwitterResultErrorSearchWordIsEmpty;
        return false;
    }

    const auto queryText = query.toStdString();
    const auto countText = juce::String (count).toStdString();
    const auto maxIdText = maxId.toStdString();

    juce::String body;
    if (! performAuthenticatedRequest (
            TwitterResultErrorFailedToSearch,
            [&] (twitCurl& request)
            {
                return maxIdText.empty() ? request.search (queryText, countText)
                                         : request.search (queryText, countText, maxIdText);
            },
            body, true))
        return false;

    resultText = body;
    if (body.isNotEmpty())
    {
        TwitterSearchResultAnalyzer analyzer (juce::JSON::parse (body));
        if (! analyzer.isSucceeded())
        {
            resultText = "Failed to analyze search result.";
            resultCode = TwitterResultErrorFailedToAnalyzeSearchResult;
            return false;
        }
        tweets = analyzer.getTweets();
    }

    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterGetProfileImageTask::TwitterGetProfileImageTask()
    : TwitterTaskBase (6, "TwitterGetProfileImage", "TwitterTaskGetProfileImage")
{
}

TwitterGetProfileImageTask::TwitterGetProfileImageTask (const juce::String& newUserId, const juce::String& newImageUrl)
    : TwitterGetProfileImageTask()
{
    userId = newUserId;
    imageUrl = newImageUrl;
}

namespace
{
struct Download
{
    juce::MemoryBlock data;
    bool tooLarge = false;
    const juce::ThreadPoolJob* job = nullptr;

    static size_t write (char* bytes, size_t size, size_t count, void* object)
    {
        auto* self = static_cast<Download*> (object);
        const auto length = size * count;
        if (self->data.getSize() + length > TwitterGetProfileImageTask::MaxImageBytes)
        {
            self->tooLarge = true;
            return 0;
        }
        self->data.append (bytes, length);
        return length;
    }

    static int progress (void* object, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        auto* self = static_cast<Download*> (object);
        return self->job->shouldExit() ? 1 : 0;
    }
};
} // namespace

bool TwitterGetProfileImageTask::execute()
{
    resultText.clear();
    if (userId.isEmpty())
    {
        resultCode = TwitterResultErrorUserIdIsEmpty;
        return false;
    }

    // The picture comes over its own handle (HTTPS included, certificates verified), not
    // over the request object of the signed requests. A failed download leaves the result
    // code at 0: the picture is simply missing.
    auto* handle = curl_easy_init();
    if (handle == nullptr)
        return false;

    Download download;
    download.job = this;
    const auto url = imageUrl.toStdString();
    curl_easy_setopt (handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt (handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt (handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt (handle, CURLOPT_TIMEOUT_MS, 5000L);
    curl_easy_setopt (handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt (handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt (handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt (handle, CURLOPT_WRITEFUNCTION, Download::write);
    curl_easy_setopt (handle, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt (handle, CURLOPT_XFERINFOFUNCTION, Download::progress);
    curl_easy_setopt (handle, CURLOPT_XFERINFODATA, &download);
    curl_easy_setopt (handle, CURLOPT_NOPROGRESS, 0L);

    const auto result = curl_easy_perform (handle);
    curl_easy_cleanup (handle);

    if (result != CURLE_OK || download.tooLarge || download.data.isEmpty())
        return false;

    const auto image = juce::ImageFileFormat::loadFrom (download.data.getData(), download.data.getSize());
    if (! image.isValid())
        return false;

    TwitterProfileImageCache::instance().addImage (userId, image);
    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterRetweetTask::TwitterRetweetTask() : TwitterTaskBase (7, "TwitterRetweet", "TwitterTaskRetweet") {}

TwitterRetweetTask::TwitterRetweetTask (const juce::String& newTweetId) : TwitterRetweetTask()
{
    tweetId = newTweetId;
}

bool TwitterRetweetTask::execute()
{
    resultText.clear();
    if (tweetId.isEmpty())
    {
        resultCode = TwitterResultErrorInternal;
        return false;
    }

    const auto id = tweetId.toStdString();
    juce::String body;
    if (! performAuthenticatedRequest (
            TwitterResultErrorFailedToRetweet, [&id] (twitCurl& request) { return request.retweetById (id); }, body))
        return false;

    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterDeleteTweetTask::TwitterDeleteTweetTask() : TwitterTaskBase (8, "TwitterDeleteTweet", "TwitterTaskDeleteTweet")
{
}

TwitterDeleteTweetTask::TwitterDeleteTweetTask (const juce::String& newTweetId) : TwitterDeleteTweetTask()
{
    tweetId = newTweetId;
}

bool TwitterDeleteTweetTask::execute()
{
    resultText.clear();
    if (tweetId.isEmpty())
    {
        resultCode = TwitterResultErrorInternal;
        return false;
    }

    const auto id = tweetId.toStdString();
    juce::String body;
    if (! performAuthenticatedRequest (
            TwitterResultErrorFailedToDeleteTweet, [&id] (twitCurl& request) { return request.statusDestroyById (id); },
            body))
        return false;

    resultCode = TwitterResultNoError;
    return true;
}

//==============================================================================
TwitterGetConfigurationTask::TwitterGetConfigurationTask()
    : TwitterTaskBase (9, "TwitterGetConfiguration", "TwitterTaskGetConfiguration")
{
}

bool TwitterGetConfigurationTask::execute()
{
    resultText.clear();

    juce::String body;
    if (! performAuthenticatedRequest (
            TwitterResultErrorFailedToGetConfiguration, [] (twitCurl& request) { return request.getConfiguration(); },
            body))
        return false;

    const auto json = juce::JSON::parse (body);
    if (! isJsonObject (json))
    {
        resultCode = TwitterResultErrorFailedToGetConfiguration;
        return false;
    }

    shortUrlLength = getJsonMemberText (json, "short_url_length").getIntValue();
    shortUrlLengthHttps = getJsonMemberText (json, "short_url_length_https").getIntValue();
    resultCode = TwitterResultNoError;
    return true;
}
} // namespace twitter
