#include "twitter/TwitterConfiguration.h"

#include <cstdlib>

namespace twitter
{
namespace
{
juce::String getVariable (const char* name, const char* fallback)
{
    const char* value = std::getenv (name);
    if (value == nullptr)
        return fallback;

    const auto text = juce::String::fromUTF8 (value).trim();
    return text.isEmpty() ? juce::String (fallback) : text;
}
} // namespace

juce::String TwitterServiceConfiguration::getApiHost()
{
    return getVariable (ApiHostVariable, twitCurlDefaults::TWITCURL_DEFAULT_API_HOST);
}

twitCurlTypes::_eTwitCurlProtocolType TwitterServiceConfiguration::getProtocolType()
{
    return getVariable (ApiSchemeVariable, "https").equalsIgnoreCase ("http") ? twitCurlTypes::eTwitCurlProtocolHttp
                                                                             : twitCurlTypes::eTwitCurlProtocolHttps;
}

juce::String TwitterServiceConfiguration::getConsumerKey()
{
    return getVariable (ConsumerKeyVariable, DefaultConsumerKey);
}

juce::String TwitterServiceConfiguration::getConsumerSecret()
{
    return getVariable (ConsumerSecretVariable, DefaultConsumerSecret);
}
} // namespace twitter
