#include "midi/CPXRMidi.h"

#include "midi/SysExMessages.h"

#include <cstring>

//==============================================================================
CPXRMidiMessage::CPXRMidiMessage (unsigned char s, unsigned char data1, unsigned char data2, juce::int64 time)
    : timeStamp (time)
{
    const unsigned char bytes[3] = { s, data1, data2 };
    assignBytes (bytes, 3);
}

CPXRMidiMessage::CPXRMidiMessage (unsigned char s, unsigned char data1, juce::int64 time)
    : timeStamp (time)
{
    const unsigned char bytes[2] = { s, data1 };
    assignBytes (bytes, 2);
}

CPXRMidiMessage::CPXRMidiMessage (unsigned char s, juce::int64 time)
    : timeStamp (time)
{
    assignBytes (&s, 1);
}

CPXRMidiMessage::CPXRMidiMessage (const unsigned char* bytes, juce::uint32 count, juce::int64 time)
    : timeStamp (time)
{
    assignBytes (bytes, count);
}

CPXRMidiMessage::CPXRMidiMessage (int metaType, const unsigned char* bytes, juce::uint32 count, juce::int64 time)
    : timeStamp (time)
{
    // The length travels in one byte, so a meta event carries at most 255 data bytes.
    count = std::min<juce::uint32> (count, 255);
    std::vector<unsigned char> all;
    all.reserve (count + 3);
    all.push_back (0xFF);
    all.push_back ((unsigned char) (metaType & 0x7F));
    all.push_back ((unsigned char) count);
    if (bytes != nullptr)
        all.insert (all.end(), bytes, bytes + count);
    else
        all.resize (count + 3, 0);
    assignBytes (all.data(), (juce::uint32) all.size());
}

CPXRMidiMessage::CPXRMidiMessage (const CPXRMidiMessage& other)
    : timeStamp (other.timeStamp)
{
    assignBytes (other.data, other.length);
}

CPXRMidiMessage& CPXRMidiMessage::operator= (const CPXRMidiMessage& other)
{
    if (this != &other)
    {
        assignBytes (other.data, other.length);
        timeStamp = other.timeStamp;
    }
    return *this;
}

CPXRMidiMessage::~CPXRMidiMessage()
{
    delete[] data;
}

void CPXRMidiMessage::assignBytes (const unsigned char* bytes, juce::uint32 count)
{
    unsigned char* copy = nullptr;
    if (count > 0 && bytes != nullptr)
    {
        copy = new unsigned char[count];
        std::memcpy (copy, bytes, count);
    }
    else
    {
        count = 0;
    }
    delete[] data;
    data = copy;
    length = count;
}

bool CPXRMidiMessage::isMetaEvent() const
{
    return length >= 3 && data[0] == 0xFF;
}

unsigned char CPXRMidiMessage::status() const
{
    if (length == 0 || isMetaEvent())
        return 0;
    return data[0];
}

unsigned char CPXRMidiMessage::getChannel() const
{
    const auto s = status();
    return (s >= 0x80 && s <= 0xEF) ? (unsigned char) (s & 0x0F) : 0;
}

void CPXRMidiMessage::setChannel (unsigned char channel)
{
    const auto s = status();
    if (s >= 0x80 && s <= 0xEF)
        data[0] = (unsigned char) ((s & 0xF0) | (channel & 0x0F));
}

bool CPXRMidiMessage::isNote() const { return status() >= 0x80 && status() <= 0x9F; }
bool CPXRMidiMessage::isNoteOn() const { return (status() & 0xF0) == 0x90; }
bool CPXRMidiMessage::isNoteOff() const { return (status() & 0xF0) == 0x80; }
bool CPXRMidiMessage::isControlChange() const { return (status() & 0xF0) == 0xB0; }
bool CPXRMidiMessage::isPitchBend() const { return (status() & 0xF0) == 0xE0; }
bool CPXRMidiMessage::isProgramChange() const { return (status() & 0xF0) == 0xC0; }
bool CPXRMidiMessage::isSysEx() const { return status() == 0xF0; }
bool CPXRMidiMessage::isClock() const { return status() == 0xF8; }
unsigned char CPXRMidiMessage::getStatusByte() const { return status(); }

unsigned char CPXRMidiMessage::getParam1() const
{
    return (status() != 0 && length >= 2) ? data[1] : 0;
}

unsigned char CPXRMidiMessage::getParam2() const
{
    return (status() != 0 && length >= 3) ? data[2] : 0;
}

unsigned char* CPXRMidiMessage::operator[] (unsigned int i)
{
    return i < length ? data + i : nullptr;
}

int CPXRMidiMessage::getMetaEventType() const
{
    return isMetaEvent() ? data[1] : -1;
}

