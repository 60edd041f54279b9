#include "support/TestSupport.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnombi::test
{
namespace
{
    juce::File& root()
    {
        static juce::File folder;
        return folder;
    }
} // namespace

void redirectUserFolders()
{
    char pattern[] = "/tmp/tarnombi-test-XXXXXX";
    if (auto* made = ::mkdtemp (pattern))
    {
        root() = juce::File (juce::String (made));
        const auto config = root().getChildFile ("config");
        const auto runtime = root().getChildFile ("runtime");
        const auto home = root().getChildFile ("home");
        config.createDirectory();
        runtime.createDirectory();
        home.createDirectory();
        ::chmod (runtime.getFullPathName().toRawUTF8(), 0700);
        ::setenv ("XDG_CONFIG_HOME", config.getFullPathName().toRawUTF8(), 1);
        ::setenv ("XDG_RUNTIME_DIR", runtime.getFullPathName().toRawUTF8(), 1);
        ::setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        std::atexit ([] { root().deleteRecursively(); });
    }
    else
    {
        std::abort(); // without a private folder the tests could reach the user's settings
    }
}

juce::File getTestRootFolder() { return root(); }

bool runMessageLoopUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }
    return true;
}

void runMessageLoopFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

juce::File makeTemporaryFolder (const juce::String& name)
{
    auto folder = root().getChildFile (name).getNonexistentSibling (false);
    folder.createDirectory();
    return folder;
}
} // namespace tarnombi::test
