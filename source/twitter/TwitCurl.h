#pragma once

#include "twitter/OAuth.h"

#include <curl/curl.h>

#include <functional>
#include <string>

namespace twitCurlTypes
{
enum _eTwitCurlProtocolType
{
    eTwitCurlProtocolHttp = 0,
    eTwitCurlProtocolHttps = 1,
    eTwitCurlProtocolMax = 2
};

enum _eTwitCurlApiFormatType
{
    eTwitCurlApiFormatXml = 0,
    eTwitCurlApiFormatJson = 1,
    eTwitCurlApiFormatMax = 2
};

enum _eTwitCurlResultType
{
    eTwitCurlResultTypeMixed = 0,
    eTwitCurlResultTypeRecent = 1,
    eTwitCurlResultTypePopular = 2,
    eTwitCurlResultTypeMax = 3
};
} // namespace twitCurlTypes

namespace twitCurlDefaults
{
inline constexpr const char* TWITCURL_PROTOCOLS[] = { "http://", "https://" };
inline constexpr const char* TWITCURL_EXTENSIONFORMATS[] = { ".xml", ".json" };
inline constexpr const char* TWITCURL_SEARCHRESULTTYPES[] = { "mixed", "recent", "popular" };

inline constexpr const char* TWITCURL_SEARCHQUERYSTRING = "q=";
inline constexpr const char* TWITCURL_RESULTTYPE = "result_type=";
inline constexpr const char* TWITCURL_COUNT = "count=";
inline constexpr const char* TWITCURL_MAXID = "max_id=";
inline constexpr const char* TWITCURL_INCLUDEENTITIES = "include_entities=true";
inline constexpr const char* TWITCURL_STATUSSTRING = "status=";
inline constexpr const char* TWITCURL_TEXTSTRING = "text=";
inline constexpr const char* TWITCURL_URL_SEP_QUES = "?";
inline constexpr const char* TWITCURL_URL_SEP_AMP = "&";
inline constexpr const char* TWITCURL_EQUAL = "=";

inline constexpr const char* OAUTHLIB_TWITTER_REQUEST_TOKEN_URL = "oauth/request_token";
inline constexpr const char* OAUTHLIB_TWITTER_AUTHORIZE_URL = "oauth/authorize?oauth_token=";
inline constexpr const char* OAUTHLIB_TWITTER_ACCESS_TOKEN_URL = "oauth/access_token";
inline constexpr const char* TWITCURL_SEARCH_URL = "1.1/search/tweets";
inline constexpr const char* TWITCURL_STATUSUPDATE_URL = "1.1/statuses/update";
inline constexpr const char* TWITCURL_STATUDESTROY_URL = "1.1/statuses/destroy/";
inline constexpr const char* TWITCURL_RETWEET_URL = "1.1/statuses/retweet/";
inline constexpr const char* TWITCURL_ACCOUNTVERIFYCRED_URL = "1.1/account/verify_credentials";
inline constexpr const char* TWITCURL_GETCONFIGURATION_URL = "1.1/help/configuration";

inline constexpr const char* TWITCURL_DEFAULT_API_HOST = "api.twitter.com";
} // namespace twitCurlDefaults

// The one request object of the Twitter feature: builds the addresses of the service's
// endpoints, signs each request with OAuth, performs it over libcurl and keeps the body of
// the answer. Every request operation returns true when the transfer completed; the HTTP
// status is left to the caller, who judges the body. Used from one thread at a time.
class twitCurl
{
public:
    twitCurl();
    virtual ~twitCurl();

    twitCurl (const twitCurl&) = delete;
    twitCurl& operator= (const twitCurl&) = delete;

    // Endpoints.
    bool search (const std::string& query, const std::string& count,
                 twitCurlTypes::_eTwitCurlResultType resultType = twitCurlTypes::eTwitCurlResultTypeMixed);
    bool search (const std::string& query, const std::string& count, const std::string& maxId,
                 twitCurlTypes::_eTwitCurlResultType resultType = twitCurlTypes::eTwitCurlResultTypeMixed);
    bool statusUpdate (const std::string& newStatus);
    bool statusDestroyById (const std::string& statusId);
    bool retweetById (const std::string& statusId);
    bool accountVerifyCredGet();
    bool getConfiguration();
    bool oAuthRequestToken (std::string& authorizeUrl);
    bool oAuthAccessToken();

    void getLastWebResponse (std::string& outWebResp) const;
    void getLastCurlError (std::string& outErrResp) const;

    oAuth& getOAuth() { return oAuthObject; }

    void setTwitterApiType (twitCurlTypes::_eTwitCurlApiFormatType type);
    void setTwitterProcotolType (twitCurlTypes::_eTwitCurlProtocolType type);
    // The service's host name, with ":port" when it is not the scheme's usual one.
    void setTwitterApiHost (const std::string& host) { apiHost = host; }
    const std::string& getTwitterApiHost() const { return apiHost; }

    // The address of an endpoint path under the current scheme and host.
    std::string getApiUrl (const std::string& path) const;

    // The libcurl handle, for settings that stay for every request; null if it could not be made.
    CURL* getCurlHandle() const { return curlHandle; }

    // Asked now and then during a transfer; a true answer abandons it.
    void setAbortCheck (std::function<bool()> check) { abortCheck = std::move (check); }

    // Appends received bytes to the response buffer (libcurl's write callback).
    static size_t curlCallback (char* data, size_t size, size_t nmemb, twitCurl* pTwitCurlObj);

private:
    bool isCurlInit() const { return curlHandle != nullptr; }
    void prepareStandardParams();
    void prepareCurlProxy();
    void prepareCurlCallback();
    void prepareCurlUserPass();
    bool performGet (const std::string& getUrl);
    bool performGet (const std::string& getUrl, const std::string& oAuthHttpHeader);
    bool performPost (const std::string& postUrl, const std::string& dataStr);
    bool performDelete (const std::string& deleteUrl);
    bool performRequest (_eOAuthHttpRequestType type, const std::string& url, const std::string& data,
                         const std::string& oAuthHttpHeader);
    std::string getFormatSuffix() const;
    static int progressCallback (void* object, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CURL* curlHandle = nullptr;
    char errorBuffer[1024] = {};
    std::string callbackData;

    bool curlProxyParamsSet = false;
    bool curlLoginParamsSet = false;
    bool curlCallbackParamsSet = false;

    std::string proxyServerIp;
    std::string proxyServerPort;
    std::string proxyUserName;
    std::string proxyPassword;
    std::string twitterUsername;
    std::string twitterPassword;

    twitCurlTypes::_eTwitCurlApiFormatType twitterApiType = twitCurlTypes::eTwitCurlApiFormatXml;
    twitCurlTypes::_eTwitCurlProtocolType twitterProtocolType = twitCurlTypes::eTwitCurlProtocolHttp;
    std::string apiHost = twitCurlDefaults::TWITCURL_DEFAULT_API_HOST;

    oAuth oAuthObject;
    std::function<bool()> abortCheck;
};