int CPXRMidiMessage::getMetaEventSize() const
{
    // The stated size never reaches past the bytes held.
    return isMetaEvent() ? (int) std::min<juce::uint32> (data[2], length - 3) : 0;
}

const unsigned char* CPXRMidiMessage::getMetaEventData() const
{
    return isMetaEvent() ? data + 3 : nullptr;
}

void CPXRMidiMessage::getMetaEventString (char* dst, int size) const
{
    if (dst == nullptr || size <= 0)
        return;
    const int count = std::min (getMetaEventSize(), size - 1);
    if (count > 0)
        std::memcpy (dst, data + 3, (size_t) count);
    dst[std::max (count, 0)] = 0;
}

//==============================================================================
namespace midi
{
int getShortMessageLength (unsigned char status)
{
    if (status >= 0xC0 && status <= 0xDF)
        return 2;
    if (status == 0xF1 || status == 0xF3)
        return 2;
    if (status == 0xF6 || status >= 0xF8)
        return 1;
    return 3;
}

namespace
{
    // Collects System Exclusive bytes from the start of a packet. Returns how many bytes of
    // the packet it used; the caller analyses the rest as a new packet.
    int collectSysEx (CSysExBuffer& buffer, const unsigned char* bytes, int count, MidiPacketSink& sink)
    {
        for (int i = 0; i < count; ++i)
        {
            const unsigned char b = bytes[i];
            // 0xF0 starts a message only on an empty buffer: a new 0xF0 in the middle of a
            // message abandons it like any other status byte, so that two messages never merge.
            if (b < 0x80 || (b == 0xF0 && buffer.bytes.empty() && ! buffer.overflowed))
            {
                sink.setReceiving (true);
                buffer.inSysEx = true;
                if (buffer.overflowed)
                    continue;
                if (buffer.bytes.size() + 1 >= CSysExBuffer::MaximumMessageSize)
                {
                    buffer.bytes.clear();
                    buffer.bytes.shrink_to_fit();
                    buffer.overflowed = true;
                    continue;
                }
                buffer.bytes.push_back (b);
            }
            else if (b == 0xF8)
            {
                sink.shortMessageReceived (&b, 1);
            }
            else if (b == 0xF7)
            {
                buffer.inSysEx = false;
                if (buffer.overflowed)
                {
                    buffer.overflowed = false;
                    sink.setReceiving (false);
                    return i + 1;
                }
                buffer.bytes.push_back (b);
                sink.longMessageReceived (buffer.bytes, i + 1, bytes);
                sink.setReceiving (false);
                return i + 1;
            }
            else
            {
                sink.setReceiving (false);
                buffer.bytes.clear();
                buffer.inSysEx = false;
                buffer.overflowed = false;
                return i;
            }
        }
        if (buffer.inSysEx)
            sink.longMessageReceiving (count, bytes);
        return count;
    }
} // namespace

void analyzeMidiPacket (CSysExBuffer& buffer, const unsigned char* bytes, int count, MidiPacketSink& sink)
{
    while (count > 0 && bytes != nullptr)
    {
        if (! buffer.inSysEx && bytes[0] == 0xF0)
        {
            sink.setReceiving (false);
            buffer.bytes.clear();
            buffer.overflowed = false;
        }
        if (buffer.inSysEx || bytes[0] == 0xF0)
        {
            const int used = collectSysEx (buffer, bytes, count, sink);
            bytes += used;
            count -= used;
            continue;
        }
        if (bytes[0] >= 0x80)
        {
            const int n = getShortMessageLength (bytes[0]);
            if (count < n)
                return;
            sink.shortMessageReceived (bytes, n);
            bytes += n;
            count -= n;
            continue;
        }
        // A data byte outside a System Exclusive message: no running status, skip it.
        ++bytes;
        --count;
    }
}
} // namespace midi

//==============================================================================
CPXRMidi::CPXRMidi()
    : CPXRMidi (nullptr)
{
}

CPXRMidi::CPXRMidi (std::shared_ptr<midi::MidiBackend> backendToUse)
    : backend (std::move (backendToUse))
{
}

CPXRMidi::~CPXRMidi()
{
    MidiInClose();
    MidiOutClose();
    Destroy();
}

bool CPXRMidi::fail (const char* description)
{
    const juce::ScopedLock sl (errorLock);
    lastError = description;
    return false;
}

juce::String CPXRMidi::GetLastError() const
{
    const juce::ScopedLock sl (errorLock);
    return lastError;
}

bool CPXRMidi::Create (const char* name)
{
    if (clientCreated)
        return fail ("Client is already created.");
    if (backend == nullptr)
        backend = midi::getMidiBackend();
    if (backend == nullptr)
        return fail ("Failed to call MIDIClientCreate().");
    clientName = juce::String::fromUTF8 (name != nullptr ? name : "");
    setupCallbackId = backend->addSetupChangeCallback ([this] { setupChanged(); });
    clientCreated = true;
    return true;
}

