#include "support/Process.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace
{
struct Output
{
    int exitCode = -1;
    juce::String text;
};

// Runs the command-line tool with LANG set as given (LANGUAGE, LC_ALL and LC_MESSAGES unset).
Output runTool (const juce::StringArray& arguments, const char* lang)
{
    const char* names[] { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG" };
    std::map<std::string, std::string> saved;
    for (const auto* name : names)
        if (const auto* value = std::getenv (name))
            saved[name] = value;
    for (const auto* name : names)
        ::unsetenv (name);
    ::setenv ("LANG", lang, 1);

    juce::StringArray command { tarnombi::test::getBuiltProgram ("tarnombi").getFullPathName() };
    command.addArray (arguments);
    juce::ChildProcess process;
    Output output;
    if (process.start (command, juce::ChildProcess::wantStdOut))
    {
        output.text = juce::String::fromUTF8 (process.readAllProcessOutput().toRawUTF8());
        process.waitForProcessToFinish (10000);
        output.exitCode = (int) process.getExitCode();
    }

    for (const auto* name : names)
        ::unsetenv (name);
    for (const auto& [name, value] : saved)
        ::setenv (name.c_str(), value.c_str(), 1);
    return output;
}
} // namespace

TEST (CommandLineTool, PrintsTextsInTheChosenLanguage)
{
    struct Case
    {
        juce::StringArray arguments;
        const char* lang;
        const char* expected;
    };
    const Case cases[] {
        { { "text", "CommonCancel", "CommonYes" }, "de_DE.UTF-8", "Cancel\nYes\n" },
        { { "text", "CommonCancel", "CommonYes" }, "ja_JP.UTF-8", "キャンセル\nはい\n" },
        { { "--lang", "ja", "text", "CommonCancel" }, "de_DE.UTF-8", "キャンセル\n" },
        { { "--lang", "en", "text", "CommonCancel" }, "ja_JP.UTF-8", "Cancel\n" },
        { { "text", "CommonCancel", "--lang=ja" }, "C", "キャンセル\n" },
    };
    for (const auto& c : cases)
    {
        const auto output = runTool (c.arguments, c.lang);
        EXPECT_EQ (output.exitCode, 0) << c.arguments.joinIntoString (" ");
        EXPECT_EQ (output.text, juce::String::fromUTF8 (c.expected)) << c.arguments.joinIntoString (" ") << " with LANG=" << c.lang;
    }

    const auto unknownKey = runTool ({ "text", "NoSuchKey" }, "C");
    EXPECT_NE (unknownKey.exitCode, 0);
    EXPECT_NE (runTool ({ "--lang", "de", "text", "CommonOK" }, "C").exitCode, 0);
    EXPECT_NE (runTool ({ "text", "CommonOK", "--lang" }, "C").exitCode, 0);
}
