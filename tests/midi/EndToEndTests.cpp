// The command-line tool and the emulator as separate programs on a JACK server with the dummy
// driver. Every process a test starts is stopped by that test.

#include "MidiTestSupport.h"
#include "JackTestServer.h"

#include "file/AnyFileReader.h"
#include "midi/MidiBackend.h"
#include "midi/SysExMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

namespace
{
juce::StringArray emulatorCommand (const juce::String& name, const juce::StringArray& extra = {})
{
    juce::StringArray command { getBuiltProgram ("tarnombi-emulator").getFullPathName(), "--api", "jack", "--name", name };
    command.addArray (extra);
    return command;
}

juce::StringArray toolCommand (const juce::String& subcommand)
{
    return { getBuiltProgram ("tarnombi").getFullPathName(), subcommand, "--api", "jack" };
}

#define REQUIRE_JACK(server)                                \
    if (! (server).isAvailable())                           \
    {                                                       \
        GTEST_SKIP() << (server).getProblem().toStdString(); \
    }
} // namespace

TEST (EndToEnd, PortsListsTheEmulatorsPorts)
{
    JackTestServer jack;
    REQUIRE_JACK (jack);
    Process emulator;
    ASSERT_TRUE (startProcess (emulator, emulatorCommand ("E2E Ports")));
    ASSERT_TRUE (waitForOutput (emulator, "ready")) << emulator.readOutput();

    const auto run = runProgram (toolCommand ("ports"));
    const auto& output = run.output;
    EXPECT_EQ (run.exitStatus, 0) << output;
    EXPECT_TRUE (output.contains ("MIDI back end: jack")) << output;
    const auto inputs = output.fromFirstOccurrenceOf ("Inputs:", false, false).upToFirstOccurrenceOf ("Outputs:", false, false);
    const auto outputs = output.fromFirstOccurrenceOf ("Outputs:", false, false);
    EXPECT_TRUE (inputs.contains ("E2E Ports Out - MIDI")) << output;
    EXPECT_TRUE (outputs.contains ("E2E Ports In - MIDI")) << output;
    EXPECT_FALSE (output.contains ("MidiDevice")) << "the tool's own ports are not listed";

    EXPECT_EQ (stopProcess (emulator), 0) << "the emulator ends cleanly on SIGTERM";
}

TEST (EndToEnd, ScanFindsTheEmulatorAmongOtherPorts)
{
    JackTestServer jack;
    REQUIRE_JACK (jack);
    // A MIDI client that never answers, listed before the instrument.
    Process bystander;
    ASSERT_TRUE (startProcess (bystander, emulatorCommand ("E2E Bystander", { "--silent" })));
    ASSERT_TRUE (waitForOutput (bystander, "ready")) << bystander.readOutput();
    Process emulator;
    ASSERT_TRUE (startProcess (emulator, emulatorCommand ("E2E Scan")));
    ASSERT_TRUE (waitForOutput (emulator, "ready")) << emulator.readOutput();

    const auto portsRun = runProgram (toolCommand ("ports"));
    ASSERT_EQ (portsRun.exitStatus, 0);
    const auto& ports = portsRun.output;
    const auto run = runProgram (toolCommand ("scan"));
    const auto& output = run.output;
    EXPECT_EQ (run.exitStatus, 0) << output;
    const auto inputLine = output.fromFirstOccurrenceOf ("Input: ", false, false).upToFirstOccurrenceOf ("\n", false, false);
    const auto outputLine = output.fromFirstOccurrenceOf ("Output: ", false, false).upToFirstOccurrenceOf ("\n", false, false);
    EXPECT_TRUE (inputLine.endsWith ("E2E Scan Out - MIDI")) << output;
    EXPECT_TRUE (outputLine.endsWith ("E2E Scan In - MIDI")) << output;
    // The indices are those of the port list.
    EXPECT_TRUE (ports.contains ("  " + inputLine.trim())) << ports << output;
    EXPECT_TRUE (ports.contains ("  " + outputLine.trim())) << ports << output;

    EXPECT_EQ (stopProcess (emulator), 0);
    EXPECT_EQ (stopProcess (bystander), 0);
}

