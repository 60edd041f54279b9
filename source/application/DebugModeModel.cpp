#include "application/DebugModeModel.h"

namespace x38200_application
{
const juce::String DebugModeModel::DeveloperModeFileName = "DeveloperMode_38200.txt";
const juce::String DebugModeModel::DebugModeFileName = "DebugMode.txt";

void initializeDebugMode (const juce::File& preferencesFolder)
{
    auto& model = DebugModeModel::instance();
    if (preferencesFolder.getChildFile (DebugModeModel::DeveloperModeFileName).existsAsFile())
        model.setDeveloperMode (true);
    if (preferencesFolder.getChildFile (DebugModeModel::DebugModeFileName).existsAsFile())
        model.setDebugMode (true);
}
} // namespace x38200_application
