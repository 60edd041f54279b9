#pragma once

#include <map>
#include <string>

// The request methods a signed request can use; any other value gets no signature.
enum _eOAuthHttpRequestType
{
    eOAuthHttpInvalid = 0,
    eOAuthHttpGet = 1,
    eOAuthHttpPost = 2,
    eOAuthHttpDelete = 3
};

// Parameter name -> value, kept in name order; a later value replaces an earlier one.
using oAuthKeyValuePairs = std::map<std::string, std::string>;

// OAuth 1.0a signing state of the one request object: the application's consumer pair,
// the token pair (request token during authorization, access token afterwards) and the
// PIN the user typed. All texts are UTF-8 byte strings.
class oAuth
{
public:
    oAuth() = default;
    virtual ~oAuth() = default;

    const std::string& getConsumerKey() const { return consumerKey; }
    void setConsumerKey (const std::string& value) { consumerKey = value; }
    const std::string& getConsumerSecret() const { return consumerSecret; }
    void setConsumerSecret (const std::string& value) { consumerSecret = value; }
    const std::string& getOAuthTokenKey() const { return oAuthTokenKey; }
    void setOAuthTokenKey (const std::string& value) { oAuthTokenKey = value; }
    const std::string& getOAuthTokenSecret() const { return oAuthTokenSecret; }
    void setOAuthTokenSecret (const std::string& value) { oAuthTokenSecret = value; }
    const std::string& getOAuthPin() const { return oAuthPin; }
    void setOAuthPin (const std::string& value) { oAuthPin = value; }
    const std::string& getOAuthScreenName() const { return oAuthScreenName; }
    void setOAuthScreenName (const std::string& value) { oAuthScreenName = value; }

    // The nonce and timestamp of the last header built.
    const std::string& getNonce() const { return nonce; }
    const std::string& getTimeStamp() const { return timeStamp; }

    // Builds the complete "Authorization: OAuth ..." header line for one request, with a
    // fresh nonce and the current time. rawUrl may carry a query; rawData is the form
    // body. Both hold their values already percent-encoded. Returns false when no header
    // could be made.
    bool getOAuthHeader (_eOAuthHttpRequestType type, const std::string& rawUrl, const std::string& rawData,
                         std::string& oAuthHttpHeader, bool includeOAuthVerifierPin = false);

    // The same with a given nonce and timestamp.
    bool getOAuthHeader (_eOAuthHttpRequestType type, const std::string& rawUrl, const std::string& rawData,
                         const std::string& useNonce, const std::string& useTimeStamp,
                         std::string& oAuthHttpHeader, bool includeOAuthVerifierPin);

    // Takes the token pair (and the screen name, when present) from a token answer of the
    // form "name=value&name=value". Only pairs that are present change anything; returns
    // true when both oauth_token and oauth_token_secret were found.
    bool extractOAuthTokenKeySecret (const std::string& response);

    // Building blocks of the signature, also used on their own.
    static std::string urlencode (const std::string& text);
    static void splitParameters (const std::string& text, oAuthKeyValuePairs& pairs);
    // Entries as name=value (or name="value" when quoted), sorted as byte strings and
    // joined with the separator.
    static std::string joinParameters (const oAuthKeyValuePairs& pairs, const std::string& separator, bool quoted);
    // The signature's parameter string: name=value entries in name order, joined with "&".
    static std::string getParameterString (const oAuthKeyValuePairs& pairs);
    static std::string getBaseString (_eOAuthHttpRequestType type, const std::string& baseUrl,
                                      const oAuthKeyValuePairs& pairs);
    std::string getSigningKey() const;
    // The percent-encoded Base64 of the HMAC-SHA1 of the base string; empty for an
    // unknown method.
    std::string getSignature (_eOAuthHttpRequestType type, const std::string& baseUrl,
                              const oAuthKeyValuePairs& pairs) const;
    void addOAuthParameters (oAuthKeyValuePairs& pairs, const std::string& signature, bool includeOAuthVerifierPin) const;

    // A fresh nonce: the decimal timestamp followed by random lowercase hexadecimal digits
    // from the system's secure generator, so that no two requests share one.
    static std::string makeNonce (const std::string& timeStampText);

private:
    std::string consumerKey;
    std::string consumerSecret;
    std::string oAuthTokenKey;
    std::string oAuthTokenSecret;
    std::string oAuthPin;
    std::string nonce;
    std::string timeStamp;
    std::string oAuthScreenName;
};

// Parameter names and fixed texts of signed requests.
namespace oAuthLibDefaults
{
inline constexpr const char* OAUTHLIB_CONSUMERKEY_KEY = "oauth_consumer_key";
inline constexpr const char* OAUTHLIB_NONCE_KEY = "oauth_nonce";
inline constexpr const char* OAUTHLIB_SIGNATURE_KEY = "oauth_signature";
inline constexpr const char* OAUTHLIB_SIGNATUREMETHOD_KEY = "oauth_signature_method";
inline constexpr const char* OAUTHLIB_TIMESTAMP_KEY = "oauth_timestamp";
inline constexpr const char* OAUTHLIB_TOKEN_KEY = "oauth_token";
inline constexpr const char* OAUTHLIB_TOKEN_SECRET_KEY = "oauth_token_secret";
inline constexpr const char* OAUTHLIB_VERIFIER_KEY = "oauth_verifier";
inline constexpr const char* OAUTHLIB_VERSION_KEY = "oauth_version";
inline constexpr const char* OAUTHLIB_SCREENNAME_KEY = "screen_name";
inline constexpr const char* OAUTHLIB_SIGNATUREMETHOD_VALUE = "HMAC-SHA1";
inline constexpr const char* OAUTHLIB_VERSION_VALUE = "1.0";
inline constexpr const char* OAUTHLIB_AUTHHEADER_STRING = "Authorization: OAuth ";
} // namespace oAuthLibDefaults
