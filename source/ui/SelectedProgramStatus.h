#pragma once

#include "application/Singleton.h"

#include <juce_events/juce_events.h>

#include <vector>

namespace ui
{
class SelectedProgramStatusObserver
{
public:
    virtual void selectedProgramChanged() = 0;
    virtual ~SelectedProgramStatusObserver() = default;
};

// Which programs of the library are selected, ascending. Program 0 is selected at start.
class SelectedProgramStatus : public ListenerHolder<SelectedProgramStatusObserver>,
                              public Singleton<SelectedProgramStatus>,
                              public juce::AsyncUpdater,
                              public juce::DeletedAtShutdown
{
public:
    SelectedProgramStatus() = default;
    ~SelectedProgramStatus() override { cancelPendingUpdate(); }

    int getNumSelectedItems() const { return (int) selectedProgramNumbers.size(); }
    // The index-th selected program, or -1 when there is no such entry.
    int getSelectedProgramNumber (const int& index) const
    {
        return index >= 0 && index < getNumSelectedItems() ? selectedProgramNumbers[(size_t) index] : -1;
    }
    bool isSelected (int programNumber) const
    {
        return std::find (selectedProgramNumbers.begin(), selectedProgramNumbers.end(), programNumber) != selectedProgramNumbers.end();
    }
    bool isMultipleSelected() const { return getNumSelectedItems() >= 2; }
    const std::vector<int>& getSelectedProgramNumbers() const { return selectedProgramNumbers; }

    void setSelectedProgramNumbers (const std::vector<int>& numbers)
    {
        selectedProgramNumbers = numbers;
        triggerAsyncUpdate();
    }

    void handleAsyncUpdate() override
    {
        callListeners ([] (SelectedProgramStatusObserver& observer) { observer.selectedProgramChanged(); });
    }

private:
    std::vector<int> selectedProgramNumbers { 0 };
};
} // namespace ui
