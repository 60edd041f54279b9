#include "twitter/TwitCurl.h"

#include <cstring>

using namespace twitCurlDefaults;

namespace
{
// libcurl wants curl_global_init before the first handle; doing it once here keeps the
// start-up order of the application free of it.
struct CurlGlobal
{
    CurlGlobal() { curl_global_init (CURL_GLOBAL_DEFAULT); }
};

void ensureCurlGlobalInit()
{
    static CurlGlobal global;
}
} // namespace

twitCurl::twitCurl()
{
    ensureCurlGlobalInit();
    curlHandle = curl_easy_init();
}

twitCurl::~twitCurl()
{
    if (curlHandle != nullptr)
        curl_easy_cleanup (curlHandle);
}

void twitCurl::setTwitterApiType (twitCurlTypes::_eTwitCurlApiFormatType type)
{
    twitterApiType = (type >= twitCurlTypes::eTwitCurlApiFormatXml && type < twitCurlTypes::eTwitCurlApiFormatMax)
                         ? type
                         : twitCurlTypes::eTwitCurlApiFormatXml;
}

void twitCurl::setTwitterProcotolType (twitCurlTypes::_eTwitCurlProtocolType type)
{
    twitterProtocolType = (type >= twitCurlTypes::eTwitCurlProtocolHttp && type < twitCurlTypes::eTwitCurlProtocolMax)
                              ? type
                              : twitCurlTypes::eTwitCurlProtocolHttp;
}

std::string twitCurl::getApiUrl (const std::string& path) const
{
    return std::string (TWITCURL_PROTOCOLS[twitterProtocolType]) + apiHost + "/" + path;
}

std::string twitCurl::getFormatSuffix() const
{
    return TWITCURL_EXTENSIONFORMATS[twitterApiType];
}

//==============================================================================
bool twitCurl::search (const std::string& query, const std::string& count, twitCurlTypes::_eTwitCurlResultType resultType)
{
    return search (query, count, {}, resultType);
}

bool twitCurl::search (const std::string& query, const std::string& count, const std::string& maxId,
                       twitCurlTypes::_eTwitCurlResultType resultType)
{
    if (resultType < twitCurlTypes::eTwitCurlResultTypeMixed || resultType >= twitCurlTypes::eTwitCurlResultTypeMax)
        resultType = twitCurlTypes::eTwitCurlResultTypeMixed;

    // The search always answers in JSON, whatever format the other endpoints use.
    auto url = getApiUrl (TWITCURL_SEARCH_URL) + TWITCURL_EXTENSIONFORMATS[twitCurlTypes::eTwitCurlApiFormatJson]
               + TWITCURL_URL_SEP_QUES + TWITCURL_SEARCHQUERYSTRING + oAuth::urlencode (query) + TWITCURL_URL_SEP_AMP
               + TWITCURL_RESULTTYPE + TWITCURL_SEARCHRESULTTYPES[resultType] + TWITCURL_URL_SEP_AMP + TWITCURL_COUNT
               + count;
    if (! maxId.empty())
        url += std::string (TWITCURL_URL_SEP_AMP) + TWITCURL_MAXID + maxId;
    url += std::string (TWITCURL_URL_SEP_AMP) + TWITCURL_INCLUDEENTITIES;

    return performGet (url);
}

bool twitCurl::statusUpdate (const std::string& newStatus)
{
    if (newStatus.empty())
        return false;

    return performPost (getApiUrl (TWITCURL_STATUSUPDATE_URL) + getFormatSuffix(),
                        std::string (TWITCURL_STATUSSTRING) + oAuth::urlencode (newStatus));
}

bool twitCurl::statusDestroyById (const std::string& statusId)
{
    if (statusId.empty())
        return false;

    return performDelete (getApiUrl (TWITCURL_STATUDESTROY_URL) + statusId + getFormatSuffix());
}

