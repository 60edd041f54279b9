// The transfer processes, their tasks and the background transmitter against an emulated
// instrument on the loopback back end.

#include "TransferTestSupport.h"

#include "application/CPXRResource.h"
#include "midi/MidiCommunicationManager.h"
#include "midi/MidiCommunicationProcesses.h"
#include "midi/MidiCommunicationTask.h"
#include "midi/MidiDeviceManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;
using namespace x38200_midi;

namespace
{
const std::string identityRequest = "F0 7E 7F 06 01 F7";

AnalyzedInformation analyze (const Bytes& bytes)
{
    return MidiMessageAnalyzer (TarnOMBIFamilyID).analyze (bytes.data(), (int) bytes.size());
}

// The program dump numbers, request numbers and other kinds of what the instrument got, as text.
std::vector<std::string> describe (const std::vector<Bytes>& messages)
{
    std::vector<std::string> lines;
    for (const auto& message : messages)
    {
        const auto info = analyze (message);
        switch (info.type)
        {
            case ProgramDataDump: lines.push_back ("dump " + std::to_string (info.value)); break;
            case ProgramDataDumpRequest: lines.push_back ("request " + std::to_string (info.value)); break;
            case GlobalDataDumpRequest: lines.push_back ("global request"); break;
            case GlobalDataDump: lines.push_back ("global dump"); break;
            case CurrentProgramDataDump: lines.push_back ("current dump"); break;
            case CurrentProgramDataDumpRequest: lines.push_back ("current request"); break;
            default: lines.push_back (toHex (message)); break;
        }
    }
    return lines;
}

std::vector<std::string> expectedLines (const std::string& first, const char* each, int count, const std::vector<std::string>& last)
{
    std::vector<std::string> lines { first };
    for (int n = 0; n < count; ++n)
        lines.push_back (std::string (each) + " " + std::to_string (n));
    lines.insert (lines.end(), last.begin(), last.end());
    return lines;
}

struct Transfers : public ::testing::Test
{
    void SetUp() override { LoopbackInstrument::get().reset(); }
    LoopbackInstrument& rig = LoopbackInstrument::get();
};
} // namespace

TEST_F (Transfers, ReceiveLibraryAsksForEveryProgramThenTheGlobalData)
{
    const auto held = makeDistinctLibrary (3);
    rig.instrument().setLibrary (held);

    x38200_data::LibraryData library;
    ReceiveLibraryProcess process (library);
    EXPECT_EQ (runProcessWithoutWindow (process), 0);

    EXPECT_EQ (describe (rig.getSent()), expectedLines (identityRequest, "request", 300, { "global request" }));
    for (int n = 0; n < 300; ++n)
    {
        ASSERT_EQ (library.getProgramData (n).md5, held.getProgramData (n).md5) << "program " << n;
        EXPECT_TRUE (library.getProgramData (n).information.programmer.isEmpty());
    }
    for (int bank = 0; bank < 6; ++bank)
        for (int slot = 0; slot < 8; ++slot)
            EXPECT_EQ (library.favoriteData.getFavoriteData (bank, slot), held.favoriteData.getFavoriteData (bank, slot));
    EXPECT_EQ (process.getProgress(), 1.0f);
    EXPECT_EQ (process.getStatusMessage(), getLocalizedString ("CommunicationProcessReceiveLibrary"));
    EXPECT_TRUE (process.getDetailMessage().isEmpty());
}

