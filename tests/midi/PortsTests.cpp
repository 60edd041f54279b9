// Opening, closing and sending through CPXRMidi on the loopback back end.

#include "MidiTestSupport.h"

#include "midi/MidiDeviceManager.h"
#include "midi/MidiMessageQueue.h"
#include "midi/RtMidiBackend.h"
#include "midi/SysExMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

namespace
{
struct PortsFixture
{
    PortsFixture()
    {
        backend->addSource ("TarnOMBI", "MIDI 1");
        backend->addSource ("Other", "Port A");
        backend->addDestination ("TarnOMBI", "MIDI 1");
        backend->addDestination ("Other", "Port A");
        midi.Create ("MidiDevice");
        midi.AddListener (&listener);
    }

    std::shared_ptr<midi::LoopbackBackend> backend = std::make_shared<midi::LoopbackBackend>();
    CPXRMidi midi { backend };
    RecordingListener listener;
};
} // namespace

TEST (Ports, DisplayNamesAndOpeningByName)
{
    PortsFixture f;
    EXPECT_EQ (f.midi.GetNumMidiInDevices(), 2);
    EXPECT_EQ (f.midi.GetMidiInDeviceName (1), "Other - Port A");
    EXPECT_EQ (f.midi.GetMidiOutDeviceName (0), "TarnOMBI - MIDI 1");
    EXPECT_EQ (f.midi.GetMidiInDeviceName (2), "");
    char name[256];
    EXPECT_TRUE (f.midi.GetMidiOutDeviceName (1, name));
    EXPECT_STREQ (name, "Other - Port A");

    EXPECT_FALSE (f.midi.MidiInOpen (juce::String ("other - port a")));
    EXPECT_FALSE (f.midi.MidiInIsOpen());
    EXPECT_EQ (f.backend->getNumOpenSources(), 0);

    EXPECT_TRUE (f.midi.MidiInOpen (juce::String ("Other - Port A")));
    EXPECT_EQ (f.midi.GetOpenedInIndex(), 1);
    EXPECT_TRUE (f.backend->isSourceOpen (1));
    EXPECT_FALSE (f.midi.MidiInOpen (0)) << "one input at a time";
    f.midi.MidiInClose();
    EXPECT_EQ (f.midi.GetOpenedInIndex(), -1);
    EXPECT_EQ (f.backend->getNumOpenSources(), 0);
    EXPECT_FALSE (f.midi.MidiOutOpen (2));
    EXPECT_FALSE (f.midi.Create ("again"));
}

TEST (Ports, SysExSendReportsItsCompletion)
{
    PortsFixture f;
    const Bytes request = fromHex ("F0 42 30 00 01 18 10 F7");
    EXPECT_FALSE (f.midi.Out (CPXRMidiMessage (request.data(), (juce::uint32) request.size()))) << "output closed";

    ASSERT_TRUE (f.midi.MidiOutOpen (0));
    EXPECT_TRUE (f.midi.Out (CPXRMidiMessage (request.data(), (juce::uint32) request.size())));
    EXPECT_TRUE (f.midi.Out (0xC3, 5, 0));
    EXPECT_TRUE (f.midi.Out (2, 0x90, 0x40, 0x7F));
    EXPECT_FALSE (f.midi.IsSysExTransmitting());

    const auto sent = f.backend->getSent (0);
    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[0], request);
    EXPECT_EQ (toHex (sent[1]), "C3 05") << "a program change is two bytes";
    EXPECT_EQ (toHex (sent[2]), "92 40 7F");
    EXPECT_EQ (f.listener.getEvents(), std::vector<std::string> { "sent 8" });
}

TEST (Ports, ListenersAndSetupChanges)
{
    PortsFixture f;
    RecordingListener second;
    f.midi.AddListener (&second);
    f.backend->simulateSetupChange();
    EXPECT_EQ (f.listener.getEvents(), std::vector<std::string> { "setup changed" });
    f.midi.RemoveListener (&f.listener);
    f.backend->simulateSetupChange();
    EXPECT_EQ (f.listener.getEvents().size(), 1u);
    EXPECT_EQ (second.getEvents().size(), 2u);
    f.midi.ClearListeners();
    f.backend->simulateSetupChange();
    EXPECT_EQ (second.getEvents().size(), 2u);
}

TEST (Ports, ShortMessageLengths)
{
    const std::pair<int, int> lengths[] = { { 0x80, 3 }, { 0xBF, 3 }, { 0xC0, 2 }, { 0xDF, 2 }, { 0xE5, 3 }, { 0xF1, 2 },
                                            { 0xF2, 3 }, { 0xF3, 2 }, { 0xF4, 3 }, { 0xF5, 3 }, { 0xF6, 1 }, { 0xF7, 3 },
                                            { 0xF8, 1 }, { 0xFE, 1 }, { 0xFF, 1 } };
    for (auto [status, length] : lengths)
        EXPECT_EQ (CPXRMidi::GetShortMessageLength ((unsigned char) status), length) << std::hex << status;
}

