#pragma once

#include "midi/MidiBackend.h"

#include <juce_core/juce_core.h>

#include <cstdint>
#include <memory>
#include <vector>

class CPXRMidi;

// One MIDI message: an owned copy of its bytes.
class CPXRMidiMessage
{
public:
    CPXRMidiMessage() = default;
    CPXRMidiMessage (unsigned char status, unsigned char data1, unsigned char data2, juce::int64 timeStamp = 0);
    CPXRMidiMessage (unsigned char status, unsigned char data1, juce::int64 timeStamp = 0);
    CPXRMidiMessage (unsigned char status, juce::int64 timeStamp = 0);
    CPXRMidiMessage (const unsigned char* bytes, juce::uint32 length, juce::int64 timeStamp = 0);
    // A meta event: FF, type, length, then the bytes.
    CPXRMidiMessage (int metaType, const unsigned char* bytes, juce::uint32 length, juce::int64 timeStamp = 0);
    CPXRMidiMessage (const CPXRMidiMessage& other);
    CPXRMidiMessage& operator= (const CPXRMidiMessage& other);
    virtual ~CPXRMidiMessage();

    const unsigned char* getData() const noexcept { return data; }
    juce::uint32 getLength() const noexcept { return length; }
    juce::int64 getTimeStamp() const noexcept { return timeStamp; }

    unsigned char getChannel() const;
    void setChannel (unsigned char channel);
    bool isNote() const;
    bool isNoteOn() const;
    bool isNoteOff() const;
    bool isControlChange() const;
    bool isPitchBend() const;
    bool isProgramChange() const;
    bool isSysEx() const;
    bool isClock() const;
    unsigned char getStatusByte() const;
    unsigned char getParam1() const;
    unsigned char getParam2() const;
    // The address of byte i (null past the end).
    unsigned char* operator[] (unsigned int i);

    bool isMetaEvent() const;
    int getMetaEventType() const;
    int getMetaEventSize() const;
    const unsigned char* getMetaEventData() const;
    // Copies the meta event's bytes as text into dst (at most size bytes, always terminated).
    void getMetaEventString (char* dst, int size) const;

private:
    void assignBytes (const unsigned char* bytes, juce::uint32 count);
    // The status byte, or 0 for an empty message or a meta event.
    unsigned char status() const;

    unsigned char* data = nullptr;
    juce::uint32 length = 0;
    juce::int64 timeStamp = 0;
};

// The System Exclusive message being collected from the incoming packets.
class CSysExBuffer
{
public:
    virtual ~CSysExBuffer() = default;

    // A message longer than this (0xF0 to 0xF7) is dropped while it arrives; reception goes on after it.
    static constexpr size_t MaximumMessageSize = 64 * 1024;

    bool inSysEx = false;
    // The collected message passed the maximum size: its remaining bytes are skipped.
    bool overflowed = false;
    std::vector<unsigned char> bytes;
};

class CPXRMidiListener
{
public:
    virtual ~CPXRMidiListener() = default;

    virtual void OnPXRMidiInShortMessage (CPXRMidi*, CPXRMidiMessage&) {}
    // One complete System Exclusive message, 0xF0 to 0xF7.
    virtual void OnPXRMidiInLongMessageReceived (CPXRMidi*, CPXRMidiMessage&) {}
    // Progress while a System Exclusive message arrives.
    virtual void OnPXRMidiInLongMessageReceiving (CPXRMidi*, int /*byteCount*/, unsigned char* /*packetBytes*/) {}
    virtual void OnPXRMidiOutSysExSendComplete (CPXRMidi*, int /*byteCount*/) {}
    // The system's MIDI setup changed; both numbers are 0.
    virtual void OnPXRMidiNotification (CPXRMidi*, int, int) {}
};

namespace midi
{
// Where the receive algorithm hands what it finds.
class MidiPacketSink
{
public:
    virtual ~MidiPacketSink() = default;
    virtual void shortMessageReceived (const unsigned char* bytes, int count) = 0;
    // consumed: the bytes of this packet that belong to the message, up to and including 0xF7.
    virtual void longMessageReceived (const std::vector<unsigned char>& message, int consumed, const unsigned char* packet) = 0;
    virtual void longMessageReceiving (int count, const unsigned char* packet) = 0;
    virtual void setReceiving (bool receiving) = 0;
};

// Length of a short message by its status byte.
int getShortMessageLength (unsigned char status);

// Splits one incoming packet into messages, collecting System Exclusive messages over any
// number of packets. Clock bytes inside a System Exclusive message are passed on as short
// messages; any other status byte abandons the message being collected.
void analyzeMidiPacket (CSysExBuffer& buffer, const unsigned char* bytes, int count, MidiPacketSink& sink);
} // namespace midi

