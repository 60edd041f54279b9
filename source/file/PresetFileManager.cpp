#include "file/PresetFileManager.h"

#include "application/PreferencesData.h"
#include "data/InformationXml.h"
#include "file/FileReaderWriter.h"
#include "file/LibraryFiles.h"

#include <cstdlib>
#include <unistd.h>

namespace x38200_file
{
const juce::String PresetFileManager::PresetFolderName = "Preset Data";
const juce::String PresetFileManager::PresetFileInformationFileName = "PresetFileInformation.xml";
const juce::String PresetFileManager::RootTag = "TarnOMBI_PresetInformation";
const juce::String PresetFileManager::ItemTag = "Preset";
const juce::String PresetFileManager::DataIDTag = "DataID";
const juce::String PresetFileManager::FileNameTag = "File";

namespace
{
    // A name that stays inside the folder it is looked up in.
    bool isPlainFileName (const juce::String& name)
    {
        return name.isNotEmpty() && name != "." && name != ".." && ! name.containsAnyOf ("/\\") && ! name.containsChar (0);
    }

    juce::String childText (const juce::XmlElement& item, const juce::String& tag)
    {
        if (auto* child = item.getChildByName (tag))
            return child->getAllSubText();
        return {};
    }

    // Copies a file through a temporary file beside the target.
    bool copyFileSafely (const juce::File& source, const juce::File& target)
    {
        juce::FileInputStream in (source);
        if (! in.openedOk())
            return false;
        return file::replaceFileSafely (target, [&in] (juce::OutputStream& out) {
                   return out.writeFromInputStream (in, -1) == in.getTotalLength();
               })
               == file::SafeWriteOk;
    }
} // namespace

PresetFileManager::PresetFileManager()
{
    loadPresetFileInfomation();
}

PresetFileManager::~PresetFileManager()
{
    savePresetFileInformation();
}

void PresetFileManager::loadPresetFileInfomation()
{
    const auto file = getPresetFileInformationFile();
    if (file.existsAsFile())
        information = x38200_data::parseXmlFile (file);
    if (information == nullptr)
        information = std::make_unique<juce::XmlElement> (RootTag);
}

juce::File PresetFileManager::getPresetFolder() const
{
    const auto folder = x38200_preferences::PreferencesData::instance().getPreferencesFolder().getChildFile (PresetFolderName);
    if (! folder.isDirectory())
        folder.createDirectory();
    return folder;
}

juce::File PresetFileManager::getPresetFileInformationFile() const
{
    return getPresetFolder().getChildFile (PresetFileInformationFileName);
}

int PresetFileManager::getNumPresetFiles() const
{
    return information->getNumChildElements();
}

juce::String PresetFileManager::getPresetFileName (int index) const
{
    if (auto* item = information->getChildElement (index))
        return childText (*item, FileNameTag);
    return {};
}

juce::File PresetFileManager::getPresetFile (int index) const
{
    const auto name = getPresetFileName (index);
    if (! isPlainFileName (name))
        return {};
    return getPresetFolder().getChildFile (name);
}

bool PresetFileManager::hasPreset (const juce::String& dataID) const
{
    for (auto* item : information->getChildIterator())
        if (childText (*item, DataIDTag).equalsIgnoreCase (dataID))
            return true;
    return false;
}

bool PresetFileManager::importPresetFile (const juce::File& file)
{
    x38200_data::PresetData preset;
    if (PresetFileReader (preset).readFromFile (file) != ReadErrorNoError)
        return false;

    const auto dataID = preset.information.dataID;
    if (hasPreset (dataID))
        return replaceFile (file, dataID);

    if (! addFile (file, dataID))
        return false;
    savePresetFileInformation();
    return true;
}

bool PresetFileManager::replaceFile (const juce::File& file, const juce::String& dataID)
{
    for (auto* item : information->getChildIterator())
    {
        if (! childText (*item, DataIDTag).equalsIgnoreCase (dataID))
            continue;

        // The copy keeps the name the index already uses; a damaged index entry gets a
        // fresh safe name instead of a path outside the folder.
        auto name = childText (*item, FileNameTag);
        if (! isPlainFileName (name))
        {
            name = makeFileNameForDataID (dataID);
            if (auto* fileElement = item->getChildByName (FileNameTag))
                item->removeChildElement (fileElement, true);
            item->createNewChildElement (FileNameTag)->addTextElement (name);
            savePresetFileInformation();
        }
        return copyFileSafely (file, getPresetFolder().getChildFile (name));
    }
    return false;
}

juce::String PresetFileManager::makeFileNameForDataID (const juce::String& dataID) const
{
    // Characters that file systems refuse or that would leave the folder become "_".
    juce::String stem;
    for (auto p = dataID.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;
        stem += (c < 0x20 || c == 0x7F || juce::String ("/\\:*?\"<>|").containsChar (c)) ? juce::String ("_")
                                                                                           : juce::String::charToString (c);
    }
    stem = stem.trim();
    while (stem.startsWithChar ('.'))
        stem = stem.substring (1);
    // Names stay well below the usual limit of 255 bytes.
    while (stem.getNumBytesAsUTF8() > 180)
        stem = stem.dropLastCharacters (1);
    if (stem.isEmpty())
        stem = "Preset";

    const auto folder = getPresetFolder();
    auto isTaken = [&] (const juce::String& name) {
        if (folder.getChildFile (name).exists())
            return true;
        for (auto* item : information->getChildIterator())
            if (childText (*item, FileNameTag).equalsIgnoreCase (name))
                return true;
        return false;
    };

    auto name = stem + InternalPresetFileExtension;
    for (int suffix = 2; isTaken (name); ++suffix)
        name = stem + "_" + juce::String (suffix) + InternalPresetFileExtension;
    return name;
}

bool PresetFileManager::addFile (const juce::File& file, const juce::String& dataID)
{
    const auto name = makeFileNameForDataID (dataID);
    if (! copyFileSafely (file, getPresetFolder().getChildFile (name)))
        return false;

    auto* item = information->createNewChildElement (ItemTag);
    item->createNewChildElement (DataIDTag)->addTextElement (dataID);
    item->createNewChildElement (FileNameTag)->addTextElement (name);
    return true;
}

bool PresetFileManager::importPresetFileData (const juce::MemoryBlock& data)
{
    // A file of its own for every import, so that two imports never share one.
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory);
    auto pattern = folder.getChildFile ("TempPresetData-XXXXXX" + PresetFileExtension).getFullPathName().toStdString();
    const auto fd = ::mkstemps (pattern.data(), (int) PresetFileExtension.length());
    if (fd < 0)
        return false;
    const juce::File temporary (juce::String (pattern.c_str()));

    const auto* bytes = static_cast<const char*> (data.getData());
    size_t done = 0;
    while (done < data.getSize())
    {
        const auto n = ::write (fd, bytes + done, data.getSize() - done);
        if (n <= 0)
            break;
        done += (size_t) n;
    }
    const bool written = ::close (fd) == 0 && done == data.getSize();

    const bool result = written && importPresetFile (temporary);
    temporary.deleteFile();
    return result;
}

bool PresetFileManager::savePresetFileInformation()
{
    const auto text = x38200_data::createXmlDocumentText (*information);
    return file::replaceFileSafely (getPresetFileInformationFile(), x38200_data::toUtf8Block (text)) == file::SafeWriteOk;
}
} // namespace x38200_file