TEST (Ports, MessageAccessorsAndMetaEvents)
{
    using u8 = unsigned char;
    CPXRMidiMessage note (u8 (0x93), u8 (0x40), u8 (0x7F));
    EXPECT_TRUE (note.isNoteOn());
    EXPECT_TRUE (note.isNote());
    EXPECT_EQ (note.getChannel(), 3);
    note.setChannel (9);
    EXPECT_EQ (note.getStatusByte(), 0x99);
    EXPECT_EQ (note.getParam2(), 0x7F);
    EXPECT_EQ (note[3], nullptr);

    CPXRMidiMessage programChange (u8 (0xC0), u8 (0x05));
    EXPECT_TRUE (programChange.isProgramChange());
    EXPECT_EQ (programChange.getParam2(), 0);

    const unsigned char text[] = { 'T', 'a', 'r', 'n' };
    CPXRMidiMessage meta (0x83, text, 4);
    EXPECT_TRUE (meta.isMetaEvent());
    EXPECT_EQ (meta.getMetaEventType(), 0x03);
    EXPECT_EQ (meta.getMetaEventSize(), 4);
    EXPECT_EQ (meta.getStatusByte(), 0) << "a meta event has no status";
    EXPECT_FALSE (meta.isSysEx());
    char buffer[3];
    meta.getMetaEventString (buffer, sizeof (buffer));
    EXPECT_STREQ (buffer, "Ta");

    CPXRMidiMessage empty;
    EXPECT_EQ (empty.getStatusByte(), 0);
    EXPECT_EQ (empty.getMetaEventType(), -1);
    CPXRMidiMessage copy = meta;
    EXPECT_EQ (copy.getLength(), 7u);
}

TEST (Ports, MessageQueueKeepsOrder)
{
    midi::MidiMessageQueue queue;
    EXPECT_TRUE (queue.isEmpty());
    queue.push (CPXRMidiMessage ((unsigned char) 0xF8));
    queue.push (CPXRMidiMessage ((unsigned char) 0xC0, (unsigned char) 0x01));
    EXPECT_EQ (queue.pop().getStatusByte(), 0xF8);
    EXPECT_EQ (queue.pop().getParam1(), 0x01);
    EXPECT_TRUE (queue.isEmpty());
    EXPECT_EQ (queue.pop().getLength(), 0u) << "an empty queue gives an empty message";
    queue.push (CPXRMidiMessage ((unsigned char) 0xF8));
    queue.clear();
    EXPECT_TRUE (queue.isEmpty());
}

TEST (Ports, SystemPortNamesSplitIntoDeviceAndPort)
{
    using midi::RtMidiBackend;
    const auto alsa = RtMidiBackend::splitPortName (RtMidiBackend::Api::alsa, "TarnOMBI:TarnOMBI MIDI 1 24:0");
    EXPECT_EQ (alsa.getDisplayName(), "TarnOMBI - TarnOMBI MIDI 1");
    const auto jack = RtMidiBackend::splitPortName (RtMidiBackend::Api::jack, "TarnOMBI Emulator Out:MIDI");
    EXPECT_EQ (jack.getDisplayName(), "TarnOMBI Emulator Out - MIDI");
    EXPECT_EQ (RtMidiBackend::splitPortName (RtMidiBackend::Api::jack, "a2j:Midi Through [14] (capture): Port-0").port,
               "Midi Through [14] (capture): Port-0");
}

TEST (Ports, WithoutAMidiServiceThereAreNoPortsAndTheScanEndsAtOnce)
{
    auto none = std::make_shared<midi::RtMidiBackend> (midi::RtMidiBackend::Api::none, "MidiDevice");
    EXPECT_EQ (none->getApiName(), "none");
    CPXRMidi midi (none);
    ASSERT_TRUE (midi.Create ("MidiDevice"));
    EXPECT_EQ (midi.GetNumMidiInDevices(), 0);
    EXPECT_EQ (midi.GetNumMidiOutDevices(), 0);
    EXPECT_FALSE (midi.MidiInOpen (0));

    midi::MidiDeviceManager manager (none);
    manager.setDeviceFamilyId (x38200_midi::TarnOMBIFamilyID);
    const auto start = juce::Time::getMillisecondCounter();
    manager.scanDevices();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return manager.isScanFinished(); }));
    EXPECT_LT (juce::Time::getMillisecondCounter() - start, 1000u);
    EXPECT_FALSE (manager.isFoundMidiDevice());
    EXPECT_FALSE (manager.connect());
}
