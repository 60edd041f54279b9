// The device scanner and the device manager on the loopback back end.

#include "MidiTestSupport.h"

#include "midi/InstrumentEmulator.h"
#include "midi/MidiDeviceManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

namespace
{
const int family = x38200_midi::TarnOMBIFamilyID;
const int shortTimeout = 300;

// Three inputs and three outputs; what is sent to an output may be answered on an input.
struct ScanFixture : public midi::MidiDeviceScannerListener
{
    ScanFixture()
    {
        for (auto name : { "Keyboard", "Interface", "TarnOMBI" })
        {
            backend->addSource (name, "MIDI 1");
            backend->addDestination (name, "MIDI 1");
        }
        scanner.addListener (this);
    }

    ~ScanFixture() override { scanner.removeListener (this); }

    void midiDeviceScanFinished() override { ++finishedScans; }

    // Output `output` reaches the instrument, whose answers come back on input `input`.
    void connectInstrument (int output, int input)
    {
        routes.emplace_back (output, input);
        backend->setDestinationHandler ([this] (int destination, const Bytes& bytes) {
            for (auto [out, in] : routes)
                if (out == destination)
                    for (auto& answer : instrument.handleMessage (bytes.data(), (int) bytes.size()))
                        backend->deliver (in, toBytes (answer));
        });
    }

    // Every search request gets this answer on input `input`.
    void answerWith (int input, const std::string& reply)
    {
        backend->setDestinationHandler ([this, input, reply] (int, const Bytes&) { backend->deliver (input, fromHex (reply)); });
    }

    bool scan (int timeout = shortTimeout)
    {
        const int before = finishedScans;
        scanner.execute (family, -1, timeout);
        return runMessageLoopUntil ([&] { return finishedScans > before; }, 10000);
    }

    std::shared_ptr<midi::LoopbackBackend> backend = std::make_shared<midi::LoopbackBackend>();
    midi::MidiDeviceScanner scanner { backend };
    x38200_midi::InstrumentEmulator instrument { {} };
    std::vector<std::pair<int, int>> routes;
    int finishedScans = 0;
};
} // namespace

TEST (Scanner, FindsTheInputOfTheReplyAndTheOutputOfItsEchoId)
{
    ScanFixture f;
    f.connectInstrument (1, 2);
    ASSERT_TRUE (f.scan());
    EXPECT_TRUE (f.scanner.isFound());
    EXPECT_EQ (f.scanner.getFoundInIndex(), 2);
    EXPECT_EQ (f.scanner.getFoundOutIndex(), 1);
    // Each output got one search request carrying its own index.
    for (int output = 0; output < 3; ++output)
    {
        const auto sent = f.backend->getSent (output);
        ASSERT_EQ (sent.size(), 1u);
        EXPECT_EQ (toHex (sent[0]), "F0 42 50 00 0" + std::to_string (output) + " F7");
    }
    EXPECT_EQ (f.backend->getNumOpenSources(), 0) << "the ports are closed after the scan";
    EXPECT_EQ (f.backend->getNumOpenDestinations(), 0);
}

TEST (Scanner, OnlyTheFirstOfTwoRepliesCounts)
{
    ScanFixture f;
    f.connectInstrument (0, 1);
    f.connectInstrument (2, 2);
    ASSERT_TRUE (f.scan());
    EXPECT_EQ (f.scanner.getFoundInIndex(), 1);
    EXPECT_EQ (f.scanner.getFoundOutIndex(), 0);
}

TEST (Scanner, RepliesThatDoNotMatch)
{
    const std::pair<const char*, const char*> replies[] = {
        { "14 bytes", "F0 42 50 01 00 01 18 01 00 00 00 00 00 F7" },
        { "16 bytes", "F0 42 50 01 00 01 18 01 00 00 00 00 00 00 00 F7" },
        { "family bytes in the wrong order", "F0 42 50 01 00 01 01 18 00 00 00 00 00 00 F7" },
        { "another family", "F0 42 50 01 00 01 19 01 00 00 00 00 00 00 F7" },
        { "not a search reply", "F0 42 50 02 00 01 18 01 00 00 00 00 00 00 F7" },
    };
    for (auto [name, reply] : replies)
    {
        ScanFixture f;
        f.answerWith (2, reply);
        ASSERT_TRUE (f.scan()) << name;
        EXPECT_FALSE (f.scanner.isFound()) << name;
        EXPECT_EQ (f.scanner.getFoundInIndex(), -1) << name;
        EXPECT_EQ (f.scanner.getFoundOutIndex(), -1) << name;
    }

    ScanFixture f;
    f.answerWith (2, "F0 42 50 01 00 01 18 01 00 00 00 00 00 00 F7");
    ASSERT_TRUE (f.scan());
    EXPECT_TRUE (f.scanner.isFound()) << "family bytes 18 01 match 0x0118";
    EXPECT_EQ (f.scanner.getFoundOutIndex(), 1);
}

TEST (Scanner, NoAnswerEndsAfterTheTimeOut)
{
    ScanFixture f;
    const auto start = juce::Time::getMillisecondCounter();
    ASSERT_TRUE (f.scan (shortTimeout));
    EXPECT_GE (juce::Time::getMillisecondCounter() - start, (juce::uint32) shortTimeout);
    EXPECT_FALSE (f.scanner.isFound());
    EXPECT_EQ (f.scanner.getFoundInIndex(), -1);
    EXPECT_EQ (f.scanner.getFoundOutIndex(), -1);
}

