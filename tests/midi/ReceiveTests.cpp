// How the ports layer turns incoming packets into messages, on the loopback back end.

#include "MidiTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarnombi::test;

namespace
{
struct ReceiveFixture
{
    ReceiveFixture()
    {
        backend->addSource ("TarnOMBI", "MIDI 1");
        midi.Create ("MidiDevice");
        midi.AddListener (&listener);
        EXPECT_TRUE (midi.MidiInOpen (0));
    }

    void deliver (const std::vector<std::string>& packets)
    {
        for (const auto& packet : packets)
            backend->deliver (0, fromHex (packet));
    }

    std::shared_ptr<midi::LoopbackBackend> backend = std::make_shared<midi::LoopbackBackend>();
    CPXRMidi midi { backend };
    RecordingListener listener;
};

struct ReceiveCase
{
    const char* name;
    std::vector<std::string> packets;
    std::vector<std::string> expected;
};

const ReceiveCase receiveCases[] = {
    { "a dump followed by a short message in one packet",
      { "F0 42 30 00 01 18 23 F7 90 40 7F" },
      { "receiving 8", "long F0 42 30 00 01 18 23 F7", "short 90 40 7F" } },
    { "a message split over three packets",
      { "F0 42 30", "00 01", "18 10 F7" },
      { "receiving 3", "receiving 2", "receiving 3", "long F0 42 30 00 01 18 10 F7" } },
    { "a clock byte inside a message is passed on and left out",
      { "F0 42 F8 30 F7" },
      { "short F8", "receiving 5", "long F0 42 30 F7" } },
    { "active sensing abandons the message, the next one arrives",
      { "F0 42 30 FE F0 42 31 F7" },
      { "short FE", "receiving 4", "long F0 42 31 F7" } },
    { "a new F0 inside a message abandons it",
      { "F0 42 30 F0 42 31 F7" },
      { "receiving 4", "long F0 42 31 F7" } },
    { "a new F0 at the start of the next packet abandons the message",
      { "F0 42 30", "F0 42 31 F7" },
      { "receiving 3", "receiving 4", "long F0 42 31 F7" } },
    { "an abandoned message does not swallow what follows",
      { "F0 42 30 90 40 7F", "01 F7" },
      { "short 90 40 7F" } },
    { "data bytes outside a message are skipped",
      { "01 02 90 40 7F" },
      { "short 90 40 7F" } },
    { "a note message needs three bytes",
      { "90 40" },
      {} },
    { "short messages after a dump",
      { "F0 42 30 00 01 18 23 F7", "C0 05", "F8", "B0 07 64" },
      { "receiving 8", "long F0 42 30 00 01 18 23 F7", "short C0 05", "short F8", "short B0 07 64" } },
    { "short messages before a message in one packet",
      { "C0 05 F8 F0 42 F7" },
      { "short C0 05", "short F8", "receiving 3", "long F0 42 F7" } },
    { "two messages in one packet",
      { "F0 01 F7 F0 02 F7" },
      { "receiving 3", "long F0 01 F7", "receiving 3", "long F0 02 F7" } },
    { "an empty packet",
      { "" },
      {} },
};
} // namespace

TEST (Receive, PacketSequencesGiveTheExpectedMessages)
{
    for (const auto& c : receiveCases)
    {
        ReceiveFixture fixture;
        fixture.deliver (c.packets);
        EXPECT_EQ (fixture.listener.getEvents(), c.expected) << c.name;
        EXPECT_FALSE (fixture.midi.IsSysExReceiving()) << c.name;
    }
}

TEST (Receive, ReceivingFlagFollowsTheCollection)
{
    ReceiveFixture fixture;
    fixture.deliver ({ "F0 42 30" });
    EXPECT_TRUE (fixture.midi.IsSysExReceiving());
    fixture.deliver ({ "00 F7" });
    EXPECT_FALSE (fixture.midi.IsSysExReceiving());
}

TEST (Receive, OversizedMessageIsDroppedAndReceptionGoesOn)
{
    ReceiveFixture fixture;
    const Bytes chunk (1000, 0x11);

    // 0xF0, 70 000 data bytes, 0xF7: dropped on its way in.
    fixture.backend->deliver (0, { 0xF0 });
    for (int i = 0; i < 70; ++i)
        fixture.backend->deliver (0, chunk);
    fixture.deliver ({ "F7 F0 42 30 F7" });
    auto messages = fixture.listener.getLongMessages();
    ASSERT_EQ (messages.size(), 1u);
    EXPECT_EQ (toHex (messages[0]), "F0 42 30 F7");

    // A message of exactly 64 KiB still arrives whole.
    fixture.listener.clear();
    Bytes largest (64 * 1024, 0x22);
    largest.front() = 0xF0;
    largest.back() = 0xF7;
    fixture.backend->deliver (0, largest);
    messages = fixture.listener.getLongMessages();
    ASSERT_EQ (messages.size(), 1u);
    EXPECT_EQ (messages[0], largest);
}

TEST (Receive, ReopeningForgetsAHalfCollectedMessage)
{
    ReceiveFixture fixture;
    fixture.deliver ({ "F0 42 30" });
    fixture.midi.MidiInClose();
    ASSERT_TRUE (fixture.midi.MidiInOpen (0));
    fixture.deliver ({ "01 F7", "F0 42 31 F7" });
    const auto messages = fixture.listener.getLongMessages();
    ASSERT_EQ (messages.size(), 1u);
    EXPECT_EQ (toHex (messages[0]), "F0 42 31 F7");
}

TEST (Receive, RandomPacketsNeverBreakTheCollection)
{
    ReceiveFixture fixture;
    std::mt19937 random (20261211);
    // Mostly data bytes, with the bytes that steer the algorithm mixed in often.
    const std::uint8_t interesting[] = { 0xF0, 0xF7, 0xF8, 0xFE, 0x90, 0xC0, 0xF1, 0xF2, 0xF4, 0xFF };
    for (int packet = 0; packet < 20000; ++packet)
    {
        Bytes bytes ((size_t) std::uniform_int_distribution<int> (0, 40) (random));
        for (auto& b : bytes)
        {
            const int pick = std::uniform_int_distribution<int> (0, 9) (random);
            b = pick < 2 ? interesting[std::uniform_int_distribution<int> (0, 9) (random)]
                         : (std::uint8_t) std::uniform_int_distribution<int> (0, pick < 8 ? 0x7F : 0xFF) (random);
        }
        fixture.backend->deliver (0, bytes);
    }
    // Occasionally a very long message, to pass the size limit.
    Bytes longPacket (40000, 0x10);
    longPacket[0] = 0xF0;
    fixture.backend->deliver (0, longPacket);
    fixture.backend->deliver (0, longPacket);
    fixture.deliver ({ "F7" });

    const auto messages = fixture.listener.getLongMessages();
    EXPECT_FALSE (messages.empty());
    for (const auto& message : messages)
    {
        ASSERT_GE (message.size(), 2u);
        EXPECT_EQ (message.front(), 0xF0);
        EXPECT_EQ (message.back(), 0xF7);
        EXPECT_LE (message.size(), CSysExBuffer::MaximumMessageSize);
        for (size_t i = 1; i + 1 < message.size(); ++i)
            ASSERT_LT (message[i], 0x80);
    }
}
