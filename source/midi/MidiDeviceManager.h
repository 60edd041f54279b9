#pragma once

#include "application/Singleton.h"
#include "midi/CPXRMidi.h"
#include "midi/MidiDeviceScanner.h"

#include <juce_events/juce_events.h>

namespace midi
{
class MidiDeviceManagerListener
{
public:
    virtual ~MidiDeviceManagerListener() = default;
    virtual void midiDeviceChanged() {}
    virtual void midiDeviceScanFinished() {}
};

// Owns the program's one MIDI connection and the device scanner, knows which ports lead to the
// instrument (found by scanning or named by the user) and opens them around every communication.
class MidiDeviceManager : public Singleton<MidiDeviceManager>,
                          public ListenerHolder<MidiDeviceManagerListener>,
                          public MidiDeviceScannerListener,
                          public juce::DeletedAtShutdown
{
public:
    static constexpr int MidiDeviceVendorID = 0x42;
    static constexpr const char* ClientName = "MidiDevice";

    MidiDeviceManager();
    explicit MidiDeviceManager (std::shared_ptr<MidiBackend> backend);
    ~MidiDeviceManager() override;

    bool connect();
    void disconnect();
    bool isConnected() const noexcept { return connected; }

    void scanDevices();
    bool isScanFinished() const noexcept { return scanFinished; }

    void setAutoDeviceScan (const bool& autoScan) { autoDeviceScan = autoScan; }
    bool isAutoDeviceScan() const noexcept { return autoDeviceScan; }
    void setManualMidiInputPort (const juce::String& name) { manualMidiInputPort = name; }
    void setManualMidiOutputPort (const juce::String& name) { manualMidiOutputPort = name; }
    const juce::String& getManualMidiInputPort() const noexcept { return manualMidiInputPort; }
    const juce::String& getManualMidiOutputPort() const noexcept { return manualMidiOutputPort; }

    bool isFoundMidiDevice() const;
    int getMidiInPortIndexToUse();
    int getMidiOutPortIndexToUse();

    void setDeviceFamilyId (int familyId) { deviceFamilyId = familyId; }
    int getDeviceFamilyId() const noexcept { return deviceFamilyId; }
    void setDeviceMemberId (int memberId) { deviceMemberId = memberId; }
    int getDeviceMemberId() const noexcept { return deviceMemberId; }

    CPXRMidi& getMidi() noexcept { return midi; }
    MidiDeviceScanner& getScanner() noexcept { return scanner; }
    juce::CriticalSection& getLock() noexcept { return lock; }

    void midiDeviceScanFinished() override;

private:
    MidiDeviceScanner scanner;
    CPXRMidi midi;
    int deviceFamilyId = -1;
    int deviceMemberId = -1;
    bool connected = false;
    bool autoDeviceScan = true;
    bool scanFinished = false;
    juce::String manualMidiInputPort;
    juce::String manualMidiOutputPort;
    juce::CriticalSection lock;
};

// Whether the port is served by the maker's USB-MIDI driver. There is no such driver here:
// every port counts as served, so the driver warning never shows.
bool isOmbiUsbMidiDriverInput (int portIndex);
bool isOmbiUsbMidiDriverOutput (int portIndex);
} // namespace midi
