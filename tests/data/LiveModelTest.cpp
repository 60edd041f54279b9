#include "application/ApplicationUndoManager.h"
#include "data/DataCenter.h"
#include "support/TestSupport.h"
#include "ui/SelectedProgramStatus.h"

#include <gtest/gtest.h>

using namespace x38200_data;
using tarnombi::test::runMessageLoopFor;

namespace
{
x38200_data::ProgramData makeProgram (const char* name)
{
    x38200_data::ProgramData program;
    std::memset (program.rawData.bytes, ' ', 12);
    std::memcpy (program.rawData.bytes, name, std::min<size_t> (12, std::strlen (name)));
    program.updateMD5();
    return program;
}

struct CountingObserver : data::DataChangeObserver, data::PresetDataChangeBroadcasterObserver, CurrentProgramDataObserver
{
    int data = 0, presets = 0, current = 0;
    void dataChanged() override { ++data; }
    void presetDataChanged() override { ++presets; }
    void currentProgramDataChanged() override { ++current; }
};
} // namespace

TEST (ProgramPresetConnector, FindsTheFirstPresetAndProgramButNeverAnInitProgram)
{
    auto& presets = DataCenter::instance().presetLibrary;
    presets.clear();

    const auto sound = makeProgram ("BRIGHT BELL");
    PresetData first, second;
    first.programs[7] = sound;
    second.programs[3] = sound;
    second.programs[10].initializeWithoutName();
    presets.add (first);
    presets.add (second);

    ProgramPresetConnector match (sound);
    EXPECT_TRUE (match.found);
    EXPECT_EQ (match.presetIndex, 0);
    EXPECT_EQ (match.programNumber, 7);

    // Both presets are full of init programs, yet an init program belongs to none.
    for (auto program : { x38200_data::ProgramData(), [] { x38200_data::ProgramData p; p.initializeWithoutName(); return p; }() })
    {
        ProgramPresetConnector init (program);
        EXPECT_FALSE (init.found);
        EXPECT_EQ (init.presetIndex, -1);
        EXPECT_EQ (init.programNumber, -1);
    }

    // The digest decides, not the texts.
    auto withComment = sound;
    withComment.information.comment = "mine";
    EXPECT_TRUE (ProgramPresetConnector (withComment).found);
    EXPECT_FALSE (ProgramPresetConnector (makeProgram ("OTHER")).found);
    presets.clear();
}

TEST (ChangeBroadcasters, ManyUpdatesInOneTurnGiveOneCallbackEach)
{
    CountingObserver observer, second;
    auto& dataBroadcaster = data::DataChangeBroadcaster::instance();
    auto& presetBroadcaster = data::PresetDataChangeBroadcaster::instance();
    dataBroadcaster.addListener (&observer);
    dataBroadcaster.addListener (&second);
    presetBroadcaster.addListener (&observer);

    for (int i = 0; i < 10; ++i)
    {
        dataBroadcaster.update();
        presetBroadcaster.update();
    }
    EXPECT_EQ (observer.data, 0); // nothing before the loop runs
    runMessageLoopFor (50);
    EXPECT_EQ (observer.data, 1);
    EXPECT_EQ (second.data, 1);
    EXPECT_EQ (observer.presets, 1);

    // Every change of the undo manager reaches the data observers.
    application::ApplicationUndoManager::instance().clearUndoHistory();
    runMessageLoopFor (50);
    EXPECT_EQ (observer.data, 2);

    dataBroadcaster.removeListener (&observer);
    dataBroadcaster.removeListener (&second);
    presetBroadcaster.removeListener (&observer);
}

TEST (CurrentProgramData, SelectsSendsAndNotifiesOnce)
{
    auto& current = CurrentProgramData::instance();
    std::vector<juce::String> sent;
    CurrentProgramData::setTransmitter ([&] (const x38200_data::ProgramData& program) { sent.push_back (program.getProgramName()); });

    CountingObserver observer;
    current.addListener (&observer);
    runMessageLoopFor (20);
    observer.current = 0;

    auto& library = DataCenter::instance().libraryData;
    library.getProgramData (5) = makeProgram ("FIVE");

    current.setProgramFromProgramList (5);
    current.setProgramFromProgramList (5);
    runMessageLoopFor (50);
    EXPECT_EQ (sent, std::vector<juce::String> { "FIVE        " });
    EXPECT_EQ (observer.current, 1);
    EXPECT_EQ (current.getProgramData().getProgramName(), "FIVE        ");

    // A library edit notifies while a library program is shown; nothing is sent.
    current.changedLibraryData();
    runMessageLoopFor (50);
    EXPECT_EQ (observer.current, 2);
    EXPECT_EQ (sent.size(), 1u);

    // A preset program clears the list selection; out-of-range indices show the init program.
    auto& presets = DataCenter::instance().presetLibrary;
    presets.clear();
    PresetData preset;
    preset.programs[2] = makeProgram ("PRESET TWO");
    presets.add (preset);
    current.setProgramFromPresetData (0, 2);
    runMessageLoopFor (50);
    EXPECT_EQ (sent.back(), "PRESET TWO  ");
    EXPECT_EQ (ui::SelectedProgramStatus::instance().getNumSelectedItems(), 0);
    presets.clear();
    EXPECT_EQ (&current.getProgramData(), &CurrentProgramData::InvalidProgramData);

    // changedLibraryData only matters for library programs.
    observer.current = 0;
    current.changedLibraryData();
    runMessageLoopFor (50);
    EXPECT_EQ (observer.current, 0);

    current.deleteProgramData();
    current.deleteProgramData();
    runMessageLoopFor (50);
    EXPECT_FALSE (current.isValid());
    EXPECT_EQ (observer.current, 1);
    EXPECT_EQ (sent.size(), 2u); // nothing sent for "no program"

    current.removeListener (&observer);
    CurrentProgramData::setTransmitter (nullptr);
    library.initialize();
}
