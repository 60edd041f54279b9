#pragma once

#include "application/Singleton.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <memory>

namespace x38200_file
{
// Owns the preset folder ("Preset Data" in the preferences folder) and its index: it
// copies preset files into the folder, adding a new preset or replacing the one with
// the same data ID, and says which preset files exist, in the order of first import.
class PresetFileManager : public Singleton<PresetFileManager>, public juce::DeletedAtShutdown
{
public:
    static const juce::String PresetFolderName;
    static const juce::String PresetFileInformationFileName;
    static const juce::String RootTag;
    static const juce::String ItemTag;
    static const juce::String DataIDTag;
    static const juce::String FileNameTag;

    PresetFileManager();
    ~PresetFileManager() override;

    int getNumPresetFiles() const;
    // Empty for an invalid index.
    juce::String getPresetFileName (int index) const;
    // The non-existent file for an invalid index or a name that is not a plain file name.
    juce::File getPresetFile (int index) const;
    juce::File getPresetFolder() const;
    juce::File getPresetFileInformationFile() const;

    bool importPresetFile (const juce::File& file);
    bool importPresetFileData (const juce::MemoryBlock& data);
    bool hasPreset (const juce::String& dataID) const;
    bool savePresetFileInformation();

    // The file name under which a preset with this data ID is added: the data ID and
    // ".itopreset", with characters that do not belong in a file name replaced and a
    // number added when the name is taken.
    juce::String makeFileNameForDataID (const juce::String& dataID) const;

private:
    void loadPresetFileInfomation();
    bool replaceFile (const juce::File& file, const juce::String& dataID);
    bool addFile (const juce::File& file, const juce::String& dataID);

    std::unique_ptr<juce::XmlElement> information;

    JUCE_DECLARE_NON_COPYABLE (PresetFileManager)
};
} // namespace x38200_file
