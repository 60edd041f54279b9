// The start-up links the current program to the background transmitter: selecting a program
// sends it to the instrument's edit buffer.

#include "TransferTestSupport.h"

#include "application/LaunchSequence.h"
#include "data/DataCenter.h"
#include "midi/MidiCommunicationManager.h"
#include "midi/MidiDeviceManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace tarnombi::test;

TEST (CurrentProgramLink, SelectingAProgramSendsItToTheEditBuffer)
{
    auto& rig = LoopbackInstrument::get();
    rig.reset();
    x38200_application::initializeApplication();
    // The start-up applied the stored port settings (scanning); this test names the ports.
    auto& devices = midi::MidiDeviceManager::instance();
    devices.setAutoDeviceScan (false);
    devices.setManualMidiInputPort ("TarnOMBI - MIDI");
    devices.setManualMidiOutputPort ("TarnOMBI - MIDI");

    const auto library = makeDistinctLibrary (9);
    x38200_data::DataCenter::instance().libraryData = library;
    auto& current = x38200_data::CurrentProgramData::instance();
    current.setProgramFromProgramList (41);

    auto& manager = x38200_midi::MidiCommunicationManager::instance();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! manager.isProcessing(); }, 10000));
    EXPECT_EQ (0, std::memcmp (rig.instrument().getCurrentProgram().bytes, library.getProgramData (41).rawData.bytes, 320));

    // No current program: nothing is sent.
    rig.reset();
    current.deleteProgramData();
    runMessageLoopFor (100);
    EXPECT_TRUE (rig.getSent().empty());
}