bool twitCurl::retweetById (const std::string& statusId)
{
    if (statusId.empty())
        return false;

    return performPost (getApiUrl (TWITCURL_RETWEET_URL) + statusId + getFormatSuffix(),
                        std::string (TWITCURL_TEXTSTRING) + oAuth::urlencode ("dummy"));
}

bool twitCurl::accountVerifyCredGet()
{
    return performGet (getApiUrl (TWITCURL_ACCOUNTVERIFYCRED_URL) + getFormatSuffix());
}

bool twitCurl::getConfiguration()
{
    return performGet (getApiUrl (TWITCURL_GETCONFIGURATION_URL) + getFormatSuffix());
}

bool twitCurl::oAuthRequestToken (std::string& authorizeUrl)
{
    authorizeUrl.clear();
    if (! isCurlInit())
        return false;

    const auto url = getApiUrl (OAUTHLIB_TWITTER_REQUEST_TOKEN_URL);
    std::string header;
    if (! oAuthObject.getOAuthHeader (eOAuthHttpGet, url, {}, header))
        return false;

    if (! performGet (url, header))
        return false;

    // The authorization page is only worth opening for a token the service really gave.
    if (oAuthObject.extractOAuthTokenKeySecret (callbackData) && ! oAuthObject.getOAuthTokenKey().empty())
        authorizeUrl = getApiUrl (OAUTHLIB_TWITTER_AUTHORIZE_URL) + oAuthObject.getOAuthTokenKey();

    return true;
}

bool twitCurl::oAuthAccessToken()
{
    if (! isCurlInit())
        return false;

    const auto url = getApiUrl (OAUTHLIB_TWITTER_ACCESS_TOKEN_URL);
    std::string header;
    if (! oAuthObject.getOAuthHeader (eOAuthHttpGet, url, {}, header, true))
        return false;

    if (! performGet (url, header))
        return false;

    oAuthObject.extractOAuthTokenKeySecret (callbackData);
    return true;
}

void twitCurl::getLastWebResponse (std::string& outWebResp) const
{
    outWebResp = callbackData;
}

void twitCurl::getLastCurlError (std::string& outErrResp) const
{
    char text[sizeof (errorBuffer)];
    std::memcpy (text, errorBuffer, sizeof (text));
    text[sizeof (text) - 1] = 0;
    outErrResp = text;
}

//==============================================================================
size_t twitCurl::curlCallback (char* data, size_t size, size_t nmemb, twitCurl* pTwitCurlObj)
{
    if (data == nullptr || pTwitCurlObj == nullptr || size == 0 || nmemb == 0)
        return 0;

    const auto length = size * nmemb;
    pTwitCurlObj->callbackData.append (data, length);
    return length;
}

int twitCurl::progressCallback (void* object, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* self = static_cast<twitCurl*> (object);
    return (self != nullptr && self->abortCheck && self->abortCheck()) ? 1 : 0;
}

