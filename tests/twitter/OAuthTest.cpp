#include "twitter/OAuth.h"
#include "twitter/TwitCurl.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
struct EncodeCase
{
    std::string input;
    std::string expected;
};

TEST (OAuthEncoding, PercentEncodesEverythingButUnreservedCharacters)
{
    const EncodeCase cases[] = {
        { "a b&c~", "a%20b%26c~" },
        { "\xC3\xA9", "%C3%A9" }, // é
        { "AZaz09-._~", "AZaz09-._~" },
        { "+=/?:#[]@!$'()*,;%", "%2B%3D%2F%3F%3A%23%5B%5D%40%21%24%27%28%29%2A%2C%3B%25" },
        { "\xE3\x82\xBF\xE3\x83\xB3", "%E3%82%BF%E3%83%B3" }, // タン
        { std::string ("\x00\x7F\xFF", 3), "%00%7F%FF" },
        { "", "" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (oAuth::urlencode (c.input), c.expected) << c.input;
}

TEST (OAuthEncoding, ParameterSplittingKeepsValuesAsTheyStand)
{
    oAuthKeyValuePairs pairs;
    oAuth::splitParameters ("q=a%20b&novalue&count=150&&empty=&q2=x=y", pairs);

    const oAuthKeyValuePairs expected { { "q", "a%20b" }, { "count", "150" }, { "empty", "" }, { "q2", "x=y" } };
    EXPECT_EQ (pairs, expected);

    oAuthKeyValuePairs none;
    oAuth::splitParameters ("", none);
    EXPECT_TRUE (none.empty());
}

// A signer with fixed consumer and token values.
oAuth makeSigner (bool withToken)
{
    oAuth signer;
    signer.setConsumerKey ("ck");
    signer.setConsumerSecret ("cs");
    if (withToken)
    {
        signer.setOAuthTokenKey ("tk");
        signer.setOAuthTokenSecret ("ts");
    }
    return signer;
}

TEST (OAuthSigning, SearchParameterStringAndBaseString)
{
    auto signer = makeSigner (true);
    std::string header;
    const std::string url = "https://api.twitter.com/1.1/search/tweets.json?q=x&result_type=mixed&count=150&include_entities=true";
    ASSERT_TRUE (signer.getOAuthHeader (eOAuthHttpGet, url, {}, "N1", "1700000000", header, false));

    oAuthKeyValuePairs pairs;
    oAuth::splitParameters ("q=x&result_type=mixed&count=150&include_entities=true", pairs);
    signer.addOAuthParameters (pairs, {}, false);

    EXPECT_EQ (oAuth::getParameterString (pairs),
               "count=150&include_entities=true&oauth_consumer_key=ck&oauth_nonce=N1&oauth_signature_method=HMAC-SHA1"
               "&oauth_timestamp=1700000000&oauth_token=tk&oauth_version=1.0&q=x&result_type=mixed");

    // The base address carries no query.
    EXPECT_EQ (oAuth::getBaseString (eOAuthHttpGet, "https://api.twitter.com/1.1/search/tweets.json", pairs),
               "GET&https%3A%2F%2Fapi.twitter.com%2F1.1%2Fsearch%2Ftweets.json&count%3D150%26include_entities%3Dtrue"
               "%26oauth_consumer_key%3Dck%26oauth_nonce%3DN1%26oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp"
               "%3D1700000000%26oauth_token%3Dtk%26oauth_version%3D1.0%26q%3Dx%26result_type%3Dmixed");

    EXPECT_EQ (oAuth::getBaseString (eOAuthHttpInvalid, "https://x", pairs), "");

    // Names that begin with one another keep name order.
    EXPECT_EQ (oAuth::getParameterString ({ { "a2", "1" }, { "a", "2" }, { "a-b", "3" } }), "a=2&a-b=3&a2=1");
}

TEST (OAuthSigning, HeaderCases)
{
    struct HeaderCase
    {
        const char* name;
        bool withToken;
        _eOAuthHttpRequestType type;
        std::string url;
        std::string body;
        bool includePin;
        std::string expectedHeaderWithoutSignature;
        std::string expectedKey;
    };

    const HeaderCase cases[] = {
        { "request token: no oauth_token, key ends with &", false, eOAuthHttpGet,
          "https://api.twitter.com/oauth/request_token", "", false,
          "Authorization: OAuth oauth_consumer_key=\"ck\",oauth_nonce=\"N\",oauth_signature_method=\"HMAC-SHA1\","
          "oauth_timestamp=\"1700000000\",oauth_version=\"1.0\"",
          "cs&" },
        { "access token: the PIN as oauth_verifier", true, eOAuthHttpGet, "https://api.twitter.com/oauth/access_token",
          "", true,
          "Authorization: OAuth oauth_consumer_key=\"ck\",oauth_nonce=\"N\",oauth_signature_method=\"HMAC-SHA1\","
          "oauth_timestamp=\"1700000000\",oauth_token=\"tk\",oauth_verifier=\"9876\",oauth_version=\"1.0\"",
          "cs&ts" },
        { "post: body parameters stay out of the header", true, eOAuthHttpPost,
          "https://api.twitter.com/1.1/statuses/update.json", "status=a%20b", false,
          "Authorization: OAuth oauth_consumer_key=\"ck\",oauth_nonce=\"N\",oauth_signature_method=\"HMAC-SHA1\","
          "oauth_timestamp=\"1700000000\",oauth_token=\"tk\",oauth_version=\"1.0\"",
          "cs&ts" },
        { "get: query parameters stay out of the header", true, eOAuthHttpGet,
          "https://api.twitter.com/1.1/search/tweets.json?q=x&count=1", "", false,
          "Authorization: OAuth oauth_consumer_key=\"ck\",oauth_nonce=\"N\",oauth_signature_method=\"HMAC-SHA1\","
          "oauth_timestamp=\"1700000000\",oauth_token=\"tk\",oauth_version=\"1.0\"",
          "cs&ts" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto signer = makeSigner (c.withToken);
        signer.setOAuthPin ("9876");
        EXPECT_EQ (signer.getSigningKey(), c.expectedKey);

        std::string header;
        ASSERT_TRUE (signer.getOAuthHeader (c.type, c.url, c.body, "N", "1700000000", header, c.includePin));

        // The signature sits between the nonce and the signature method; apart from it the
        // header is exactly the expected text, with no spaces after the commas.
        const auto start = header.find ("oauth_signature=\"");
        ASSERT_NE (start, std::string::npos);
        const auto end = header.find ("\",", start);
        const auto signature = header.substr (start + 17, end - start - 17);
        // 28 Base64 characters whose "=" pad (and any "+" or "/") are percent-encoded.
        EXPECT_GE (signature.size(), 30u);
        EXPECT_EQ (signature.substr (signature.size() - 3), "%3D");
        EXPECT_EQ (signature.find_first_of ("+/="), std::string::npos);
        EXPECT_LT (header.find ("oauth_nonce="), start);
        EXPECT_GT (header.find ("oauth_signature_method="), start);

        auto withoutSignature = header;
        withoutSignature.erase (start, end + 2 - start);
        EXPECT_EQ (withoutSignature, c.expectedHeaderWithoutSignature);
        EXPECT_EQ (header.find (", "), std::string::npos);
    }

    auto signer = makeSigner (true);
    std::string header = "left over";
    EXPECT_FALSE (signer.getOAuthHeader (eOAuthHttpInvalid, "https://x/y", {}, "N", "1", header, false));
    EXPECT_TRUE (header.empty());
}

TEST (OAuthSigning, MatchesThePublishedExampleSignature)
{
    // The service's own documented example request, with its nonce and timestamp.
    oAuth signer;
    signer.setConsumerKey ("xvz1evFS4wEEPTGEFPHBog");
    signer.setConsumerSecret ("kAcSOqF21Fu85e7zjz7ZN2U4ZRhfV3WpwPAoE3Z7kBw");
    signer.setOAuthTokenKey ("370773112-GmHxMAgYyLbNEtIKZeRNFsMKPR9EyMZeS9weJAEb");
    signer.setOAuthTokenSecret ("LswwdoUaIvS8ltyTt5jkRh4J50vUPVVHtR2YPi5kE");

    std::string header;
    ASSERT_TRUE (signer.getOAuthHeader (
        eOAuthHttpPost, "https://api.twitter.com/1.1/statuses/update.json?include_entities=true",
        "status=" + oAuth::urlencode ("Hello Ladies + Gentlemen, a signed OAuth request!"),
        "kYjzVBB8Y0ZFabxSWbWovY3uYSQ2pTgmZeNu2VS4cg", "1318622958", header, false));

    EXPECT_NE (header.find ("oauth_signature=\"hCtSmYh%2BiHYCEqBWrE7C7hYmtUk%3D\""), std::string::npos) << header;
}

TEST (OAuthSigning, EveryRequestGetsAFreshNonce)
{
    auto signer = makeSigner (true);
    std::set<std::string> nonces;
    for (int i = 0; i < 200; ++i)
    {
        std::string header;
        ASSERT_TRUE (signer.getOAuthHeader (eOAuthHttpGet, "https://h/p", {}, header));
        // The nonce starts with the decimal timestamp and goes on in lowercase hexadecimal.
        const auto& nonce = signer.getNonce();
        ASSERT_EQ (nonce.rfind (signer.getTimeStamp(), 0), 0u);
        ASSERT_GT (nonce.size(), signer.getTimeStamp().size());
        EXPECT_EQ (nonce.find_first_not_of ("0123456789abcdef"), std::string::npos);
        nonces.insert (nonce);
    }
    EXPECT_EQ (nonces.size(), 200u);
}

TEST (OAuthTokens, ExtractionTakesWholeNameValuePairs)
{
    struct TokenCase
    {
        const char* response;
        bool complete;
        const char* key;
        const char* secret;
        const char* screenName;
    };

    const TokenCase cases[] = {
        { "oauth_token=K1&oauth_token_secret=S1&oauth_callback_confirmed=true", true, "K1", "S1", "" },
        // The last pair's value runs to the end of the text.
        { "oauth_token=K2&oauth_token_secret=S2", true, "K2", "S2", "" },
        // The secret first: oauth_token is not found inside oauth_token_secret.
        { "oauth_token_secret=S3&oauth_token=K3", true, "K3", "S3", "" },
        { "oauth_token=K4&oauth_token_secret=S4&user_id=1&screen_name=tarn", true, "K4", "S4", "tarn" },
        // Missing pairs leave the earlier values alone.
        { "oauth_token_secret=S5", false, "old-key", "S5", "" },
        { "{\"errors\":[{\"code\":32}]}", false, "old-key", "old-secret", "" },
        { "", false, "old-key", "old-secret", "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.response);
        oAuth signer;
        signer.setOAuthTokenKey ("old-key");
        signer.setOAuthTokenSecret ("old-secret");
        EXPECT_EQ (signer.extractOAuthTokenKeySecret (c.response), c.complete);
        EXPECT_EQ (signer.getOAuthTokenKey(), c.key);
        EXPECT_EQ (signer.getOAuthTokenSecret(), c.secret);
        EXPECT_EQ (signer.getOAuthScreenName(), c.screenName);
    }
}

TEST (TwitCurlRequests, EmptyArgumentsSendNothing)
{
    twitCurl request;
    request.setTwitterApiHost ("127.0.0.1:1"); // nothing listens there
    EXPECT_FALSE (request.statusUpdate (""));
    EXPECT_FALSE (request.statusDestroyById (""));
    EXPECT_FALSE (request.retweetById (""));

    std::string error;
    request.getLastCurlError (error);
    EXPECT_TRUE (error.empty()) << "no transfer was attempted";
}

TEST (TwitCurlRequests, AddressesOfTheEndpoints)
{
    twitCurl request;
    request.setTwitterProcotolType (twitCurlTypes::eTwitCurlProtocolHttps);
    EXPECT_EQ (request.getApiUrl ("oauth/request_token"), "https://api.twitter.com/oauth/request_token");
    request.setTwitterProcotolType (twitCurlTypes::eTwitCurlProtocolHttp);
    request.setTwitterApiHost ("127.0.0.1:8089");
    EXPECT_EQ (request.getApiUrl ("1.1/help/configuration"), "http://127.0.0.1:8089/1.1/help/configuration");
}
} // namespace