bool CPXRMidi::Destroy()
{
    if (! clientCreated)
        return true;
    MidiInClose();
    MidiOutClose();
    backend->removeSetupChangeCallback (setupCallbackId);
    setupCallbackId = 0;
    clientCreated = false;
    return true;
}

void CPXRMidi::setupChanged()
{
    const juce::ScopedLock sl (listenerLock);
    for (auto* listener : listeners)
        listener->OnPXRMidiNotification (this, 0, 0);
}

void CPXRMidi::AddListener (CPXRMidiListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.push_back (listener);
}

void CPXRMidi::RemoveListener (CPXRMidiListener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    const auto it = std::find (listeners.begin(), listeners.end(), listener);
    if (it != listeners.end())
        listeners.erase (it);
}

void CPXRMidi::ClearListeners()
{
    const juce::ScopedLock sl (listenerLock);
    listeners.clear();
}

int CPXRMidi::GetNumMidiInDevices()
{
    return backend != nullptr ? (int) backend->getSources().size() : 0;
}

int CPXRMidi::GetNumMidiOutDevices()
{
    return backend != nullptr ? (int) backend->getDestinations().size() : 0;
}

juce::String CPXRMidi::GetMidiInDeviceName (int index)
{
    if (backend == nullptr)
        return {};
    const auto sources = backend->getSources();
    if (index < 0 || index >= (int) sources.size())
        return {};
    return sources[(size_t) index].getDisplayName();
}

juce::String CPXRMidi::GetMidiOutDeviceName (int index)
{
    if (backend == nullptr)
        return {};
    const auto destinations = backend->getDestinations();
    if (index < 0 || index >= (int) destinations.size())
        return {};
    return destinations[(size_t) index].getDisplayName();
}

static bool copyDeviceName (const juce::String& name, char* dst)
{
    if (dst == nullptr)
        return false;
    dst[0] = 0;
    if (name.isEmpty())
        return false;
    name.copyToUTF8 (dst, 256);
    return true;
}

bool CPXRMidi::GetMidiInDeviceName (int index, char* dst)
{
    return copyDeviceName (GetMidiInDeviceName (index), dst);
}

bool CPXRMidi::GetMidiOutDeviceName (int index, char* dst)
{
    return copyDeviceName (GetMidiOutDeviceName (index), dst);
}

bool CPXRMidi::MidiInOpen (int index)
{
    if (inputPort != nullptr)
        return fail ("MIDI IN already opened.");
    if (index < 0 || index >= GetNumMidiInDevices())
        return fail ("Not found MIDI IN device.");

    // Reset the receive state before the source can deliver anything.
    sysExBuffer.bytes.clear();
    sysExBuffer.inSysEx = false;
    sysExBuffer.overflowed = false;
    {
        const juce::ScopedLock sl (stateLock);
        receivingSysEx = false;
    }
    auto port = backend->openSource (index, "PXRMidiInPort",
                                     [this] (const std::uint8_t* bytes, int count) { AnalyzeBuffer (bytes, count); });
    if (port == nullptr)
        return fail ("Faild to MIDIPortConnectSource().");
    inputPort = std::move (port);
    openedInIndex = index;
    return true;
}

bool CPXRMidi::MidiInOpen (const juce::String& name)
{
    const int count = GetNumMidiInDevices();
    for (int i = 0; i < count; ++i)
        if (GetMidiInDeviceName (i) == name)
            return MidiInOpen (i);
    return fail ("Not found MIDI IN device.");
}

bool CPXRMidi::MidiOutOpen (int index)
{
    if (outputPort != nullptr)
        return fail ("MIDI OUT already opened.");
    if (index < 0 || index >= GetNumMidiOutDevices())
        return fail ("Not found MIDI Out device.");
    auto port = backend->openDestination (index, "PXRMidiOutPort");
    if (port == nullptr)
        return fail ("Faild to MIDIOutputPortCreate().");
    outputPort = std::move (port);
    openedOutIndex = index;
    return true;
}

bool CPXRMidi::MidiOutOpen (const juce::String& name)
{
    const int count = GetNumMidiOutDevices();
    for (int i = 0; i < count; ++i)
        if (GetMidiOutDeviceName (i) == name)
            return MidiOutOpen (i);
    return fail ("Not found MIDI Out device.");
}

void CPXRMidi::MidiInClose()
{
    // Destroying the connection waits for a running packet callback to end.
    inputPort.reset();
    openedInIndex = -1;
}

void CPXRMidi::MidiOutClose()
{
    // Sends still queued are finished (and their completions reported) first.
    outputPort.reset();
    openedOutIndex = -1;
}

