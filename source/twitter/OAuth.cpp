#include "twitter/OAuth.h"

#include <juce_core/juce_core.h>

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <ctime>
#include <vector>

using namespace oAuthLibDefaults;

std::string oAuth::urlencode (const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string result;
    result.reserve (text.size() * 3);

    for (const char c : text)
    {
        const auto byte = (unsigned char) c;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
            || byte == '-' || byte == '.' || byte == '_' || byte == '~')
        {
            result += c;
        }
        else
        {
            result += '%';
            result += hex[byte >> 4];
            result += hex[byte & 0x0f];
        }
    }
    return result;
}

void oAuth::splitParameters (const std::string& text, oAuthKeyValuePairs& pairs)
{
    size_t start = 0;
    while (start <= text.size() && ! text.empty())
    {
        auto end = text.find ('&', start);
        if (end == std::string::npos)
            end = text.size();

        const auto piece = text.substr (start, end - start);
        const auto equals = piece.find ('=');
        if (equals != std::string::npos)
            pairs[piece.substr (0, equals)] = piece.substr (equals + 1);

        start = end + 1;
    }
}

std::string oAuth::joinParameters (const oAuthKeyValuePairs& pairs, const std::string& separator, bool quoted)
{
    std::vector<std::string> entries;
    entries.reserve (pairs.size());
    for (const auto& [name, value] : pairs)
        entries.push_back (quoted ? name + "=\"" + value + "\"" : name + "=" + value);

    std::sort (entries.begin(), entries.end());

    std::string result;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        if (i > 0)
            result += separator;
        result += entries[i];
    }
    return result;
}

std::string oAuth::getParameterString (const oAuthKeyValuePairs& pairs)
{
    // In name order, as the service sorts them. Sorting the joined "name=value" texts
    // instead would put "a2=" before "a=" and break the signature of any request whose
    // parameter names begin with one another.
    std::string result;
    for (const auto& [name, value] : pairs)
        result += (result.empty() ? "" : "&") + name + "=" + value;
    return result;
}

std::string oAuth::getBaseString (_eOAuthHttpRequestType type, const std::string& baseUrl, const oAuthKeyValuePairs& pairs)
{
    std::string method;
    switch (type)
    {
        case eOAuthHttpGet: method = "GET&"; break;
        case eOAuthHttpPost: method = "POST&"; break;
        case eOAuthHttpDelete: method = "DELETE&"; break;
        case eOAuthHttpInvalid:
        default: return {};
    }
    return method + urlencode (baseUrl) + "&" + urlencode (getParameterString (pairs));
}

std::string oAuth::getSigningKey() const
{
    auto key = consumerSecret + "&";
    if (! oAuthTokenSecret.empty())
        key += oAuthTokenSecret;
    return key;
}

std::string oAuth::getSignature (_eOAuthHttpRequestType type, const std::string& baseUrl, const oAuthKeyValuePairs& pairs) const
{
    const auto baseString = getBaseString (type, baseUrl, pairs);
    if (baseString.empty())
        return {};

    const auto key = getSigningKey();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (HMAC (EVP_sha1(), key.data(), (int) key.size(), reinterpret_cast<const unsigned char*> (baseString.data()),
              baseString.size(), digest, &digestLength)
        == nullptr)
        return {};

    // 20 bytes give 28 characters of Base64 (and the terminating zero).
    unsigned char base64[64] = {};
    EVP_EncodeBlock (base64, digest, (int) digestLength);
    return urlencode (reinterpret_cast<const char*> (base64));
}

