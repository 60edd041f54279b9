// The command-line transfers against tarnombi-emulator, as separate programs on a JACK server
// with the dummy driver. Every process a test starts is stopped by that test.

#include "TransferTestSupport.h"

#include "../midi/JackTestServer.h"

#include "file/LibraryFiles.h"
#include "midi/InstrumentEmulator.h"
#include "midi/MidiBackend.h"
#include "midi/SysExFile.h"
#include "midi/SysExMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace tarnombi::test;
using namespace x38200_midi;

namespace
{
juce::StringArray emulatorCommand (const juce::String& name, const juce::StringArray& extra = {})
{
    juce::StringArray command { getBuiltProgram ("tarnombi-emulator").getFullPathName(), "--api", "jack", "--name", name };
    command.addArray (extra);
    return command;
}

// The tool on JACK, in English; with a name, on the emulator's ports instead of the scanner's.
juce::StringArray toolCommand (const juce::StringArray& arguments, const juce::String& emulatorName = {})
{
    juce::StringArray command { getBuiltProgram ("tarnombi").getFullPathName() };
    command.addArray (arguments);
    command.addArray ({ "--api", "jack", "--lang", "en" });
    if (emulatorName.isNotEmpty())
        command.addArray ({ "--in", emulatorName + " Out - MIDI", "--out", emulatorName + " In - MIDI" });
    return command;
}

struct LogLine
{
    std::string direction;
    Bytes bytes;
};

std::vector<LogLine> readLog (const juce::File& log)
{
    std::vector<LogLine> lines;
    juce::StringArray text;
    log.readLines (text);
    for (const auto& line : text)
        if (line.isNotEmpty())
            lines.push_back ({ line.upToFirstOccurrenceOf (" ", false, false).toStdString(),
                               fromHex (line.fromFirstOccurrenceOf (" ", false, false).toStdString()) });
    return lines;
}

AnalyzedInformation analyze (const Bytes& bytes)
{
    return MidiMessageAnalyzer (TarnOMBIFamilyID).analyze (bytes.data(), (int) bytes.size());
}

// "in request 5", "out dump 5", "in identity", ... for the instrument's own messages.
std::string describe (const LogLine& line)
{
    const auto info = analyze (line.bytes);
    const auto kind = [&]() -> std::string {
        switch (info.type)
        {
            case DeviceInquiryReply: return "identity reply";
            case ProgramDataDump: return "dump " + std::to_string (info.value);
            case ProgramDataDumpRequest: return "request " + std::to_string (info.value);
            case GlobalDataDumpRequest: return "global request";
            case GlobalDataDump: return "global dump";
            case CurrentProgramDataDump: return "current dump";
            case CurrentProgramDataDumpRequest: return "current request";
            case DumpAck: return "ack";
            case DumpNak: return "nak";
            default: return toHex (line.bytes) == "F0 7E 7F 06 01 F7" ? "identity request" : toHex (line.bytes);
        }
    }();
    return line.direction + " " + kind;
}

bool isSearch (const LogLine& line)
{
    return line.bytes.size() >= 4 && line.bytes[1] == 0x42 && line.bytes[2] == 0x50;
}

// The log from the last identity request on (the transfer of the tool), without the scan.
std::vector<std::string> transferLines (const juce::File& log)
{
    std::vector<std::string> lines;
    for (const auto& line : readLog (log))
    {
        if (isSearch (line))
            continue;
        const auto text = describe (line);
        if (text == "in identity request")
            lines.clear();
        lines.push_back (text);
    }
    return lines;
}

// Sends the emulator a global data block as the librarian would, through a port of this process.
void sendGlobalData (const juce::String& emulatorName, const juce::MemoryBlock& globalData)
{
    CPXRMidi midi (midi::createSystemMidiBackend ("jack"));
    ASSERT_TRUE (midi.Create ("TestSender"));
    RecordingListener listener;
    midi.AddListener (&listener);
    ASSERT_TRUE (midi.MidiInOpen (emulatorName + " Out - MIDI")) << midi.GetLastError();
    ASSERT_TRUE (midi.MidiOutOpen (emulatorName + " In - MIDI")) << midi.GetLastError();
    auto dump = SysExGenerator (0, TarnOMBIFamilyID, -1).createGlobalDataDump (globalData);
    ASSERT_TRUE (midi.Out ((int) dump.getSize(), static_cast<unsigned char*> (dump.getData())));
    EXPECT_TRUE (runMessageLoopUntil ([&] {
        const auto messages = listener.getLongMessages();
        return ! messages.empty() && toHex (messages.back()) == "F0 42 30 00 01 18 23 F7";
    })) << "the emulator did not take the global data";
    midi.MidiInClose();
    midi.MidiOutClose();
}

x38200_data::LibraryData readLibrary (const juce::File& file)
{
    x38200_data::LibraryData library;
    EXPECT_EQ (x38200_file::LibraryFileReader (library).readFromFile (file), 0) << file.getFullPathName();
    return library;
}

void expectSamePrograms (const x38200_data::LibraryData& a, const x38200_data::LibraryData& b)
{
    for (int n = 0; n < 300; ++n)
        ASSERT_EQ (a.getProgramData (n).md5, b.getProgramData (n).md5) << "program " << n;
}

void expectSameFavorites (const x38200_data::FavoriteData& a, const x38200_data::FavoriteData& b)
{
    for (int bank = 0; bank < 6; ++bank)
        for (int slot = 0; slot < 8; ++slot)
            EXPECT_EQ (a.getFavoriteData (bank, slot), b.getFavoriteData (bank, slot)) << bank << "/" << slot;
}

class TransferEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { jack = new JackTestServer(); }
    static void TearDownTestSuite()
    {
        delete jack;
        jack = nullptr;
    }

