#pragma once

#include <juce_core/juce_core.h>

namespace data
{
// Text from outside (files, network answers) as a juce::String. JUCE walks UTF-8 without
// checking it, and a broken sequence at the end of a text makes it read past the text's
// end; every invalid byte therefore becomes U+FFFD before JUCE sees the text. A zero byte
// ends the text.
juce::String stringFromUtf8 (const void* bytes, size_t size);
} // namespace data
