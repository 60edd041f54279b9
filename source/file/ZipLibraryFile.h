#pragma once

#include "data/ProgramData.h"
#include "file/MemoryBasedZip.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

namespace x38200_file
{
// Entry names inside library, program and preset archives.
extern const juce::String FileInformationName;
extern const juce::String FavoriteDataFileName;
extern const juce::String PresetInformationFileName;
extern const juce::String ProgramDataFileHeader;
extern const juce::String ProgramDataExt;
extern const juce::String ProgramInfoExt;

// The index document "FileInformation.xml".
extern const juce::String FileInformationTag;
extern const juce::String ProductTag;
extern const juce::String ProductName;
extern const juce::String ContentsTag;
extern const juce::String NumFavoriteAttribute;
extern const juce::String NumProgramAttribute;
extern const juce::String NumPresetInformationAttribute;
extern const juce::String FavoriteDataTag;
extern const juce::String FavoriteFileTag;
extern const juce::String PresetInformationTag;
extern const juce::String PresetInformationFileTag;
extern const juce::String ProgramDataTag;
extern const juce::String ProgramInfoTag;
extern const juce::String ProgramBinaryTag;

// Collects favorites, programs and preset information and writes them as one archive
// with the index entry last.
class ZipLibraryFileWriter
{
public:
    static constexpr int CompressionLevel = 5;

    ZipLibraryFileWriter() = default;
    virtual ~ZipLibraryFileWriter() = default;

    bool addFavoriteData (const x38200_data::FavoriteData& favorites);
    bool addProgramData (const x38200_data::ProgramData& program);
    bool addPresetInformation (const x38200_data::PresetInformation& information);

    // 0 on success; 1 when an existing file cannot be replaced, 2 when no file can be
    // created in the target's folder, 3 when the archive cannot be assembled or written.
    // The target is replaced only by a complete archive.
    int writeToFile (const juce::File& file);

    // The complete archive, index included; used by writeToFile. Call once.
    bool writeToStream (juce::OutputStream& stream);

private:
    std::unique_ptr<juce::XmlElement> makeFileInformation() const;
    void addDocument (const juce::String& name, const juce::XmlElement& element);

    file::MemoryBasedZipBuilder builder;
    juce::StringArray favoriteItems, programItems, presetInformationItems;
};

// Reads an archive of the librarian: the index, then every favorite table, preset
// information and program it lists.
class ZipLibraryFileReader
{
public:
    explicit ZipLibraryFileReader (const juce::File& file);
    virtual ~ZipLibraryFileReader() = default;

    int readFromFile();

    int getNumFavoriteData() const { return (int) favoriteItems.size(); }
    int getNumProgramData() const { return (int) programItems.size(); }
    int getNumPresetInformation() const { return (int) presetInformationItems.size(); }

    const x38200_data::FavoriteData& getFavoriteData (const int& index) const;
    const x38200_data::ProgramData& getProgramData (const int& index) const;
    const x38200_data::PresetInformation& getPresetInformation (const int& index) const;

private:
    struct FavoriteItem
    {
        juce::String name;
        x38200_data::FavoriteData data;
    };
    struct ProgramItem
    {
        juce::String informationName;
        juce::String binaryName;
        x38200_data::ProgramData data;
    };
    struct PresetInformationItem
    {
        juce::String name;
        x38200_data::PresetInformation data;
    };

    std::unique_ptr<juce::XmlElement> parseEntry (const juce::String& name) const;

    file::MemoryBasedZipUncompressor uncompressor;
    std::vector<FavoriteItem> favoriteItems;
    std::vector<ProgramItem> programItems;
    std::vector<PresetInformationItem> presetInformationItems;
};
} // namespace x38200_file
