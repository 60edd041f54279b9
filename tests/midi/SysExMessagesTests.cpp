// The instrument's System Exclusive messages: packing, building and classification.

#include "MidiTestSupport.h"

#include "midi/SysExMessages.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarnombi::test;
using namespace x38200_midi;

namespace
{
Bytes randomBytes (size_t n, unsigned seed)
{
    std::mt19937 random (seed);
    Bytes bytes (n);
    for (auto& b : bytes)
        b = (std::uint8_t) std::uniform_int_distribution<int> (0, 255) (random);
    return bytes;
}

Bytes pack (const Bytes& data)
{
    Bytes packed ((size_t) calculatePackedSize ((int) data.size()), 0xEE);
    packData (packed.data(), data.data(), (int) data.size());
    return packed;
}

const std::string header = "F0 42 30 00 01 18";

// A complete dump message: header, function code, prefix bytes, the packed payload, F7;
// then cut to length (or padded with zeros).
Bytes dumpMessage (const std::string& functionAndPrefix, const Bytes& payload, size_t length)
{
    Bytes message = fromHex (header + " " + functionAndPrefix);
    const auto packed = pack (payload);
    message.insert (message.end(), packed.begin(), packed.end());
    message.push_back (0xF7);
    message.resize (length, 0);
    return message;
}
} // namespace

TEST (SysExMessages, PackingSizesAndRoundTrip)
{
    const std::pair<int, int> sizes[] = { { 0, 0 }, { 1, 2 }, { 7, 8 }, { 8, 10 }, { 224, 256 }, { 320, 366 } };
    for (auto [n, packedSize] : sizes)
    {
        EXPECT_EQ (calculatePackedSize (n), packedSize) << n;
        const auto data = randomBytes ((size_t) n, (unsigned) n);
        const auto packed = pack (data);
        for (auto b : packed)
            ASSERT_LT (b, 0x80) << "packed bytes are data bytes";
        Bytes unpacked ((size_t) n, 0xEE);
        unpackData (unpacked.data(), packed.data(), n);
        EXPECT_EQ (unpacked, data) << n;
    }
    EXPECT_EQ (toHex (pack (fromHex ("80 01 FF"))), "05 00 01 7F");
}

TEST (SysExMessages, BuiltMessages)
{
    const SysExGenerator generator (5, TarnOMBIFamilyID, -1);
    EXPECT_EQ (toHex (generator.createDeviceInquiryRequest()), "F0 7E 7F 06 01 F7");
    EXPECT_EQ (toHex (generator.createCurrentProgramDataDumpRequest()), "F0 42 35 00 01 18 10 F7");
    EXPECT_EQ (toHex (generator.createGlobalDataDumpRequest()), "F0 42 35 00 01 18 0E F7");
    EXPECT_EQ (toHex (generator.createProgramDataDumpRequest (299)), "F0 42 35 00 01 18 1C 2B 02 F7");
    EXPECT_EQ (toHex (generator.createProgramDataDumpRequest (0)), "F0 42 35 00 01 18 1C 00 00 F7");
    EXPECT_EQ (toHex (generator.createGlobalDataDump ({})), "F0 42 35 00 01 18 51 F7");

    x38200_data::ProgramData program;
    const auto payload = randomBytes (320, 7);
    program.copyFromRawData (payload.data(), 320);
    const auto dump = toBytes (generator.createProgramDataDump (299, program));
    ASSERT_EQ (dump.size(), 376u);
    EXPECT_EQ (toHex (Bytes (dump.begin(), dump.begin() + 9)), "F0 42 35 00 01 18 4C 2B 02");
    EXPECT_EQ (dump.back(), 0xF7);
    EXPECT_EQ (Bytes (dump.begin() + 9, dump.end() - 1), pack (payload));
    EXPECT_EQ (generator.createCurrentProgramDataDump (program).getSize(), 374u);
    EXPECT_EQ (generator.createGlobalDataDump (juce::MemoryBlock (224, true)).getSize(), 264u);
    EXPECT_EQ (toHex (SysExGenerator (16 + 3, 0x0118, -1).createReply (0x23)), "F0 42 33 00 01 18 23 F7")
        << "the channel keeps its low nibble";
}