TEST_F (Transfers, WriteLibrarySendsEveryProgramThenTheFavoritesInsideTheInstrumentsGlobalData)
{
    // Global settings of the instrument that the write must carry back unchanged.
    juce::MemoryBlock settings (224, true);
    for (int i = 0; i < 224; ++i)
        static_cast<std::uint8_t*> (settings.getData())[i] = (std::uint8_t) (i * 3 + 1);
    const auto settingsDump = SysExGenerator (0, TarnOMBIFamilyID, -1).createGlobalDataDump (settings);
    rig.instrument().handleMessage (static_cast<const unsigned char*> (settingsDump.getData()), (int) settingsDump.getSize());

    const auto library = makeDistinctLibrary (0);
    ASSERT_EQ (library.favoriteData.getFavoriteData (0, 0), 299);
    WriteLibraryProcess process (library);
    EXPECT_EQ (runProcessWithoutWindow (process), 0);

    const auto sent = rig.getSent();
    EXPECT_EQ (describe (sent), expectedLines (identityRequest, "dump", 300, { "global request", "global dump" }));
    for (int n = 0; n < 300; ++n)
        ASSERT_EQ (0, std::memcmp (rig.instrument().getProgram (n).bytes, library.getProgramData (n).rawData.bytes, 320)) << n;

    const auto global = analyze (sent.back()).data;
    ASSERT_EQ (global.getSize(), 224u);
    const auto* bytes = static_cast<const std::uint8_t*> (global.getData());
    EXPECT_EQ (0, std::memcmp (bytes, settings.getData(), 128)) << "bytes 0 to 127 go back unchanged";
    EXPECT_EQ (bytes[128], 0x2B);
    EXPECT_EQ (bytes[129], 0x01) << "program 299 is written low byte first";
    EXPECT_EQ (InstrumentEmulator::readFavorites (bytes).getFavoriteData (5, 7), library.favoriteData.getFavoriteData (5, 7));
    EXPECT_FLOAT_EQ (process.getProgress(), 299.0f / 300.0f);

    // Reading the favorites back gives 299 again.
    x38200_data::FavoriteData favorites;
    ReceiveFavoriteProcess receive (favorites);
    EXPECT_EQ (runProcessWithoutWindow (receive), 0);
    EXPECT_EQ (favorites.getFavoriteData (0, 0), 299);
}

TEST_F (Transfers, FavoriteValuesAreSignedSixteenBitNumbers)
{
    juce::MemoryBlock global (224, true);
    auto* bytes = static_cast<std::uint8_t*> (global.getData());
    bytes[128 + 16 * 2 + 2 * 3] = 0x00;
    bytes[128 + 16 * 2 + 2 * 3 + 1] = 0x80;
    bytes[128 + 16 * 5 + 2 * 7] = 0xFF;
    bytes[128 + 16 * 5 + 2 * 7 + 1] = 0xFF;
    x38200_data::FavoriteData favorites;
    readFavoritesFromGlobalData (global, favorites);
    EXPECT_EQ (favorites.getFavoriteData (2, 3), -32768);
    EXPECT_EQ (favorites.getFavoriteData (5, 7), -1);
    EXPECT_EQ (favorites.getFavoriteData (0, 0), 0);
}

TEST_F (Transfers, CancellingAWriteStopsBeforeTheNextProgram)
{
    const auto library = makeDistinctLibrary (1);
    WriteLibraryProcess process (library);
    std::atomic<midi::MidiCommunicationThread*> running { nullptr };
    std::atomic<int> dumps { 0 };
    rig.setSpy ([&] (const Bytes& bytes) {
        if (analyze (bytes).type == ProgramDataDump && ++dumps == 10)
        {
            // The test learns the thread just after starting it.
            while (running.load() == nullptr)
                juce::Thread::sleep (1);
            running.load()->signalThreadShouldExit();
        }
    });
    const int result = runProcessWithoutWindow (process, [&] (midi::MidiCommunicationThread& thread) { running = &thread; });
    EXPECT_EQ (result, 1);
    EXPECT_EQ (describe (rig.getSent()), expectedLines (identityRequest, "dump", 10, {}));
    EXPECT_EQ (process.getStatusMessage(), "Canceled.");
}

