#include "midi/MidiDeviceManager.h"

namespace midi
{
MidiDeviceManager::MidiDeviceManager()
    : MidiDeviceManager (getMidiBackend())
{
}

MidiDeviceManager::MidiDeviceManager (std::shared_ptr<MidiBackend> backend)
    : scanner (backend), midi (backend)
{
    midi.Create (ClientName);
    scanner.addListener (this);
}

MidiDeviceManager::~MidiDeviceManager()
{
    scanner.removeListener (this);
    disconnect();
    midi.Destroy();
}

bool MidiDeviceManager::connect()
{
    if (connected)
        return true;

    bool inputOpened = false;
    if (autoDeviceScan)
    {
        if (! scanFinished)
        {
            scanDevices();
            return false;
        }
        const int in = scanner.getFoundInIndex();
        const int out = scanner.getFoundOutIndex();
        if (in == -1 || out == -1)
            return false;
        inputOpened = midi.MidiInOpen (in);
        if (! inputOpened)
            return false;
        if (! midi.MidiOutOpen (out))
        {
            midi.MidiInClose();
            return false;
        }
    }
    else
    {
        inputOpened = midi.MidiInOpen (manualMidiInputPort);
        if (! inputOpened)
            return false;
        if (! midi.MidiOutOpen (manualMidiOutputPort))
        {
            midi.MidiInClose();
            return false;
        }
    }
    connected = true;
    return true;
}

void MidiDeviceManager::disconnect()
{
    if (! connected)
        return;
    midi.ClearListeners();
    midi.MidiInClose();
    midi.MidiOutClose();
    connected = false;
}

void MidiDeviceManager::scanDevices()
{
    scanFinished = false;
    scanner.execute (deviceFamilyId, deviceMemberId, MidiDeviceScanner::DefaultTimeout);
}

bool MidiDeviceManager::isFoundMidiDevice() const
{
    return autoDeviceScan ? scanner.isFound() : true;
}

int MidiDeviceManager::getMidiInPortIndexToUse()
{
    if (autoDeviceScan)
        return scanFinished ? scanner.getFoundInIndex() : -1;
    const int count = midi.GetNumMidiInDevices();
    for (int i = 0; i < count; ++i)
        if (midi.GetMidiInDeviceName (i) == manualMidiInputPort)
            return i;
    return -1;
}

int MidiDeviceManager::getMidiOutPortIndexToUse()
{
    if (autoDeviceScan)
        return scanFinished ? scanner.getFoundOutIndex() : -1;
    const int count = midi.GetNumMidiOutDevices();
    for (int i = 0; i < count; ++i)
        if (midi.GetMidiOutDeviceName (i) == manualMidiOutputPort)
            return i;
    return -1;
}

void MidiDeviceManager::midiDeviceScanFinished()
{
    scanFinished = true;
    callListeners ([] (MidiDeviceManagerListener& listener) { listener.midiDeviceScanFinished(); });
}

bool isOmbiUsbMidiDriverInput (int)
{
    return true;
}

bool isOmbiUsbMidiDriverOutput (int)
{
    return true;
}
} // namespace midi