TEST (EndToEnd, ScanIgnoresAnotherDeviceFamily)
{
    JackTestServer jack;
    REQUIRE_JACK (jack);
    Process emulator;
    ASSERT_TRUE (startProcess (emulator, emulatorCommand ("E2E Other Family", { "--identity-family", "0x0119" })));
    ASSERT_TRUE (waitForOutput (emulator, "ready")) << emulator.readOutput();

    const auto run = runProgram (toolCommand ("scan"));
    const auto& output = run.output;
    EXPECT_EQ (run.exitStatus, 1) << output;
    EXPECT_TRUE (output.contains ("TarnOMBI is not connected.")) << output;
    EXPECT_EQ (stopProcess (emulator), 0);
}

TEST (EndToEnd, EmulatorTakesADumpLogsItAndSavesWhenStopped)
{
    JackTestServer jack;
    REQUIRE_JACK (jack);
    const auto folder = makeTemporaryFolder ("e2e-emulator");
    const auto saved = folder.getChildFile ("saved.tolib");
    const auto log = folder.getChildFile ("emulator.log");
    Process emulator;
    ASSERT_TRUE (startProcess (emulator, emulatorCommand ("E2E Dump", { "--save", saved.getFullPathName(), "--log", log.getFullPathName() })));
    ASSERT_TRUE (waitForOutput (emulator, "ready")) << emulator.readOutput();

    // This process talks to the emulator through the ports layer, as the librarian does.
    CPXRMidi midi (midi::createSystemMidiBackend ("jack"));
    ASSERT_TRUE (midi.Create ("MidiDevice"));
    RecordingListener listener;
    midi.AddListener (&listener);
    ASSERT_TRUE (midi.MidiInOpen (juce::String ("E2E Dump Out - MIDI"))) << midi.GetLastError();
    ASSERT_TRUE (midi.MidiOutOpen (juce::String ("E2E Dump In - MIDI"))) << midi.GetLastError();

    x38200_data::ProgramData program;
    for (int i = 12; i < 320; ++i)
        program.rawData.bytes[i] = (std::uint8_t) (i * 13);
    const x38200_midi::SysExGenerator generator (0, x38200_midi::TarnOMBIFamilyID, -1);
    const auto dump = generator.createProgramDataDump (7, program);
    ASSERT_TRUE (midi.Out ((int) dump.getSize(), static_cast<unsigned char*> (const_cast<void*> (dump.getData()))));
    const std::string ack = "F0 42 30 00 01 18 23 F7";
    ASSERT_TRUE (runMessageLoopUntil ([&] {
        const auto messages = listener.getLongMessages();
        return ! messages.empty() && toHex (messages.back()) == ack;
    })) << "no acknowledgement";

    midi.MidiInClose();
    midi.MidiOutClose();
    EXPECT_EQ (stopProcess (emulator), 0);

    // It held the factory preset, with the dump in program 8.
    x38200_file::AnyFileContent content;
    ASSERT_EQ (x38200_file::readAnyFile (saved, content), 0);
    EXPECT_EQ (content.kind, x38200_file::AnyFileContent::Library);
    const auto& library = content.library;
    EXPECT_EQ (std::memcmp (library.getProgramData (7).rawData.bytes, program.rawData.bytes, 320), 0);
    EXPECT_EQ (library.getProgramData (0).getProgramName().trim(), "Glass Pad");

    juce::StringArray lines;
    lines.addLines (log.loadFileAsString().trim());
    ASSERT_EQ (lines.size(), 2) << log.loadFileAsString();
    EXPECT_TRUE (lines[0].startsWith ("in F0 42 30 00 01 18 4C 07 00 "));
    EXPECT_EQ (lines[1], "out " + juce::String (ack));
}
