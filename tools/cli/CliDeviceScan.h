#pragma once

#include "midi/MidiDeviceManager.h"

namespace tarnombi::cli
{
// Runs the device scan and waits for its end, delivering the scanner's report on this
// (the message) thread. False when the scan did not end within the time-out.
bool runDeviceScan (midi::MidiDeviceManager& manager, int timeoutMs = 30000);
} // namespace tarnombi::cli
