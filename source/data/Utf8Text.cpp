#include "data/Utf8Text.h"

#include <string>

namespace data
{
namespace
{
    // The length of the valid sequence at bytes[0], or 0 when it is not one.
    size_t validSequenceLength (const unsigned char* b, size_t available)
    {
        const auto lead = b[0];
        size_t length;
        juce::uint32 minimum;
        if (lead < 0x80)
            return 1;
        if ((lead & 0xE0) == 0xC0)
            length = 2, minimum = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, minimum = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, minimum = 0x10000;
        else
            return 0;
        if (length > available)
            return 0;

        juce::uint32 code = lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i)
        {
            if ((b[i] & 0xC0) != 0x80)
                return 0;
            code = (code << 6) | (b[i] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return 0;
        return length;
    }
} // namespace

juce::String stringFromUtf8 (const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*> (data);
    if (bytes == nullptr)
        return {};

    std::string clean;
    clean.reserve (size);
    for (size_t i = 0; i < size && bytes[i] != 0;)
    {
        if (const auto length = validSequenceLength (bytes + i, size - i); length > 0)
        {
            clean.append (reinterpret_cast<const char*> (bytes + i), length);
            i += length;
        }
        else
        {
            clean.append ("\xEF\xBF\xBD");
            ++i;
        }
    }
    return juce::String::fromUTF8 (clean.data(), (int) clean.size());
}
} // namespace data
