#include "data/Utf8Text.h"

#include <gtest/gtest.h>

TEST (Utf8Text, InvalidBytesBecomeReplacementCharacters)
{
    const juce::String replacement = juce::CharPointer_UTF8 ("\xEF\xBF\xBD");
    const struct
    {
        const char* what;
        std::string bytes;
        juce::String expected;
    } cases[] = {
        { "plain text", "Bass 1", "Bass 1" },
        { "Japanese", "\xE9\x9F\xB3\xE8\x89\xB2", juce::CharPointer_UTF8 ("\xE9\x9F\xB3\xE8\x89\xB2") },
        { "lead byte at the end", "ab\xE3", "ab" + replacement },
        { "lead byte cut short", "a\xE3\x81", "a" + replacement + replacement },
        { "lone continuation byte", "\x80z", replacement + "z" },
        { "overlong form", "\xC0\xAF", replacement + replacement },
        { "surrogate half", "\xED\xA0\x80", replacement + replacement + replacement },
        { "beyond U+10FFFF", "\xF4\x90\x80\x80", replacement + replacement + replacement + replacement },
        { "Latin-1 text", "caf\xE9", "caf" + replacement },
        { "a zero byte ends the text", std::string ("ab\0cd", 5), "ab" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto text = data::stringFromUtf8 (c.bytes.data(), c.bytes.size());
        EXPECT_EQ (text, c.expected);
        EXPECT_TRUE (juce::CharPointer_UTF8::isValidString (text.toRawUTF8(), (int) text.getNumBytesAsUTF8()));
    }
    EXPECT_EQ (data::stringFromUtf8 (nullptr, 5), juce::String());
}