    void SetUp() override
    {
        if (! jack->isAvailable())
            GTEST_SKIP() << jack->getProblem().toStdString();
        folder = makeTemporaryFolder ("transfer-e2e");
    }

    // Starts the emulator and waits until it is ready.
    void startEmulator (Process& emulator, const juce::String& name, const juce::StringArray& extra = {})
    {
        ASSERT_TRUE (startProcess (emulator, emulatorCommand (name, extra)));
        ASSERT_TRUE (waitForOutput (emulator, "ready")) << emulator.readOutput();
    }

    juce::File writeSysEx (const juce::String& name, const x38200_data::LibraryData& library)
    {
        const auto file = folder.getChildFile (name);
        juce::String error;
        EXPECT_TRUE (SysExFile::writeLibraryFile (file, library, error)) << error;
        return file;
    }

    juce::File writeLibraryFile (const juce::String& name, const x38200_data::LibraryData& library)
    {
        const auto file = folder.getChildFile (name);
        EXPECT_EQ (x38200_file::LibraryFileWriter (library).writeToFile (file), 0);
        return file;
    }

    static JackTestServer* jack;
    juce::File folder;
};

JackTestServer* TransferEndToEnd::jack = nullptr;
} // namespace

TEST_F (TransferEndToEnd, ReceiveLibraryGetsEveryProgramAndFavoriteTheInstrumentHolds)
{
    const auto held = makeDistinctLibrary (7);
    const auto log = folder.getChildFile ("emulator.log");
    Process emulator;
    startEmulator (emulator, "E2E Receive", { "--library", writeSysEx ("held.syx", held).getFullPathName(), "--log", log.getFullPathName() });
    juce::MemoryBlock global (224, true);
    InstrumentEmulator::writeFavorites (held.favoriteData, static_cast<unsigned char*> (global.getData()));
    sendGlobalData ("E2E Receive", global);

    const auto out = folder.getChildFile ("received.tolib");
    const auto run = runProgram (toolCommand ({ "receive-library", out.getFullPathName() }));
    EXPECT_EQ (run.exitStatus, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("Succeeded.")) << run.output;
    EXPECT_TRUE (run.output.contains ("100%")) << run.output;
    const auto received = readLibrary (out);
    expectSamePrograms (received, held);
    expectSameFavorites (received.favoriteData, held.favoriteData);

    std::vector<std::string> expected { "in identity request", "out identity reply" };
    for (int n = 0; n < 300; ++n)
    {
        expected.push_back ("in request " + std::to_string (n));
        expected.push_back ("out dump " + std::to_string (n));
    }
    expected.push_back ("in global request");
    expected.push_back ("out global dump");
    EXPECT_EQ (transferLines (log), expected);
    EXPECT_EQ (stopProcess (emulator), 0);
}

