#include "twitter/TwitterClient.h"

#include "data/Utf8Text.h"

#include "twitter/TwitterConfiguration.h"
#include "twitter/TwitterResult.h"
#include "twitter/TwitterTask.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twitter
{
namespace
{
// Writes a token file readable by the user only: the token's UTF-8 bytes and one zero byte.
bool writeTokenFile (const juce::File& file, const juce::String& token)
{
    const auto path = file.getFullPathName().toStdString();
    const int fd = ::open (path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;

    // A file left from elsewhere may have wider permissions than a new one gets.
    bool ok = ::fchmod (fd, S_IRUSR | S_IWUSR) == 0;

    const auto bytes = token.toStdString();
    const char* data = bytes.c_str();
    size_t remaining = bytes.size() + 1;
    while (ok && remaining > 0)
    {
        const auto written = ::write (fd, data, remaining);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data += written;
        remaining -= (size_t) written;
    }

    ok = (::fsync (fd) == 0) && ok;
    ok = (::close (fd) == 0) && ok;
    return ok;
}

// Replaces the target in one step.
bool renameOver (const juce::File& source, const juce::File& target)
{
    return std::rename (source.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0;
}
} // namespace

TwitterClient::TwitterClient()
{
    if (auto* handle = request.getCurlHandle())
    {
        curl_easy_setopt (handle, CURLOPT_NOSIGNAL, 1L);
        // The whole transfer, connection included, is limited to five seconds.
        curl_easy_setopt (handle, CURLOPT_TIMEOUT_MS, 5000L);
    }
    request.setTwitterProcotolType (TwitterServiceConfiguration::getProtocolType());
    request.setTwitterApiType (twitCurlTypes::eTwitCurlApiFormatJson);
    request.setTwitterApiHost (TwitterServiceConfiguration::getApiHost().toStdString());
}

TwitterClient::~TwitterClient()
{
    cancelPendingUpdate();
}

void TwitterClient::initialize (const juce::File& preferencesFolder, const juce::String& key, const juce::String& secret)
{
    folder = preferencesFolder;
    tokenKeyFile = folder.getChildFile (TokenFileName);
    tokenSecretFile = folder.getChildFile (TokenSecretFileName);

    consumerKey = key;
    consumerSecret = secret;
    request.getOAuth().setConsumerKey (consumerKey.toStdString());
    request.getOAuth().setConsumerSecret (consumerSecret.toStdString());

    loadAccessTokenFile();
    triggerAsyncUpdate();
}

bool TwitterClient::readTokenFile (const juce::File& file, juce::String& token)
{
    token.clear();
    if (file == juce::File() || ! file.existsAsFile())
        return false;

    juce::FileInputStream stream (file);
    if (! stream.openedOk())
        return false;

    juce::MemoryBlock data;
    // A token is a few dozen bytes; anything much larger is not a token file.
    stream.readIntoMemoryBlock (data, 64 * 1024);

    const auto* bytes = static_cast<const char*> (data.getData());
    size_t length = 0;
    while (length < data.getSize() && bytes[length] != 0)
        ++length;

    token = data::stringFromUtf8 (bytes, length);
    return true;
}

bool TwitterClient::loadAccessTokenFile()
{
    juce::String key, secret;
    const bool ok = readTokenFile (tokenKeyFile, key) && readTokenFile (tokenSecretFile, secret);

    const juce::ScopedLock sl (tokenLock);
    accessTokenKey = ok ? key : juce::String();
    accessTokenSecret = ok ? secret : juce::String();
    return ok;
}

bool TwitterClient::hasAccessToken() const
{
    const juce::ScopedLock sl (tokenLock);
    return accessTokenKey.isNotEmpty() && accessTokenSecret.isNotEmpty();
}

juce::String TwitterClient::getAccessTokenKey() const
{
    const juce::ScopedLock sl (tokenLock);
    return accessTokenKey;
}

juce::String TwitterClient::getAccessTokenSecret() const
{
    const juce::ScopedLock sl (tokenLock);
    return accessTokenSecret;
}

bool TwitterClient::setAndSaveAccessToken (const juce::String& key, const juce::String& secret)
{
    {
        const juce::ScopedLock sl (tokenLock);
        accessTokenKey = key;
        accessTokenSecret = secret;
    }

    // Both tokens go to temporary files first, so that a failed save leaves the earlier
    // pair intact instead of a new key beside an old secret.
    bool ok = folder != juce::File() && folder.createDirectory().wasOk();
    const auto keyTemp = tokenKeyFile.getSiblingFile (juce::String (TokenFileName) + ".new");
    const auto secretTemp = tokenSecretFile.getSiblingFile (juce::String (TokenSecretFileName) + ".new");

    ok = ok && writeTokenFile (keyTemp, key) && writeTokenFile (secretTemp, secret);
    ok = ok && renameOver (keyTemp, tokenKeyFile) && renameOver (secretTemp, tokenSecretFile);

    if (! ok)
    {
        keyTemp.deleteFile();
        secretTemp.deleteFile();

        const juce::ScopedLock sl (tokenLock);
        accessTokenKey.clear();
        accessTokenSecret.clear();
        return false;
    }

    triggerAsyncUpdate();
    return true;
}

void TwitterClient::deleteAccessToken()
{
    {
        const juce::ScopedLock sl (tokenLock);
        accessTokenKey.clear();
        accessTokenSecret.clear();
    }

    if (tokenKeyFile.existsAsFile())
        tokenKeyFile.deleteFile();
    if (tokenSecretFile.existsAsFile())
        tokenSecretFile.deleteFile();

    TwitterAuthorizer::instance().setVerified (false);
    triggerAsyncUpdate();
}

void TwitterClient::handleAsyncUpdate()
{
    const bool authorized = hasAccessToken();
    callListeners ([authorized] (TwitterClientListener& listener) { listener.twitterStatusChanged (authorized); });
}

//==============================================================================
int TwitterAuthorizer::execute()
{
    if (verified)
        return TwitterResultNoError;

    resultText.clear();
    errorCode = 0;

    auto& client = TwitterClient::instance();
    if (! client.hasAccessToken())
    {
        resultText = "No access token to verify account.";
        return TwitterResultErrorNoAccessToken;
    }

    auto& request = client.getTwitCurl();
    request.getOAuth().setOAuthTokenKey (client.getAccessTokenKey().toStdString());
    request.getOAuth().setOAuthTokenSecret (client.getAccessTokenSecret().toStdString());

    if (! request.accountVerifyCredGet())
    {
        std::string error;
        request.getLastCurlError (error);
        resultText = juce::String::fromUTF8 (error.c_str());
        return TwitterResultErrorFailedToVerifyAccount;
    }

    std::string body;
    request.getLastWebResponse (body);
    const auto text = data::stringFromUtf8 (body.data(), body.size());

    TwitterReplyAnalyzer analyzer (text);
    if (analyzer.isSucceeded())
    {
        resultText = text;
        verified = true;
        return TwitterResultNoError;
    }

    errorCode = analyzer.getErrorCode();
    resultText = analyzer.getErrorMessage();
    return TwitterResultErrorFailedToVerifyAccount;
}
} // namespace twitter
