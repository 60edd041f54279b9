#pragma once

#include "data/ProgramData.h"
#include "midi/SysExMessages.h"

#include <mutex>
#include <vector>

namespace x38200_midi
{
// The instrument's side of the System Exclusive protocol: it holds 300 programs, the edit buffer
// and the 224-byte global block, answers the identity and search requests and the dump requests,
// and takes dumps with an acknowledgement. It ignores instrument messages on other channels, as
// the instrument does. It moves no bytes itself: the emulator program and the tests feed it
// complete messages and send what it returns.
class InstrumentEmulator
{
public:
    struct Options
    {
        int channel = 0; // global MIDI channel 0 to 15
        int familyId = TarnOMBIFamilyID; // the family it answers as
        bool writeProtect = false; // refuse dumps with 0x24
        bool refuseRequests = false; // answer requests with 0x24
        bool silent = false; // answer nothing
        bool truncateDumps = false; // send dumps that are too short
    };

    // Bytes cut from every dump sent with truncateDumps.
    static constexpr int TruncatedBytes = 10;

    explicit InstrumentEmulator (const Options& options);

    // Handles one complete message (0xF0 to 0xF7); returns the answers, in sending order.
    std::vector<juce::MemoryBlock> handleMessage (const unsigned char* bytes, int length);

    // Programs and favorites as a library (the favorites live in the global block).
    void setLibrary (const x38200_data::LibraryData& library);
    x38200_data::LibraryData getLibrary() const;

    ::ProgramData getProgram (int programNumber) const;
    ::ProgramData getCurrentProgram() const;
    juce::MemoryBlock getGlobalData() const;
    const Options& getOptions() const noexcept { return options; }

    // The favorite table inside a 224-byte global block.
    static void writeFavorites (const x38200_data::FavoriteData& favorites, unsigned char* globalData);
    static x38200_data::FavoriteData readFavorites (const unsigned char* globalData);

private:
    juce::MemoryBlock identityReply() const;
    juce::MemoryBlock searchReply (unsigned char echoId) const;
    juce::MemoryBlock dump (juce::MemoryBlock message) const;
    std::vector<juce::MemoryBlock> handleInstrumentMessage (const unsigned char* bytes, int length);

    const Options options;
    const SysExGenerator generator;
    const MidiMessageAnalyzer analyzer;
    mutable std::mutex mutex;
    std::vector<::ProgramData> programs;
    ::ProgramData currentProgram;
    ::GlobalData globalData;
};
} // namespace x38200_midi
