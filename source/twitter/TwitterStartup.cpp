#include "twitter/TwitterStartup.h"

#include "application/PreferencesData.h"
#include "twitter/TwitterClient.h"
#include "twitter/TwitterConfiguration.h"

namespace x38200_application
{
void initializeTwitter()
{
    initializeTwitter (x38200_preferences::PreferencesData::instance().getPreferencesFolder());
}

void initializeTwitter (const juce::File& preferencesFolder)
{
    twitter::TwitterClient::instance().initialize (preferencesFolder,
                                                   twitter::TwitterServiceConfiguration::getConsumerKey(),
                                                   twitter::TwitterServiceConfiguration::getConsumerSecret());
}
} // namespace x38200_application