TEST (Scanner, NoPortsEndsAtOnceAndKeepsThePreviousResult)
{
    ScanFixture f;
    f.connectInstrument (1, 2);
    ASSERT_TRUE (f.scan());
    f.backend->removeAllPorts();
    const auto start = juce::Time::getMillisecondCounter();
    ASSERT_TRUE (f.scan (5000));
    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 2000u);
    EXPECT_EQ (f.scanner.getFoundInIndex(), 2);
    EXPECT_EQ (f.scanner.getFoundOutIndex(), 1);
}

TEST (Scanner, ASecondScanUsesTheNewIndices)
{
    ScanFixture f;
    f.connectInstrument (2, 2);
    ASSERT_TRUE (f.scan());
    EXPECT_EQ (f.scanner.getFoundInIndex(), 2);
    f.backend->removeAllPorts();
    f.backend->addSource ("TarnOMBI", "MIDI 1");
    f.backend->addDestination ("TarnOMBI", "MIDI 1");
    f.routes.clear();
    f.connectInstrument (0, 0);
    ASSERT_TRUE (f.scan());
    EXPECT_EQ (f.scanner.getFoundInIndex(), 0);
    EXPECT_EQ (f.scanner.getFoundOutIndex(), 0);
}

//==============================================================================
namespace
{
struct ManagerFixture : public ScanFixture, public midi::MidiDeviceManagerListener
{
    ManagerFixture()
    {
        manager.setDeviceFamilyId (family);
        manager.addListener (this);
    }
    ~ManagerFixture() override { manager.removeListener (this); }

    void midiDeviceScanFinished() override { ++managerScans; }

    bool waitForScan()
    {
        return runMessageLoopUntil ([&] { return manager.isScanFinished(); }, 10000);
    }

    midi::MidiDeviceManager manager { backend };
    int managerScans = 0;
};
} // namespace

TEST (DeviceManager, ConnectStartsTheFirstScanAndUsesItsResult)
{
    ManagerFixture f;
    f.connectInstrument (1, 2);
    EXPECT_EQ (f.manager.getMidiInPortIndexToUse(), -1);
    EXPECT_FALSE (f.manager.connect()) << "no scan has finished yet";
    ASSERT_TRUE (f.waitForScan());
    EXPECT_EQ (f.managerScans, 1);
    EXPECT_TRUE (f.manager.isFoundMidiDevice());
    EXPECT_EQ (f.manager.getMidiInPortIndexToUse(), 2);
    EXPECT_EQ (f.manager.getMidiOutPortIndexToUse(), 1);

    ASSERT_TRUE (f.manager.connect());
    EXPECT_TRUE (f.backend->isSourceOpen (2));
    EXPECT_TRUE (f.backend->isDestinationOpen (1));
    RecordingListener listener;
    f.manager.getMidi().AddListener (&listener);
    f.manager.disconnect();
    EXPECT_EQ (f.backend->getNumOpenSources(), 0);
    EXPECT_EQ (f.backend->getNumOpenDestinations(), 0);
    f.manager.getMidi().RemoveListener (&listener); // already gone: disconnect removed every listener
    EXPECT_FALSE (f.manager.isConnected());
}

TEST (DeviceManager, AfterAScanThatFoundNothingConnectFailsWithoutScanning)
{
    ManagerFixture f;
    f.manager.scanDevices();
    ASSERT_TRUE (f.waitForScan());
    f.backend->clearSent();
    EXPECT_FALSE (f.manager.isFoundMidiDevice());
    EXPECT_FALSE (f.manager.connect());
    EXPECT_TRUE (f.manager.isScanFinished());
    EXPECT_TRUE (f.backend->getSent (0).empty()) << "no second scan";
    EXPECT_EQ (f.backend->getNumOpenSources(), 0);
}

TEST (DeviceManager, ManualPortsByExactName)
{
    ManagerFixture f;
    f.manager.setAutoDeviceScan (false);
    f.manager.setManualMidiInputPort ("TarnOMBI - MIDI 1");
    f.manager.setManualMidiOutputPort ("Interface - MIDI 1");
    EXPECT_TRUE (f.manager.isFoundMidiDevice());
    EXPECT_EQ (f.manager.getMidiInPortIndexToUse(), 2);
    EXPECT_EQ (f.manager.getMidiOutPortIndexToUse(), 1);
    ASSERT_TRUE (f.manager.connect());
    EXPECT_TRUE (f.backend->isSourceOpen (2));
    f.manager.disconnect();

    f.manager.setManualMidiInputPort ("TarnOMBI - MIDI  1");
    EXPECT_EQ (f.manager.getMidiInPortIndexToUse(), -1);
    EXPECT_FALSE (f.manager.connect());
    EXPECT_EQ (f.backend->getNumOpenDestinations(), 0);
}

TEST (DeviceManager, AFailingOutputLeavesTheInputClosed)
{
    ManagerFixture f;
    f.manager.setAutoDeviceScan (false);
    f.manager.setManualMidiInputPort ("TarnOMBI - MIDI 1");
    f.manager.setManualMidiOutputPort ("TarnOMBI - MIDI 1");
    f.backend->setDestinationFails (2, true);
    EXPECT_FALSE (f.manager.connect());
    EXPECT_FALSE (f.manager.isConnected());
    EXPECT_EQ (f.backend->getNumOpenSources(), 0);
    EXPECT_TRUE (midi::isOmbiUsbMidiDriverInput (0) && midi::isOmbiUsbMidiDriverOutput (5));
}
