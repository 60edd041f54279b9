// The instrument emulator's answers, and the .syx conversion of libraries.

#include "MidiTestSupport.h"

#include "midi/InstrumentEmulator.h"
#include "midi/SysExFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;
using namespace x38200_midi;

namespace
{
std::vector<std::string> answers (InstrumentEmulator& instrument, const Bytes& message)
{
    std::vector<std::string> result;
    for (auto& answer : instrument.handleMessage (message.data(), (int) message.size()))
        result.push_back (toHex (answer));
    return result;
}

std::vector<std::string> answers (InstrumentEmulator& instrument, const juce::MemoryBlock& message)
{
    return answers (instrument, toBytes (message));
}

x38200_data::ProgramData makeProgram (std::uint8_t seed)
{
    x38200_data::ProgramData program;
    Bytes raw (320);
    for (size_t i = 0; i < raw.size(); ++i)
        raw[i] = (std::uint8_t) (seed + i * 7);
    program.copyFromRawData (raw.data(), (int) raw.size());
    return program;
}
} // namespace

TEST (Emulator, AnswersIdentityAndSearchRequests)
{
    InstrumentEmulator::Options options;
    options.channel = 3;
    InstrumentEmulator instrument (options);
    const std::vector<std::string> identity { "F0 7E 03 06 02 42 18 01 00 00 01 00 00 00 F7" };
    EXPECT_EQ (answers (instrument, fromHex ("F0 7E 7F 06 01 F7")), identity);
    EXPECT_EQ (answers (instrument, fromHex ("F0 7E 03 06 01 F7")), identity);
    EXPECT_TRUE (answers (instrument, fromHex ("F0 7E 04 06 01 F7")).empty());
    EXPECT_EQ (answers (instrument, fromHex ("F0 42 50 00 05 F7")),
               std::vector<std::string> { "F0 42 50 01 03 05 18 01 00 00 01 00 00 00 F7" });

    options.familyId = 0x0119;
    InstrumentEmulator other (options);
    EXPECT_EQ (answers (other, fromHex ("F0 42 50 00 05 F7")),
               std::vector<std::string> { "F0 42 50 01 03 05 19 01 00 00 01 00 00 00 F7" });
}

TEST (Emulator, DumpsAndRequestsRoundTrip)
{
    InstrumentEmulator instrument ({});
    const SysExGenerator generator (0, TarnOMBIFamilyID, -1);
    const MidiMessageAnalyzer analyzer (TarnOMBIFamilyID);
    const auto program = makeProgram (3);
    const std::vector<std::string> ack { "F0 42 30 00 01 18 23 F7" };
    const std::vector<std::string> nak { "F0 42 30 00 01 18 24 F7" };

    EXPECT_EQ (answers (instrument, generator.createProgramDataDump (299, program)), ack);
    auto reply = instrument.handleMessage (static_cast<const std::uint8_t*> (generator.createProgramDataDumpRequest (299).getData()), 10);
    ASSERT_EQ (reply.size(), 1u);
    auto info = analyzer.analyze (static_cast<const std::uint8_t*> (reply[0].getData()), (int) reply[0].getSize());
    EXPECT_EQ (info.type, ProgramDataDump);
    EXPECT_EQ (info.value, 299);
    EXPECT_EQ (toBytes (info.data), Bytes (program.rawData.bytes, program.rawData.bytes + 320));
    EXPECT_EQ (answers (instrument, generator.createProgramDataDumpRequest (300)), nak);

    EXPECT_EQ (answers (instrument, generator.createCurrentProgramDataDump (program)), ack);
    EXPECT_EQ (std::memcmp (instrument.getCurrentProgram().bytes, program.rawData.bytes, 320), 0);

    juce::MemoryBlock global (224, true);
    static_cast<std::uint8_t*> (global.getData())[128] = 42; // favorite bank 0, slot 0
    EXPECT_EQ (answers (instrument, generator.createGlobalDataDump (global)), ack);
    EXPECT_EQ (instrument.getLibrary().favoriteData.getFavoriteData (0, 0), 42);
    reply = instrument.handleMessage (static_cast<const std::uint8_t*> (generator.createGlobalDataDumpRequest().getData()), 8);
    ASSERT_EQ (reply.size(), 1u);
    info = analyzer.analyze (static_cast<const std::uint8_t*> (reply[0].getData()), (int) reply[0].getSize());
    EXPECT_EQ (info.type, GlobalDataDump);
    EXPECT_EQ (info.data, global);

    EXPECT_TRUE (answers (instrument, SysExGenerator (1, TarnOMBIFamilyID, -1).createGlobalDataDumpRequest()).empty())
        << "messages on another channel are ignored";
    auto broken = toBytes (generator.createProgramDataDump (1, program));
    broken.erase (broken.begin() + 20, broken.begin() + 30);
    EXPECT_EQ (answers (instrument, broken), nak);
}

