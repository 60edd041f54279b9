#include "twitter/TwitterStartup.h"

#include "twitter/TwitterClient.h"
#include "twitter/TwitterConfiguration.h"

namespace
{
// The preferences folder: $XDG_CONFIG_HOME (or ~/.config) / "OMBI TarnOMBI Sound Librarian".
juce::File getPreferencesFolder()
{
    auto base = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    const auto configHome = base.isNotEmpty() && juce::File::isAbsolutePath (base)
                                ? juce::File (base)
                                : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".config");
    return configHome.getChildFile ("OMBI TarnOMBI Sound Librarian");
}
} // namespace

void initializeTwitter()
{
    initializeTwitter (getPreferencesFolder());
}

void initializeTwitter (const juce::File& preferencesFolder)
{
    twitter::TwitterClient::instance().initialize (preferencesFolder,
                                                   twitter::TwitterServiceConfiguration::getConsumerKey(),
                                                   twitter::TwitterServiceConfiguration::getConsumerSecret());
}
