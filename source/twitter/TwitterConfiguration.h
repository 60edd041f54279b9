#pragma once

#include "twitter/TwitCurl.h"

#include <juce_core/juce_core.h>

namespace twitter
{
// Where the Twitter client connects and which registered application it speaks for.
// Each value can be overridden from the environment:
//   TARNOMBI_TWITTER_API_HOST        host name, with ":port" when needed (default api.twitter.com)
//   TARNOMBI_TWITTER_API_SCHEME      "https" (default) or "http"
//   TARNOMBI_TWITTER_CONSUMER_KEY    the application's consumer key
//   TARNOMBI_TWITTER_CONSUMER_SECRET the application's consumer secret
struct TwitterServiceConfiguration
{
    static constexpr const char* ApiHostVariable = "TARNOMBI_TWITTER_API_HOST";
    static constexpr const char* ApiSchemeVariable = "TARNOMBI_TWITTER_API_SCHEME";
    static constexpr const char* ConsumerKeyVariable = "TARNOMBI_TWITTER_CONSUMER_KEY";
    static constexpr const char* ConsumerSecretVariable = "TARNOMBI_TWITTER_CONSUMER_SECRET";

    // Stand-ins of the registered application's credentials (22 and 42 letters and
    // digits); the service refuses them, so a real pair must come from the environment.
    static constexpr const char* DefaultConsumerKey = "TarnOMBIConsumerKey000";
    static constexpr const char* DefaultConsumerSecret = "TarnOMBIConsumerSecretPlaceholder000000000";

    static juce::String getApiHost();
    static twitCurlTypes::_eTwitCurlProtocolType getProtocolType();
    static juce::String getConsumerKey();
    static juce::String getConsumerSecret();
};
} // namespace twitter
