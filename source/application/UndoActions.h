#pragma once

#include "data/ProgramData.h"

#include <juce_data_structures/juce_data_structures.h>

namespace x38200_action
{
// The undoable edits of the library. Each works on the data center's library and
// remembers whether the library was edited just before it was (last) performed: undoing
// it clears the edited flag again exactly when it was clear then.
class EditAction : public juce::UndoableAction
{
protected:
    void recordEarlierFlag();
    void markEdited();
    void restoreEarlierFlag();

private:
    bool earlierEdited = false;
};

// Puts the init program into program n.
class InitializeProgramDataAction : public EditAction
{
public:
    static constexpr int SizeInUnits = 360;

    explicit InitializeProgramDataAction (int programNumber) : number (programNumber) {}

    bool perform() override;
    bool undo() override;
    int getSizeInUnits() override { return SizeInUnits; }

private:
    int number;
    x38200_data::ProgramData before;
};

// Replaces program n by the given program (bytes, texts and digest).
class SetProgramDataAction : public EditAction
{
public:
    static constexpr int SizeInUnits = 716;

    SetProgramDataAction (int programNumber, const x38200_data::ProgramData& program)
        : number (programNumber), after (program)
    {
    }

    bool perform() override;
    bool undo() override;
    int getSizeInUnits() override { return SizeInUnits; }

private:
    int number;
    x38200_data::ProgramData after;
    x38200_data::ProgramData before;
};

// Replaces all programs and the favorite table.
class SetLibraryDataAction : public EditAction
{
public:
    static constexpr int SizeInUnits = 214728;

    explicit SetLibraryDataAction (const x38200_data::LibraryData& library) : after (library) {}

    bool perform() override;
    bool undo() override;
    int getSizeInUnits() override { return SizeInUnits; }

private:
    x38200_data::LibraryData after;
    x38200_data::LibraryData before;
};

// Sets one favorite slot.
class SetFavoriteParameterAction : public EditAction
{
public:
    static constexpr int SizeInUnits = 20;

    SetFavoriteParameterAction (int bankIndex, int slotIndex, int programNumber)
        : bank (bankIndex), slot (slotIndex), value (programNumber)
    {
    }

    bool perform() override;
    bool undo() override;
    int getSizeInUnits() override { return SizeInUnits; }

private:
    int bank, slot, value;
    int previousValue = 0;
};
} // namespace x38200_action