TEST_F (TransferEndToEnd, WriteLibrarySendsProgramsThenTheFavoritesInTheInstrumentsOwnGlobalData)
{
    const auto log = folder.getChildFile ("emulator.log");
    const auto saved = folder.getChildFile ("saved.syx");
    Process emulator;
    startEmulator (emulator, "E2E Write", { "--log", log.getFullPathName(), "--save", saved.getFullPathName() });
    // The instrument's own global settings, which the write must leave as they are.
    juce::MemoryBlock settings (224, true);
    for (int i = 0; i < 224; ++i)
        static_cast<std::uint8_t*> (settings.getData())[i] = (std::uint8_t) (255 - i);
    sendGlobalData ("E2E Write", settings);

    const auto library = makeDistinctLibrary (0);
    const auto file = writeLibraryFile ("library.tolib", library);

    // Without a terminal a write needs --yes; nothing reaches the instrument.
    const auto refused = runProgram (toolCommand ({ "write-library", file.getFullPathName() }, "E2E Write"));
    EXPECT_EQ (refused.exitStatus, 2) << refused.output;
    EXPECT_TRUE (refused.output.contains ("--yes")) << refused.output;

    const auto run = runProgram (toolCommand ({ "write-library", file.getFullPathName(), "--yes" }, "E2E Write"));
    EXPECT_EQ (run.exitStatus, 0) << run.output;

    std::vector<std::string> expected { "in identity request", "out identity reply" };
    for (int n = 0; n < 300; ++n)
    {
        expected.push_back ("in dump " + std::to_string (n));
        expected.push_back ("out ack");
    }
    for (auto line : { "in global request", "out global dump", "in global dump", "out ack" })
        expected.push_back (line);
    EXPECT_EQ (transferLines (log), expected);

    // The global dump that went back: the instrument's bytes 0 to 127, then the favorites.
    const auto lines = readLog (log);
    ASSERT_GE (lines.size(), 2u);
    const auto written = analyze (lines[lines.size() - 2].bytes).data;
    ASSERT_EQ (written.getSize(), 224u);
    const auto* bytes = static_cast<const std::uint8_t*> (written.getData());
    EXPECT_EQ (0, std::memcmp (bytes, settings.getData(), 128));
    expectSameFavorites (InstrumentEmulator::readFavorites (bytes), library.favoriteData);
    EXPECT_EQ (bytes[128], 0x2B);
    EXPECT_EQ (bytes[129], 0x01);

    // Received back, the library is the same, favorites included.
    const auto back = folder.getChildFile ("back.tolib");
    const auto receive = runProgram (toolCommand ({ "receive-library", back.getFullPathName() }, "E2E Write"));
    EXPECT_EQ (receive.exitStatus, 0) << receive.output;
    expectSameFavorites (readLibrary (back).favoriteData, library.favoriteData);

    EXPECT_EQ (stopProcess (emulator), 0);
    x38200_data::LibraryData held;
    juce::String error;
    ASSERT_EQ (SysExFile::readLibraryFile (saved, held, error), 300) << error;
    expectSamePrograms (held, library);
}