bool CPXRMidi::MidiInIsOpen() const { return inputPort != nullptr; }
bool CPXRMidi::MidiOutIsOpen() const { return outputPort != nullptr; }

bool CPXRMidi::IsSysExReceiving() const
{
    const juce::ScopedLock sl (stateLock);
    return receivingSysEx;
}

bool CPXRMidi::IsSysExTransmitting() const
{
    const juce::ScopedLock sl (stateLock);
    return transmittingSysEx;
}

bool CPXRMidi::Out (const CPXRMidiMessage& message)
{
    if (message.getLength() == 0)
        return false;
    if (message.isSysEx())
        return Out ((int) message.getLength(), const_cast<unsigned char*> (message.getData()));
    return Out (message.getStatusByte(), message.getParam1(), message.getParam2());
}

bool CPXRMidi::Out (int length, unsigned char* bytes)
{
    if (outputPort == nullptr)
        return false;
    if (length <= 0 || bytes == nullptr)
        return false;
    {
        const juce::ScopedLock sl (stateLock);
        transmittingSysEx = true;
    }
    std::vector<std::uint8_t> copy (bytes, bytes + length);
    if (! outputPort->sendSysEx (std::move (copy), [this, length] { sysExSendComplete (length); }))
    {
        const juce::ScopedLock sl (stateLock);
        transmittingSysEx = false;
        return false;
    }
    sendDone.wait (SysExSendWaitMs);
    return true;
}

void CPXRMidi::sysExSendComplete (int length)
{
    {
        const juce::ScopedLock sl (listenerLock);
        for (auto* listener : listeners)
            listener->OnPXRMidiOutSysExSendComplete (this, length);
    }
    {
        const juce::ScopedLock sl (stateLock);
        transmittingSysEx = false;
    }
    sendDone.signal();
}

bool CPXRMidi::Out (unsigned char status, unsigned char data1, unsigned char data2)
{
    if (outputPort == nullptr)
        return false;
    const unsigned char bytes[3] = { status, data1, data2 };
    return outputPort->sendShort (bytes, GetShortMessageLength (status));
}

bool CPXRMidi::Out (int channel, int status, int data1, int data2)
{
    return Out ((unsigned char) ((status & 0xF0) + (channel & 0x0F)), (unsigned char) data1, (unsigned char) data2);
}

bool CPXRMidi::FindMidiInDeviceName (const juce::String& name)
{
    const int count = GetNumMidiInDevices();
    for (int i = 0; i < count; ++i)
        if (GetMidiInDeviceName (i) == name)
            return true;
    return false;
}

bool CPXRMidi::FindMidiOutDeviceName (const juce::String& name)
{
    const int count = GetNumMidiOutDevices();
    for (int i = 0; i < count; ++i)
        if (GetMidiOutDeviceName (i) == name)
            return true;
    return false;
}

void CPXRMidi::MemoryToMidi (unsigned char* dst, const unsigned char* src, int n)
{
    x38200_midi::packData (dst, src, n);
}

void CPXRMidi::MidiToMemory (unsigned char* dst, const unsigned char* src, int n)
{
    x38200_midi::unpackData (dst, src, n);
}

int CPXRMidi::CalcDumpMessageSize (int n)
{
    return x38200_midi::calculatePackedSize (n);
}

//==============================================================================
void CPXRMidi::AnalyzeBuffer (const unsigned char* bytes, int count)
{
    midi::analyzeMidiPacket (sysExBuffer, bytes, count, *this);
}

void CPXRMidi::shortMessageReceived (const unsigned char* bytes, int count)
{
    const juce::ScopedLock sl (listenerLock);
    CPXRMidiMessage message (bytes, (juce::uint32) count);
    for (auto* listener : listeners)
        listener->OnPXRMidiInShortMessage (this, message);
}

void CPXRMidi::longMessageReceived (const std::vector<unsigned char>& collected, int consumed, const unsigned char* packet)
{
    const juce::ScopedLock sl (listenerLock);
    CPXRMidiMessage message (collected.data(), (juce::uint32) collected.size());
    for (auto* listener : listeners)
    {
        listener->OnPXRMidiInLongMessageReceiving (this, consumed, const_cast<unsigned char*> (packet));
        listener->OnPXRMidiInLongMessageReceived (this, message);
    }
}

void CPXRMidi::longMessageReceiving (int count, const unsigned char* packet)
{
    const juce::ScopedLock sl (listenerLock);
    for (auto* listener : listeners)
        listener->OnPXRMidiInLongMessageReceiving (this, count, const_cast<unsigned char*> (packet));
}

void CPXRMidi::setReceiving (bool receiving)
{
    const juce::ScopedLock sl (stateLock);
    receivingSysEx = receiving;
}