// The program's MIDI connection: one input port connected to one source and one output port
// aimed at one destination, over the MIDI back end.
class CPXRMidi : private midi::MidiPacketSink
{
public:
    CPXRMidi();
    explicit CPXRMidi (std::shared_ptr<midi::MidiBackend> backend);
    virtual ~CPXRMidi();

    virtual bool Create (const char* clientName);
    virtual bool Destroy();

    void AddListener (CPXRMidiListener* listener);
    void RemoveListener (CPXRMidiListener* listener);
    void ClearListeners();

    int GetNumMidiInDevices();
    int GetNumMidiOutDevices();
    juce::String GetMidiInDeviceName (int index);
    juce::String GetMidiOutDeviceName (int index);
    // The fixed-buffer variants write "%s - %s" into dst (256 bytes).
    bool GetMidiInDeviceName (int index, char* dst);
    bool GetMidiOutDeviceName (int index, char* dst);

    bool MidiInOpen (int index);
    bool MidiInOpen (const juce::String& name);
    bool MidiOutOpen (int index);
    bool MidiOutOpen (const juce::String& name);
    void MidiInClose();
    void MidiOutClose();
    bool MidiInIsOpen() const;
    bool MidiOutIsOpen() const;
    bool IsSysExReceiving() const;
    bool IsSysExTransmitting() const;
    int GetOpenedInIndex() const noexcept { return openedInIndex; }
    int GetOpenedOutIndex() const noexcept { return openedOutIndex; }

    bool Out (const CPXRMidiMessage& message);
    bool Out (int length, unsigned char* bytes);
    bool Out (unsigned char status, unsigned char data1, unsigned char data2);
    bool Out (int channel, int status, int data1, int data2);

    bool FindMidiInDeviceName (const juce::String& name);
    bool FindMidiOutDeviceName (const juce::String& name);

    static int GetShortMessageLength (unsigned char status) { return midi::getShortMessageLength (status); }
    void MemoryToMidi (unsigned char* dst, const unsigned char* src, int n);
    void MidiToMemory (unsigned char* dst, const unsigned char* src, int n);
    int CalcDumpMessageSize (int n);

    // The description of the last failure (not shown to the user).
    juce::String GetLastError() const;
    midi::MidiBackend* GetBackend() const noexcept { return backend.get(); }

    // The receive algorithm for one packet; the input callback calls it on the MIDI thread.
    void AnalyzeBuffer (const unsigned char* bytes, int count);

    // How long a System Exclusive send waits for its completion before returning.
    static constexpr int SysExSendWaitMs = 500;

private:
    void shortMessageReceived (const unsigned char* bytes, int count) override;
    void longMessageReceived (const std::vector<unsigned char>& message, int consumed, const unsigned char* packet) override;
    void longMessageReceiving (int count, const unsigned char* packet) override;
    void setReceiving (bool receiving) override;
    void sysExSendComplete (int length);
    void setupChanged();
    bool fail (const char* description);

    std::shared_ptr<midi::MidiBackend> backend;
    bool clientCreated = false;
    juce::String clientName;
    int setupCallbackId = 0;
    std::unique_ptr<midi::MidiInputConnection> inputPort;
    std::unique_ptr<midi::MidiOutputConnection> outputPort;
    int openedInIndex = -1;
    int openedOutIndex = -1;
    CSysExBuffer sysExBuffer;
    std::vector<CPXRMidiListener*> listeners;
    juce::CriticalSection listenerLock;
    bool receivingSysEx = false;
    bool transmittingSysEx = false;
    juce::CriticalSection stateLock;
    juce::WaitableEvent sendDone;
    mutable juce::CriticalSection errorLock;
    juce::String lastError;

    JUCE_DECLARE_NON_COPYABLE (CPXRMidi)
};
