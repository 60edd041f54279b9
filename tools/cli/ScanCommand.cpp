// tarnombi scan: finds the input and the output that lead to the TarnOMBI.

#include "CliCommand.h"
#include "CliDeviceScan.h"

#include "midi/MidiDeviceManager.h"
#include "midi/SysExMessages.h"

namespace tarnombi::cli
{
namespace
{
    int runScan (const juce::StringArray& args)
    {
        const auto api = getOptionValue (args, "--api");
        if (hasOption (args, "--api") && api != "alsa" && api != "jack")
            return fail ("tarnombi scan: --api takes alsa or jack");
        if (api.isNotEmpty())
            midi::setMidiBackend (midi::createSystemMidiBackend (api));

        auto& manager = Singleton<midi::MidiDeviceManager>::instance();
        manager.setDeviceFamilyId (x38200_midi::TarnOMBIFamilyID);

        if (! runDeviceScan (manager))
            return fail ("tarnombi scan: the scan did not finish.");
        if (! manager.isFoundMidiDevice())
            return fail ("TarnOMBI is not connected.");

        const int in = manager.getMidiInPortIndexToUse();
        const int out = manager.getMidiOutPortIndexToUse();
        auto& ports = manager.getMidi();
        printLine ("Input: " + juce::String (in) + "  " + ports.GetMidiInDeviceName (in));
        printLine ("Output: " + juce::String (out) + "  " + ports.GetMidiOutDeviceName (out));
        return 0;
    }

    const Registration registration { { "scan", "scan [--api alsa|jack]", "find the MIDI ports of the TarnOMBI", runScan } };
} // namespace
} // namespace tarnombi::cli