TEST_F (Transfers, SelectedProgramsGoInTheGivenOrderAndAnEmptySelectionOnlyAsksWhoAnswers)
{
    const auto library = makeDistinctLibrary (2);
    const std::vector<int> numbers { 4, 7, 299 };
    WriteSelectedProgramProcess write (numbers, library);
    EXPECT_EQ (runProcessWithoutWindow (write), 0);
    EXPECT_EQ (describe (rig.getSent()), (std::vector<std::string> { identityRequest, "dump 4", "dump 7", "dump 299" }));
    EXPECT_EQ (0, std::memcmp (rig.instrument().getProgram (299).bytes, library.getProgramData (299).rawData.bytes, 320));

    rig.reset();
    rig.instrument().setLibrary (library);
    x38200_data::LibraryData received;
    ReceiveSelectedProgramProcess receive (numbers, received);
    EXPECT_EQ (runProcessWithoutWindow (receive), 0);
    EXPECT_EQ (describe (rig.getSent()), (std::vector<std::string> { identityRequest, "request 4", "request 7", "request 299" }));
    EXPECT_EQ (received.getProgramData (7).md5, library.getProgramData (7).md5);
    EXPECT_EQ (received.getProgramData (5).md5, x38200_data::ProgramData().md5);

    for (bool writing : { true, false })
    {
        rig.reset();
        const std::vector<int> none;
        x38200_data::LibraryData target;
        std::unique_ptr<midi::MidiCommunicationProcess> process;
        if (writing)
            process = std::make_unique<WriteSelectedProgramProcess> (none, library);
        else
            process = std::make_unique<ReceiveSelectedProgramProcess> (none, target);
        EXPECT_EQ (runProcessWithoutWindow (*process), 0);
        EXPECT_EQ (describe (rig.getSent()), (std::vector<std::string> { identityRequest }));
    }
}

TEST_F (Transfers, CurrentProgramGoesToTheEditBufferAndComesBack)
{
    const auto library = makeDistinctLibrary (4);
    TransmitCurrentProgramProcess transmit (library.getProgramData (17));
    EXPECT_FALSE (transmit.isSupportedCancel());
    EXPECT_EQ (runProcessWithoutWindow (transmit), 0);
    EXPECT_EQ (describe (rig.getSent()), (std::vector<std::string> { identityRequest, "current dump" }));

    x38200_data::ProgramData program;
    ReceiveCurrentProgramProcess receive (program);
    EXPECT_EQ (runProcessWithoutWindow (receive), 0);
    EXPECT_EQ (program.md5, library.getProgramData (17).md5);
}

TEST_F (Transfers, FailuresEndWithTheirCodeAndTexts)
{
    struct Case
    {
        const char* name;
        InstrumentEmulator::Options options;
        bool write;
        int code;
        const char* status;
        const char* detail;
    };
    InstrumentEmulator::Options otherFamily;
    otherFamily.familyId = 0x0119;
    InstrumentEmulator::Options refuse;
    refuse.refuseRequests = true;
    InstrumentEmulator::Options protect;
    protect.writeProtect = true;
    InstrumentEmulator::Options truncated;
    truncated.truncateDumps = true;
    const Case cases[] = {
        { "another device", otherFamily, false, 4, "The connected MIDI device is not TarnOMBI.", "Please make sure of the MIDI port settings." },
        { "refused request", refuse, false, 5, "Failed to communicate with the TarnOMBI.", "" },
        { "refused dump", protect, true, 6, "Error occurred while writing data.", "Please make sure the Write Protect setting of the TarnOMBI is OFF." },
        { "short dump", truncated, false, 8, "Received MIDI message is broken.", "" },
    };
    const auto library = makeDistinctLibrary (5);
    for (const auto& c : cases)
    {
        rig.reset (c.options);
        x38200_data::LibraryData target;
        std::unique_ptr<midi::MidiCommunicationProcess> process;
        if (c.write)
            process = std::make_unique<WriteLibraryProcess> (library);
        else
            process = std::make_unique<ReceiveLibraryProcess> (target);
        EXPECT_EQ (runProcessWithoutWindow (*process), c.code) << c.name;
        EXPECT_EQ (process->getStatusMessage(), c.status) << c.name;
        EXPECT_EQ (process->getDetailMessage(), c.detail) << c.name;
        // No exchange is repeated: the first failing step ends the process.
        EXPECT_LE (rig.getSent().size(), 2u) << c.name;
    }
}

