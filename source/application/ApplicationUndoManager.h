#pragma once

#include "application/Singleton.h"

#include <juce_data_structures/juce_data_structures.h>

namespace application
{
// The one undo manager of the application: every edit of the library is an undoable
// action performed in a named transaction here. Its change messages reach the menus,
// the data-change broadcaster and the current program.
class ApplicationUndoManager : public Singleton<ApplicationUndoManager>,
                               public juce::UndoManager,
                               public juce::DeletedAtShutdown
{
public:
    // The limits that start-up sets: old transactions are dropped while more than this
    // many units are stored, but the newest MinimumNumberOfTransactions always stay.
    static constexpr int MaximumNumberOfStoredUnits = 2000000;
    static constexpr int MinimumNumberOfTransactions = 20;

    // The framework's limits until start-up raises them.
    ApplicationUndoManager() : juce::UndoManager (30000, 30) {}
    ~ApplicationUndoManager() override = default;

    void applyApplicationLimits() { setMaxNumberOfStoredUnits (MaximumNumberOfStoredUnits, MinimumNumberOfTransactions); }
};
} // namespace application