TEST_F (TransferEndToEnd, SelectedProgramsAndTheCurrentProgram)
{
    const auto held = makeDistinctLibrary (2);
    const auto saved = folder.getChildFile ("saved.syx");
    const auto log = folder.getChildFile ("emulator.log");
    Process emulator;
    startEmulator (emulator, "E2E Selected",
                   { "--library", writeSysEx ("held.syx", held).getFullPathName(), "--save", saved.getFullPathName(), "--log", log.getFullPathName() });

    const auto base = makeDistinctLibrary (1);
    const auto baseFile = writeLibraryFile ("base.tolib", base);
    const auto out = folder.getChildFile ("selected.tolib");
    const auto run = runProgram (toolCommand ({ "receive-programs", out.getFullPathName(), "--programs", "2,5-6", "--into", baseFile.getFullPathName() }, "E2E Selected"));
    EXPECT_EQ (run.exitStatus, 0) << run.output;
    EXPECT_EQ (transferLines (log), (std::vector<std::string> { "in identity request", "out identity reply", "in request 1", "out dump 1", "in request 4",
                                                                "out dump 4", "in request 5", "out dump 5" }));
    const auto received = readLibrary (out);
    for (int n = 0; n < 300; ++n)
    {
        const bool asked = n == 1 || n == 4 || n == 5;
        ASSERT_EQ (received.getProgramData (n).md5, (asked ? held : base).getProgramData (n).md5) << n;
    }
    expectSameFavorites (received.favoriteData, base.favoriteData);

    const auto write = runProgram (toolCommand ({ "write-programs", baseFile.getFullPathName(), "--programs", "3,300", "--yes" }, "E2E Selected"));
    EXPECT_EQ (write.exitStatus, 0) << write.output;
    EXPECT_EQ (transferLines (log), (std::vector<std::string> { "in identity request", "out identity reply", "in dump 2", "out ack", "in dump 299", "out ack" }));

    // The edit buffer: send program 7 of a file, then receive it back.
    const auto send = runProgram (toolCommand ({ "send-current", baseFile.getFullPathName(), "--program", "7" }, "E2E Selected"));
    EXPECT_EQ (send.exitStatus, 0) << send.output;
    EXPECT_EQ (transferLines (log), (std::vector<std::string> { "in identity request", "out identity reply", "in current dump", "out ack" }));
    const auto current = folder.getChildFile ("current.toprog");
    const auto receive = runProgram (toolCommand ({ "receive-current", current.getFullPathName() }, "E2E Selected"));
    EXPECT_EQ (receive.exitStatus, 0) << receive.output;
    x38200_data::ProgramData program;
    EXPECT_EQ (x38200_file::ProgramFileReader (program).readFromFile (current), 0);
    EXPECT_EQ (program.md5, base.getProgramData (6).md5);

    EXPECT_EQ (stopProcess (emulator), 0);
    x38200_data::LibraryData after;
    juce::String error;
    ASSERT_EQ (SysExFile::readLibraryFile (saved, after, error), 300) << error;
    for (int n = 0; n < 300; ++n)
    {
        const bool written = n == 2 || n == 299;
        ASSERT_EQ (after.getProgramData (n).md5, (written ? base : held).getProgramData (n).md5) << n;
    }
}

TEST_F (TransferEndToEnd, EveryFailureEndsWithItsCodeAndTextAndWritesNothing)
{
    struct Case
    {
        const char* emulatorOption;
        const char* value;
        bool write;
        int status;
        const char* text;
        const char* detail;
    };
    const Case cases[] = {
        { "--silent", nullptr, false, 3, "Timeout.", "Please make sure of the MIDI port settings, and MIDI Filter SysEx setting of the TarnOMBI." },
        { "--identity-family", "0x0119", false, 4, "The connected MIDI device is not TarnOMBI.", "Please make sure of the MIDI port settings." },
        { "--refuse-requests", nullptr, false, 5, "Failed to communicate with the TarnOMBI.", nullptr },
        { "--write-protect", nullptr, true, 6, "Error occurred while writing data.", "Please make sure the Write Protect setting of the TarnOMBI is OFF." },
        { "--truncate-dumps", nullptr, false, 8, "Received MIDI message is broken.", nullptr },
    };
    const auto library = writeLibraryFile ("library.tolib", makeDistinctLibrary (3));
    const auto out = folder.getChildFile ("out.tolib");
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.emulatorOption);
        const juce::String name = juce::String ("E2E Fail ") + juce::String (c.emulatorOption).substring (2);
        juce::StringArray options { c.emulatorOption };
        if (c.value != nullptr)
            options.add (c.value);
        Process emulator;
        startEmulator (emulator, name, options);
        ASSERT_TRUE (out.replaceWithText ("what was there before"));

        const auto run = c.write ? runProgram (toolCommand ({ "write-library", library.getFullPathName(), "--yes" }, name))
                                 : runProgram (toolCommand ({ "receive-library", out.getFullPathName() }, name));
        EXPECT_EQ (run.exitStatus, c.status) << run.output;
        EXPECT_TRUE (run.output.contains (c.text)) << run.output;
        if (c.detail != nullptr)
        {
            EXPECT_TRUE (run.output.contains (c.detail)) << run.output;
        }
        EXPECT_FALSE (run.output.contains ("Succeeded.")) << run.output;
        EXPECT_EQ (out.loadFileAsString(), "what was there before");
        EXPECT_EQ (stopProcess (emulator), 0);
    }
    EXPECT_EQ (folder.findChildFiles (juce::File::findFiles, false, "*").size(), 2) << "no temporary file is left behind";
}