void twitCurl::prepareStandardParams()
{
    curl_easy_setopt (curlHandle, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt (curlHandle, CURLOPT_ENCODING, "");
    callbackData.clear();
    std::memset (errorBuffer, 0, sizeof (errorBuffer));

    if (! curlProxyParamsSet)
    {
        prepareCurlProxy();
        curlProxyParamsSet = true;
    }
    if (! curlCallbackParamsSet)
    {
        prepareCurlCallback();
        curlCallbackParamsSet = true;
    }
    if (! curlLoginParamsSet)
    {
        prepareCurlUserPass();
        curlLoginParamsSet = true;
    }
}

void twitCurl::prepareCurlProxy()
{
    curl_easy_setopt (curlHandle, CURLOPT_PROXY, nullptr);
    curl_easy_setopt (curlHandle, CURLOPT_PROXYUSERPWD, nullptr);
    curl_easy_setopt (curlHandle, CURLOPT_PROXYAUTH, (long) CURLAUTH_ANY);

    // An empty proxy text tells libcurl to use none, whatever the environment says.
    const auto proxy = proxyServerIp.empty() ? std::string() : proxyServerIp + ":" + proxyServerPort;
    curl_easy_setopt (curlHandle, CURLOPT_PROXY, proxy.c_str());

    if (! proxyUserName.empty() && ! proxyPassword.empty())
    {
        const auto userPass = proxyUserName + ":" + proxyPassword;
        curl_easy_setopt (curlHandle, CURLOPT_PROXYUSERPWD, userPass.c_str());
    }
}

void twitCurl::prepareCurlCallback()
{
    curl_easy_setopt (curlHandle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt (curlHandle, CURLOPT_WRITEFUNCTION, curlCallback);
    curl_easy_setopt (curlHandle, CURLOPT_WRITEDATA, this);
    // Lets a task that is being removed abandon its transfer instead of waiting for it.
    curl_easy_setopt (curlHandle, CURLOPT_XFERINFOFUNCTION, progressCallback);
    curl_easy_setopt (curlHandle, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt (curlHandle, CURLOPT_NOPROGRESS, 0L);
}

void twitCurl::prepareCurlUserPass()
{
    const auto userPass = twitterUsername.empty() ? std::string() : twitterUsername + ":" + twitterPassword;
    curl_easy_setopt (curlHandle, CURLOPT_USERPWD, userPass.c_str());
}

bool twitCurl::performGet (const std::string& getUrl)
{
    if (! isCurlInit())
        return false;

    std::string header;
    oAuthObject.getOAuthHeader (eOAuthHttpGet, getUrl, {}, header);
    return performRequest (eOAuthHttpGet, getUrl, {}, header);
}

bool twitCurl::performGet (const std::string& getUrl, const std::string& oAuthHttpHeader)
{
    return performRequest (eOAuthHttpGet, getUrl, {}, oAuthHttpHeader);
}

bool twitCurl::performPost (const std::string& postUrl, const std::string& dataStr)
{
    if (! isCurlInit())
        return false;

    std::string header;
    oAuthObject.getOAuthHeader (eOAuthHttpPost, postUrl, dataStr, header);
    return performRequest (eOAuthHttpPost, postUrl, dataStr, header);
}

bool twitCurl::performDelete (const std::string& deleteUrl)
{
    if (! isCurlInit())
        return false;

    std::string header;
    oAuthObject.getOAuthHeader (eOAuthHttpDelete, deleteUrl, {}, header);
    return performRequest (eOAuthHttpDelete, deleteUrl, {}, header);
}

bool twitCurl::performRequest (_eOAuthHttpRequestType type, const std::string& url, const std::string& data,
                               const std::string& oAuthHttpHeader)
{
    if (! isCurlInit())
        return false;

    prepareStandardParams();

    curl_slist* headerList = nullptr;
    if (! oAuthHttpHeader.empty())
        headerList = curl_slist_append (nullptr, oAuthHttpHeader.c_str());
    curl_easy_setopt (curlHandle, CURLOPT_HTTPHEADER, headerList);

    switch (type)
    {
        case eOAuthHttpGet:
            curl_easy_setopt (curlHandle, CURLOPT_HTTPGET, 1L);
            break;
        case eOAuthHttpPost:
            curl_easy_setopt (curlHandle, CURLOPT_POST, 1L);
            break;
        case eOAuthHttpDelete:
            curl_easy_setopt (curlHandle, CURLOPT_CUSTOMREQUEST, "DELETE");
            break;
        case eOAuthHttpInvalid:
        default:
            break;
    }

    curl_easy_setopt (curlHandle, CURLOPT_URL, url.c_str());

    if ((type == eOAuthHttpPost && ! data.empty()) || type == eOAuthHttpDelete)
        curl_easy_setopt (curlHandle, CURLOPT_COPYPOSTFIELDS, data.c_str());

    const auto result = curl_easy_perform (curlHandle);

    // The list must not outlive this request, and the handle must not keep pointing at it.
    curl_easy_setopt (curlHandle, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all (headerList);

    return result == CURLE_OK;
}
