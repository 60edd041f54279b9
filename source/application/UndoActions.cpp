#include "application/UndoActions.h"

#include "application/DataEditStatus.h"
#include "data/DataCenter.h"

namespace x38200_action
{
namespace
{
    x38200_data::LibraryData& library() { return x38200_data::DataCenter::instance().libraryData; }
} // namespace

void EditAction::recordEarlierFlag()
{
    earlierEdited = application::DataEditStatus::instance().isEdited();
}

void EditAction::markEdited()
{
    application::DataEditStatus::instance().edited();
}

void EditAction::restoreEarlierFlag()
{
    if (! earlierEdited)
        application::DataEditStatus::instance().clearEdited();
}

//==============================================================================
bool InitializeProgramDataAction::perform()
{
    auto& program = library().getProgramData (number);
    before = program;
    recordEarlierFlag();
    program.initialize();
    markEdited();
    return true;
}

bool InitializeProgramDataAction::undo()
{
    library().getProgramData (number) = before;
    restoreEarlierFlag();
    return true;
}

//==============================================================================
bool SetProgramDataAction::perform()
{
    auto& program = library().getProgramData (number);
    before = program;
    recordEarlierFlag();
    program = after;
    markEdited();
    return true;
}

bool SetProgramDataAction::undo()
{
    library().getProgramData (number) = before;
    restoreEarlierFlag();
    return true;
}

//==============================================================================
bool SetLibraryDataAction::perform()
{
    before = library();
    recordEarlierFlag();
    library() = after;
    markEdited();
    return true;
}

bool SetLibraryDataAction::undo()
{
    library() = before;
    restoreEarlierFlag();
    return true;
}

//==============================================================================
bool SetFavoriteParameterAction::perform()
{
    auto& favorites = library().favoriteData;
    previousValue = favorites.getFavoriteData (bank, slot);
    recordEarlierFlag();
    favorites.setFavoriteData (bank, slot, value);
    markEdited();
    return true;
}

bool SetFavoriteParameterAction::undo()
{
    library().favoriteData.setFavoriteData (bank, slot, previousValue);
    restoreEarlierFlag();
    return true;
}
} // namespace x38200_action