TEST_F (TransferEndToEnd, PortsThatCannotBeFoundOrOpenedAreReported)
{
    // An instrument that answers nothing is not found by the scan.
    Process emulator;
    startEmulator (emulator, "E2E Mute", { "--silent" });
    const auto out = folder.getChildFile ("out.tolib");
    const auto scanned = runProgram (toolCommand ({ "receive-library", out.getFullPathName() }));
    EXPECT_EQ (scanned.exitStatus, 2) << scanned.output;
    EXPECT_TRUE (scanned.output.contains ("TarnOMBI is not connected.")) << scanned.output;

    const auto named = runProgram (toolCommand ({ "receive-library", out.getFullPathName() }, "E2E Nobody"));
    EXPECT_EQ (named.exitStatus, 2) << named.output;
    EXPECT_TRUE (named.output.contains ("Failed to open the MIDI port.")) << named.output;
    EXPECT_FALSE (out.exists());
    EXPECT_EQ (stopProcess (emulator), 0);
}

TEST_F (TransferEndToEnd, CtrlCCancelsAReceiveAndKeepsTheOldFile)
{
    Process emulator;
    startEmulator (emulator, "E2E Cancel", { "--delay-ms", "10" });
    const auto out = folder.getChildFile ("out.tolib");
    ASSERT_TRUE (out.replaceWithText ("what was there before"));
    Process tool;
    ASSERT_TRUE (startProcess (tool, toolCommand ({ "receive-library", out.getFullPathName() }, "E2E Cancel")));
    ASSERT_TRUE (waitForOutput (tool, "[###", 20000)) << tool.readOutput();
    tool.signal (SIGINT);
    EXPECT_EQ (tool.waitForExit (10000), 1) << tool.readOutput();
    EXPECT_TRUE (tool.readOutput().contains ("Canceled.")) << tool.readOutput();
    EXPECT_EQ (out.loadFileAsString(), "what was there before");
    EXPECT_EQ (stopProcess (emulator), 0);
}

TEST_F (TransferEndToEnd, AnInstrumentThatGoesAwayMidTransferGivesATimeout)
{
    Process emulator;
    startEmulator (emulator, "E2E Vanish", { "--delay-ms", "10" });
    const auto out = folder.getChildFile ("out.tolib");
    Process tool;
    ASSERT_TRUE (startProcess (tool, toolCommand ({ "receive-library", out.getFullPathName() }, "E2E Vanish")));
    ASSERT_TRUE (waitForOutput (tool, "[###", 20000)) << tool.readOutput();
    emulator.signal (SIGKILL);
    emulator.waitForExit (5000);
    // The program request waits 5 s for its dump.
    const int status = tool.waitForExit (5000 + 3000);
    EXPECT_EQ (status, 3) << tool.readOutput();
    EXPECT_TRUE (tool.readOutput().contains ("Timeout.")) << tool.readOutput();
    EXPECT_FALSE (out.exists());
    if (status < 0)
        tool.stop();
}