TEST_F (Transfers, ProcessesWithoutTextsReturnTheFirstFailingCodeUnchanged)
{
    InstrumentEmulator::Options refuse;
    refuse.refuseRequests = true;
    rig.reset (refuse);
    x38200_data::ProgramData program;
    ReceiveProgramProcess process (12, program);
    EXPECT_EQ (runProcessWithoutWindow (process), 5);
    EXPECT_TRUE (process.getStatusMessage().isEmpty());
    EXPECT_EQ (describe (rig.getSent()), (std::vector<std::string> { identityRequest, "request 12" }));

    rig.reset();
    const auto library = makeDistinctLibrary (6);
    WriteAllProgramProcess writeAll (library);
    EXPECT_EQ (runProcessWithoutWindow (writeAll), 0);
    EXPECT_EQ (describe (rig.getSent()), expectedLines (identityRequest, "dump", 300, {}));
    x38200_data::LibraryData received;
    ReceiveAllProgramProcess receiveAll (received);
    EXPECT_EQ (runProcessWithoutWindow (receiveAll), 0);
    EXPECT_EQ (received.getProgramData (150).md5, library.getProgramData (150).md5);
    TransmitProgramProcess one (42, library.getProgramData (1));
    EXPECT_EQ (runProcessWithoutWindow (one), 0);
    EXPECT_EQ (0, std::memcmp (rig.instrument().getProgram (42).bytes, library.getProgramData (1).rawData.bytes, 320));
    WriteFavoriteProcess favorites (library.favoriteData);
    EXPECT_EQ (runProcessWithoutWindow (favorites), 0);
    EXPECT_EQ (rig.instrument().getLibrary().favoriteData.getFavoriteData (3, 3), library.favoriteData.getFavoriteData (3, 3));
}

//==============================================================================
TEST (ReplyWait, DiscardsOtherTypesKeepsLaterRepliesAndTimesOutWithInvalid)
{
    LoopbackInstrument::get().reset();
    auto& manager = midi::MidiDeviceManager::instance();
    ASSERT_TRUE (manager.connect());
    {
        MidiCommunicationTask task (manager.getMidi());
        const SysExGenerator instrument (0, TarnOMBIFamilyID, -1);
        x38200_data::ProgramData program;
        auto& backend = *LoopbackInstrument::get().backend;
        backend.deliver (0, toBytes (instrument.createReply (function::DumpAck)));
        backend.deliver (0, toBytes (instrument.createProgramDataDump (9, program)));
        backend.deliver (0, toBytes (instrument.createReply (function::DumpNak)));

        const auto dump = task.waitToReceiveSpecificMessage ({ ProgramDataDump }, 100);
        EXPECT_EQ (dump.type, ProgramDataDump);
        EXPECT_EQ (dump.value, 9);
        // The acknowledgement before the dump was discarded; the refusal after it waits.
        EXPECT_EQ (task.waitToReceiveSpecificMessage ({ DumpAck, DumpNak }, 100).type, DumpNak);

        const auto start = juce::Time::getMillisecondCounter();
        EXPECT_EQ (task.waitToReceiveSpecificMessage ({ DumpAck }, 150).type, Invalid);
        EXPECT_GE (juce::Time::getMillisecondCounter() - start, 150u);

        // A reply that comes during the wait ends it.
        std::thread late ([&] {
            juce::Thread::sleep (50);
            backend.deliver (0, toBytes (instrument.createReply (function::DumpAck)));
        });
        EXPECT_EQ (task.waitToReceiveSpecificMessage ({ DumpAck }, 5000).type, DumpAck);
        late.join();
    }
    manager.disconnect();
}

