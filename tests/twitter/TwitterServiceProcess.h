#pragma once

#include <juce_core/juce_core.h>

#include <sys/types.h>

namespace tarnombi::test
{
// The local stand-in of the Twitter service (tarnombi-twitter-service), started as a child
// process on a port of its choosing and stopped by its process id when this object goes.
class TwitterServiceProcess
{
public:
    static constexpr const char* ConsumerKey = "TestConsumerKey0000001";
    static constexpr const char* ConsumerSecret = "TestConsumerSecret000000000000000000000001";
    static constexpr const char* Pin = "1234567";
    static constexpr const char* AccessTokenKey = "12345-AccessToken";
    static constexpr const char* AccessTokenSecret = "AccessSecret99";

    // extraArguments: further switches, e.g. { "--fault", "1.1/statuses/update.json=errors" }.
    explicit TwitterServiceProcess (const juce::StringArray& extraArguments = {});
    ~TwitterServiceProcess();

    bool isRunning() const { return port > 0; }
    int getPort() const { return port; }
    juce::String getHost() const { return "127.0.0.1:" + juce::String (port); }

    // The service's request log: one line per request it received.
    juce::StringArray getLog() const;
    int countLogLines (const juce::String& containing) const;

private:
    pid_t pid = -1;
    int port = 0;
    juce::File logFile;
};
} // namespace tarnombi::test