TEST (SysExMessages, EveryClassificationRule)
{
    const auto program = randomBytes (320, 11);
    const auto global = randomBytes (224, 12);

    struct Case
    {
        const char* name;
        Bytes message;
        MidiMessageType type;
        int value;
        size_t dataSize;
    };
    const Case cases[] = {
        { "identity reply", fromHex ("F0 7E 03 06 02 42 18 01 00 00 01 00 00 00 F7"), DeviceInquiryReply, 0, 15 },
        { "identity reply, other maker: still an identity reply", fromHex ("F0 7E 03 06 02 41 18 01 00 00 01 00 00 00 F7"), DeviceInquiryReply, 0, 15 },
        { "identity reply of 14 bytes", fromHex ("F0 7E 03 06 02 42 18 01 00 00 01 00 00 F7"), Invalid, 0, 0 },
        { "identity reply of 16 bytes", fromHex ("F0 7E 03 06 02 42 18 01 00 00 01 00 00 00 00 F7"), Invalid, 0, 0 },
        { "identity request", fromHex ("F0 7E 7F 06 01 F7"), Invalid, 0, 0 },
        { "global data dump request", fromHex (header + " 0E F7"), GlobalDataDumpRequest, 0, 0 },
        { "current program dump request", fromHex (header + " 10 F7"), CurrentProgramDataDumpRequest, 0, 0 },
        { "program dump request", fromHex (header + " 1C 2B 02 F7"), ProgramDataDumpRequest, 299, 0 },
        { "function byte with bit 7 set", fromHex (header + " 8E F7"), GlobalDataDumpRequest, 0, 0 },
        { "unknown function below 0x1C", fromHex (header + " 1B F7"), Invalid, 0, 0 },
        { "reply 21", fromHex (header + " 21 F7"), Reply21, 0, 0 },
        { "reply 22", fromHex (header + " 22 F7"), Reply22, 0, 0 },
        { "dump accepted", fromHex (header + " 23 F7"), DumpAck, 0, 0 },
        { "dump refused", fromHex (header + " 24 F7"), DumpNak, 0, 0 },
        { "reply 26", fromHex (header + " 26 F7"), Reply26, 0, 0 },
        { "unknown function 0x25", fromHex (header + " 25 F7"), Invalid, 0, 0 },
        { "unknown function 0x3F", fromHex (header + " 3F F7"), Invalid, 0, 0 },
        { "unknown function 0x41", fromHex (header + " 41 F7"), Invalid, 0, 0 },
        { "reply on another channel", fromHex ("F0 42 3A 00 01 18 23 F7"), DumpAck, 0, 0 },
        { "byte 3 not compared", fromHex ("F0 42 30 7F 01 18 23 F7"), DumpAck, 0, 0 },
        { "byte 2 of 0x40", fromHex ("F0 42 40 00 01 18 23 F7"), Invalid, 0, 0 },
        { "another family", fromHex ("F0 42 30 00 01 19 23 F7"), Invalid, 0, 0 },
        { "family bytes swapped", fromHex ("F0 42 30 00 18 01 23 F7"), Invalid, 0, 0 },
        { "seven bytes", fromHex ("F0 42 30 00 01 18 23"), Invalid, 0, 0 },
        { "another maker", fromHex ("F0 41 30 00 01 18 23 F7"), Invalid, 0, 0 },
        { "current program dump", dumpMessage ("40", program, 374), CurrentProgramDataDump, 0, 320 },
        { "current program dump, one byte short", dumpMessage ("40", program, 373), Broken, 0, 0 },
        { "program dump", dumpMessage ("4C 2B 02", program, 376), ProgramDataDump, 299, 320 },
        { "program dump of 375 bytes", dumpMessage ("4C 2B 02", program, 375), Broken, 0, 0 },
        { "program dump of 380 bytes", dumpMessage ("4C 05 00", program, 380), ProgramDataDump, 5, 320 },
        { "global dump", dumpMessage ("51", global, 264), GlobalDataDump, 0, 224 },
        { "global dump, one byte short", dumpMessage ("51", global, 263), Broken, 0, 0 },
        { "a lone F0", fromHex ("F0"), Invalid, 0, 0 },
    };

    const MidiMessageAnalyzer analyzer (TarnOMBIFamilyID);
    for (const auto& c : cases)
    {
        const CPXRMidiMessage message (c.message.data(), (juce::uint32) c.message.size());
        const auto info = analyzer.analyze (message);
        EXPECT_EQ (info.type, c.type) << c.name;
        EXPECT_EQ (info.value, c.value) << c.name;
        EXPECT_EQ (info.data.getSize(), c.dataSize) << c.name;
        if (info.type == ProgramDataDump || info.type == CurrentProgramDataDump)
        {
            EXPECT_EQ (toBytes (info.data), program) << c.name;
        }
        if (info.type == GlobalDataDump)
        {
            EXPECT_EQ (toBytes (info.data), global) << c.name;
        }
        if (info.type == DeviceInquiryReply)
        {
            EXPECT_EQ (toBytes (info.data), c.message) << c.name;
        }
    }
}

TEST (SysExMessages, RandomMessagesNeverCrashTheAnalyzer)
{
    const MidiMessageAnalyzer analyzer (TarnOMBIFamilyID);
    std::mt19937 random (4242);
    const Bytes headers[] = { fromHex ("F0 42 30 00 01 18"), fromHex ("F0 7E 00 06 02"), fromHex ("F0") };
    for (int i = 0; i < 20000; ++i)
    {
        const auto& start = headers[(size_t) std::uniform_int_distribution<int> (0, 2) (random)];
        const int length = std::uniform_int_distribution<int> (0, 400) (random);
        Bytes message (start.begin(), start.begin() + std::min<size_t> (start.size(), (size_t) length));
        while ((int) message.size() < length)
            message.push_back ((std::uint8_t) std::uniform_int_distribution<int> (0, 255) (random));
        // Exact-length copies let the sanitizer see any read past the end.
        std::unique_ptr<std::uint8_t[]> exact (new std::uint8_t[(size_t) std::max (length, 1)]);
        std::copy (message.begin(), message.end(), exact.get());
        const auto info = analyzer.analyze (exact.get(), length);
        EXPECT_TRUE (info.type >= Broken && info.type <= Reply22 && info.type != 2 && info.type != 10);
    }
}
