#include "data/DataCenter.h"

#include "application/ApplicationUndoManager.h"
#include "ui/SelectedProgramStatus.h"

namespace data
{
DataChangeBroadcaster::DataChangeBroadcaster()
{
    application::ApplicationUndoManager::instance().addChangeListener (this);
}

DataChangeBroadcaster::~DataChangeBroadcaster()
{
    cancelPendingUpdate();
    if (application::ApplicationUndoManager::exists())
        application::ApplicationUndoManager::instance().removeChangeListener (this);
}

void DataChangeBroadcaster::handleAsyncUpdate()
{
    callListeners ([] (DataChangeObserver& observer) { observer.dataChanged(); });
}

void PresetDataChangeBroadcaster::handleAsyncUpdate()
{
    callListeners ([] (PresetDataChangeBroadcasterObserver& observer) { observer.presetDataChanged(); });
}
} // namespace data

namespace x38200_data
{
const ProgramData CurrentProgramData::InvalidProgramData;

CurrentProgramData::CurrentProgramData()
{
    const auto& selection = ui::SelectedProgramStatus::instance();
    if (selection.getNumSelectedItems() == 1)
    {
        source = ProgramList;
        programNumber = selection.getSelectedProgramNumber (0);
    }
    // Edits of the library must reach the pages that show a library program, whatever
    // the selection was when this object was made.
    application::ApplicationUndoManager::instance().addChangeListener (this);
}

CurrentProgramData::~CurrentProgramData()
{
    cancelPendingUpdate();
    if (application::ApplicationUndoManager::exists())
        application::ApplicationUndoManager::instance().removeChangeListener (this);
}

const ProgramData& CurrentProgramData::getProgramData() const
{
    if (source == ProgramList && programNumber >= 0 && programNumber < LibraryData::NumPrograms)
        return DataCenter::instance().libraryData.getProgramData (programNumber);

    if (source == PresetData)
    {
        const auto& presets = DataCenter::instance().presetLibrary;
        if (presetIndex >= 0 && presetIndex < presets.getNumPresetData() && programNumber >= 0
            && programNumber < x38200_data::PresetData::NumPrograms)
            return presets.getPresetData (presetIndex).getProgramData (programNumber);
    }
    return InvalidProgramData;
}

void CurrentProgramData::setProgramFromProgramList (int number)
{
    if (source == ProgramList && programNumber == number)
        return;
    source = ProgramList;
    programNumber = number;
    presetIndex = -1;
    update();
}

void CurrentProgramData::setProgramFromPresetData (int index, int number)
{
    if (source == PresetData && presetIndex == index && programNumber == number)
        return;
    source = PresetData;
    presetIndex = index;
    programNumber = number;
    update();
    ui::SelectedProgramStatus::instance().setSelectedProgramNumbers ({});
}

void CurrentProgramData::deleteProgramData()
{
    if (source == None)
        return;
    source = None;
    presetIndex = -1;
    programNumber = -1;
    update();
}

void CurrentProgramData::update()
{
    if (source != None && transmitter())
        transmitter() (getProgramData());
    triggerAsyncUpdate();
}

void CurrentProgramData::changedLibraryData()
{
    if (source == ProgramList)
        triggerAsyncUpdate();
}

void CurrentProgramData::handleAsyncUpdate()
{
    callListeners ([] (CurrentProgramDataObserver& observer) { observer.currentProgramDataChanged(); });
}

void CurrentProgramData::setTransmitter (Transmitter newTransmitter)
{
    transmitter() = std::move (newTransmitter);
}

CurrentProgramData::Transmitter& CurrentProgramData::transmitter()
{
    static Transmitter function;
    return function;
}

//==============================================================================
ProgramPresetConnector::ProgramPresetConnector (const ProgramData& programToExamine)
    : program (programToExamine)
{
    // The two reference digests never change; list rows build many connectors.
    static const auto digests = []
    {
        ProgramData init;
        const auto named = init.md5;
        init.initializeWithoutName();
        return std::make_pair (named, init.md5);
    }();
    initDigest = digests.first;
    initWithoutNameDigest = digests.second;
    scan();
}

void ProgramPresetConnector::scan()
{
    if (program.md5 == initDigest || program.md5 == initWithoutNameDigest)
        return;

    const auto& presets = DataCenter::instance().presetLibrary;
    for (int index = 0; index < presets.getNumPresetData(); ++index)
    {
        const auto& preset = presets.getPresetData (index);
        for (int number = 0; number < PresetData::NumPrograms; ++number)
        {
            if (preset.getProgramData (number).md5 == program.md5)
            {
                found = true;
                presetIndex = index;
                programNumber = number;
                return;
            }
        }
    }
}
} // namespace x38200_data