void oAuth::addOAuthParameters (oAuthKeyValuePairs& pairs, const std::string& signature, bool includeOAuthVerifierPin) const
{
    pairs[OAUTHLIB_CONSUMERKEY_KEY] = consumerKey;
    pairs[OAUTHLIB_NONCE_KEY] = nonce;
    if (! signature.empty())
        pairs[OAUTHLIB_SIGNATURE_KEY] = signature;
    pairs[OAUTHLIB_SIGNATUREMETHOD_KEY] = OAUTHLIB_SIGNATUREMETHOD_VALUE;
    pairs[OAUTHLIB_TIMESTAMP_KEY] = timeStamp;
    if (! oAuthTokenKey.empty())
        pairs[OAUTHLIB_TOKEN_KEY] = oAuthTokenKey;
    if (includeOAuthVerifierPin && ! oAuthPin.empty())
        pairs[OAUTHLIB_VERIFIER_KEY] = oAuthPin;
    pairs[OAUTHLIB_VERSION_KEY] = OAUTHLIB_VERSION_VALUE;
}

std::string oAuth::makeNonce (const std::string& timeStampText)
{
    unsigned char bytes[8] = {};
    if (RAND_bytes (bytes, (int) sizeof (bytes)) != 1)
    {
        // The system generator failed: fall back to JUCE's, seeded from the clock.
        auto& random = juce::Random::getSystemRandom();
        for (auto& b : bytes)
            b = (unsigned char) random.nextInt (256);
    }

    static const char* hex = "0123456789abcdef";
    std::string result = timeStampText;
    bool leading = true;
    for (const auto b : bytes)
    {
        for (const int nibble : { b >> 4, b & 0x0f })
        {
            if (leading && nibble == 0)
                continue;
            leading = false;
            result += hex[nibble];
        }
    }
    if (leading)
        result += '0';
    return result;
}

bool oAuth::getOAuthHeader (_eOAuthHttpRequestType type, const std::string& rawUrl, const std::string& rawData,
                            std::string& oAuthHttpHeader, bool includeOAuthVerifierPin)
{
    const auto now = std::to_string ((long long) std::time (nullptr));
    return getOAuthHeader (type, rawUrl, rawData, makeNonce (now), now, oAuthHttpHeader, includeOAuthVerifierPin);
}

bool oAuth::getOAuthHeader (_eOAuthHttpRequestType type, const std::string& rawUrl, const std::string& rawData,
                            const std::string& useNonce, const std::string& useTimeStamp, std::string& oAuthHttpHeader,
                            bool includeOAuthVerifierPin)
{
    oAuthHttpHeader.clear();
    oAuthKeyValuePairs pairs;

    std::string baseUrl = rawUrl;
    const auto question = rawUrl.find ('?');
    if (question != std::string::npos)
    {
        baseUrl = rawUrl.substr (0, question);
        splitParameters (rawUrl.substr (question + 1), pairs);
    }
    splitParameters (rawData, pairs);

    nonce = useNonce;
    timeStamp = useTimeStamp;
    addOAuthParameters (pairs, {}, includeOAuthVerifierPin);

    const auto signature = getSignature (type, baseUrl, pairs);
    if (signature.empty())
        return false;

    // The header carries only the OAuth parameters, never the request's own.
    pairs.clear();
    addOAuthParameters (pairs, signature, includeOAuthVerifierPin);

    const auto text = joinParameters (pairs, ",", true);
    if (text.empty())
        return false;

    oAuthHttpHeader = OAUTHLIB_AUTHHEADER_STRING + text;
    return true;
}

bool oAuth::extractOAuthTokenKeySecret (const std::string& response)
{
    if (response.empty())
        return false;

    // Exact names only: "oauth_token" must not match inside "oauth_token_secret", and the
    // last pair's value runs to the end of the text.
    oAuthKeyValuePairs pairs;
    splitParameters (response, pairs);

    const auto key = pairs.find (OAUTHLIB_TOKEN_KEY);
    const auto secret = pairs.find (OAUTHLIB_TOKEN_SECRET_KEY);
    const auto screenName = pairs.find (OAUTHLIB_SCREENNAME_KEY);

    if (key != pairs.end())
        oAuthTokenKey = key->second;
    if (secret != pairs.end())
        oAuthTokenSecret = secret->second;
    if (screenName != pairs.end())
        oAuthScreenName = screenName->second;

    return key != pairs.end() && secret != pairs.end();
}