TEST (Emulator, FaultSwitches)
{
    const SysExGenerator generator (0, TarnOMBIFamilyID, -1);
    const MidiMessageAnalyzer analyzer (TarnOMBIFamilyID);
    const std::vector<std::string> nak { "F0 42 30 00 01 18 24 F7" };
    const auto program = makeProgram (9);

    InstrumentEmulator::Options options;
    options.writeProtect = true;
    InstrumentEmulator protectedInstrument (options);
    EXPECT_EQ (answers (protectedInstrument, generator.createProgramDataDump (0, program)), nak);
    EXPECT_NE (std::memcmp (protectedInstrument.getProgram (0).bytes, program.rawData.bytes, 320), 0);

    options = {};
    options.refuseRequests = true;
    InstrumentEmulator refusing (options);
    EXPECT_EQ (answers (refusing, generator.createCurrentProgramDataDumpRequest()), nak);

    options = {};
    options.silent = true;
    InstrumentEmulator silent (options);
    EXPECT_TRUE (answers (silent, fromHex ("F0 7E 7F 06 01 F7")).empty());

    options = {};
    options.truncateDumps = true;
    InstrumentEmulator truncating (options);
    const auto reply = truncating.handleMessage (static_cast<const std::uint8_t*> (generator.createProgramDataDumpRequest (0).getData()), 10);
    ASSERT_EQ (reply.size(), 1u);
    EXPECT_EQ (analyzer.analyze (static_cast<const std::uint8_t*> (reply[0].getData()), (int) reply[0].getSize()).type, Broken);
}

TEST (SysExFile, LibraryRoundTripAndCurrentProgramDumps)
{
    x38200_data::LibraryData library;
    for (int i = 0; i < 300; i += 37)
        library.getProgramData (i) = makeProgram ((std::uint8_t) i);
    const auto data = SysExFile::createLibraryData (library);
    ASSERT_EQ (data.getSize(), 300u * 376u);
    EXPECT_EQ (toHex (juce::MemoryBlock (data.getData(), 9)), "F0 42 30 00 01 18 4C 00 00");

    const auto file = makeTemporaryFolder ("syx").getChildFile ("library.syx");
    juce::String error;
    ASSERT_TRUE (SysExFile::writeLibraryFile (file, library, error)) << error;
    x38200_data::LibraryData read;
    EXPECT_EQ (SysExFile::readLibraryFile (file, read, error), 300) << error;
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ (std::memcmp (read.getProgramData (i).rawData.bytes, library.getProgramData (i).rawData.bytes, 320), 0) << i;

    // A current-program dump goes to program 1; the rest stays initialized.
    const auto program = makeProgram (77);
    const auto current = SysExGenerator (4, TarnOMBIFamilyID, -1).createCurrentProgramDataDump (program);
    x38200_data::LibraryData fromCurrent;
    EXPECT_EQ (SysExFile::readLibraryData (current.getData(), current.getSize(), fromCurrent, error), 1);
    EXPECT_EQ (fromCurrent.getProgramData (0).rawData.bytes[5], program.rawData.bytes[5]);
    EXPECT_EQ (std::memcmp (fromCurrent.getProgramData (1).rawData.bytes, x38200_data::InitProgramData.bytes, 320), 0);
}

TEST (SysExFile, BadFilesAreRefusedAndChangeNothing)
{
    const auto dump = toBytes (SysExGenerator (0, TarnOMBIFamilyID, -1).createProgramDataDump (3, makeProgram (1)));
    auto shortDump = dump;
    shortDump.erase (shortDump.begin() + 100, shortDump.begin() + 110);
    auto cutOff = dump;
    cutOff.resize (200);
    cutOff.push_back (0xF0);

    const std::pair<const char*, Bytes> cases[] = {
        { "empty", {} },
        { "no dump", fromHex ("F0 7E 7F 06 01 F7 90 40 7F") },
        { "short dump", shortDump },
        { "dump cut off by another message", cutOff },
        { "another family", fromHex ("F0 42 30 00 01 19 4C 00 00 F7") },
    };
    for (const auto& [name, bytes] : cases)
    {
        x38200_data::LibraryData library;
        library.getProgramData (3) = makeProgram (50);
        const auto before = library;
        juce::String error;
        EXPECT_EQ (SysExFile::readLibraryData (bytes.data(), bytes.size(), library, error), 0) << name;
        EXPECT_TRUE (error.isNotEmpty()) << name;
        EXPECT_TRUE (library == before) << name;
    }
}