TEST (ResultTexts, EveryCodeHasItsStatusAndDetail)
{
    const char* statuses[] = { "Succeeded.", "Canceled.", "Failed to start MIDI communication.", "Timeout.",
                               "The connected MIDI device is not TarnOMBI.", "Failed to communicate with the TarnOMBI.",
                               "Error occurred while writing data.", "Failed to write data to the TarnOMBI.",
                               "Received MIDI message is broken." };
    const char* writeProtect = "Please make sure the Write Protect setting of the TarnOMBI is OFF.";
    const char* details[] = { "", "", "", "Please make sure of the MIDI port settings, and MIDI Filter SysEx setting of the TarnOMBI.",
                              "Please make sure of the MIDI port settings.", "", writeProtect, writeProtect, "" };
    for (int code = 0; code <= 8; ++code)
    {
        EXPECT_EQ (getMidiCommunicationErrorString (code), statuses[code]) << code;
        EXPECT_EQ (getMidiCommunicationErrorDetailString (code), details[code]) << code;
    }
}

//==============================================================================
namespace
{
std::vector<std::string> currentProgramNames (const std::vector<Bytes>& sent)
{
    std::vector<std::string> names;
    for (const auto& message : sent)
    {
        const auto info = analyze (message);
        if (info.type == CurrentProgramDataDump)
        {
            x38200_data::ProgramData program;
            program.copyFromRawData (info.data);
            names.push_back (program.getProgramName().toStdString());
        }
    }
    return names;
}

bool waitUntilIdle (AsyncCurrentProgramTransmitter& transmitter)
{
    return runMessageLoopUntil ([&] { return ! transmitter.isProcessing(); }, 20000);
}
} // namespace

TEST_F (Transfers, QuickSelectionsAgainstASlowInstrumentSendTheFirstAndTheLast)
{
    rig.reset ({}, 150);
    const auto library = makeDistinctLibrary (0);
    AsyncCurrentProgramTransmitter transmitter;
    transmitter.requestToTransmitCurrentProgram (library.getProgramData (0));
    juce::Thread::sleep (50);
    transmitter.requestToTransmitCurrentProgram (library.getProgramData (1));
    transmitter.requestToTransmitCurrentProgram (library.getProgramData (2));
    ASSERT_TRUE (waitUntilIdle (transmitter));
    rig.drain();
    EXPECT_EQ (currentProgramNames (rig.getSent()), (std::vector<std::string> { "PROG 0010   ", "PROG 0030   " }));
    EXPECT_FALSE (midi::MidiDeviceManager::instance().isConnected()) << "the ports are closed after sending";
}

TEST_F (Transfers, TheLatestRequestIsAlwaysSentEvenWhenTheThreadIsLeaving)
{
    const auto library = makeDistinctLibrary (0);
    AsyncCurrentProgramTransmitter transmitter;
    juce::Random random (42);
    for (int round = 0; round < 40; ++round)
    {
        transmitter.requestToTransmitCurrentProgram (library.getProgramData (round));
        // Requests land before, during and just after the thread leaves its loop.
        juce::Thread::sleep (random.nextInt (4));
    }
    ASSERT_TRUE (waitUntilIdle (transmitter));
    const auto names = currentProgramNames (rig.getSent());
    ASSERT_FALSE (names.empty());
    EXPECT_EQ (names.back(), "PROG 0400   ");
    EXPECT_EQ (0, std::memcmp (rig.instrument().getCurrentProgram().bytes, library.getProgramData (39).rawData.bytes, 320));
}

TEST_F (Transfers, CancellingTheTransmitterDropsTheWaitingRequest)
{
    rig.reset ({}, 150);
    const auto library = makeDistinctLibrary (0);
    AsyncCurrentProgramTransmitter transmitter;
    transmitter.requestToTransmitCurrentProgram (library.getProgramData (0));
    juce::Thread::sleep (50);
    transmitter.requestToTransmitCurrentProgram (library.getProgramData (1));
    transmitter.cancelPendingTask();
    ASSERT_TRUE (waitUntilIdle (transmitter));
    rig.drain();
    EXPECT_EQ (currentProgramNames (rig.getSent()), (std::vector<std::string> { "PROG 0010   " }));
}
