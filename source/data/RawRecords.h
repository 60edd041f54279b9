#pragma once

#include <cstdint>

// The instrument's own records, exactly as it stores them. They live in the global
// namespace because the parameter layer and the MIDI layer work on them directly;
// x38200_data::ProgramData wraps a program record with its texts and digest.

// One program: 320 bytes, the name in bytes 0 to 11.
struct ProgramData
{
    static constexpr int Size = 320;
    std::uint8_t bytes[Size];
};

// The instrument's global settings: 224 bytes, the favorite area in bytes 128 to 223.
struct GlobalData
{
    static constexpr int Size = 224;
    std::uint8_t bytes[Size];
};

static_assert (sizeof (ProgramData) == 320, "a program record is 320 bytes");
static_assert (sizeof (GlobalData) == 224, "a global record is 224 bytes");
