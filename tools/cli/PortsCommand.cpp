// tarnombi ports: the MIDI inputs and outputs the librarian can use.

#include "CliCommand.h"

#include "midi/CPXRMidi.h"
#include "midi/MidiBackend.h"

namespace tarnombi::cli
{
namespace
{
    int runPorts (const juce::StringArray& args)
    {
        const auto api = getOptionValue (args, "--api");
        if (hasOption (args, "--api") && api != "alsa" && api != "jack")
            return fail ("tarnombi ports: --api takes alsa or jack");
        if (api.isNotEmpty())
            midi::setMidiBackend (midi::createSystemMidiBackend (api));

        CPXRMidi midiPorts (midi::getMidiBackend());
        midiPorts.Create ("MidiDevice");
        printLine ("MIDI back end: " + midiPorts.GetBackend()->getApiName());

        printLine ("Inputs:");
        const int inputs = midiPorts.GetNumMidiInDevices();
        for (int i = 0; i < inputs; ++i)
            printLine ("  " + juce::String (i) + "  " + midiPorts.GetMidiInDeviceName (i));
        if (inputs == 0)
            printLine ("  (none)");

        printLine ("Outputs:");
        const int outputs = midiPorts.GetNumMidiOutDevices();
        for (int i = 0; i < outputs; ++i)
            printLine ("  " + juce::String (i) + "  " + midiPorts.GetMidiOutDeviceName (i));
        if (outputs == 0)
            printLine ("  (none)");
        return 0;
    }

    const Registration registration { { "ports", "ports [--api alsa|jack]", "list the MIDI inputs and outputs", runPorts } };
} // namespace
} // namespace tarnombi::cli
