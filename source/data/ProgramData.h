#pragma once

#include "data/RawRecords.h"
#include "data/SerializedData.h"

#include <juce_core/juce_core.h>

#include <array>
#include <string>
#include <vector>

namespace data
{
class Data
{
public:
    virtual ~Data() = default;
};

class SerializableData
{
public:
    virtual ~SerializableData() = default;
    virtual SerializedData getSerializedData() const = 0;
    virtual bool setFromSerializedData (const SerializedData&) = 0;
};
} // namespace data

namespace x38200_data
{
// The content of every fresh or initialized program ("INITPROG" and four spaces).
extern const ::ProgramData InitProgramData;

// Texts that travel with a program in files; never sent to the instrument.
class ProgramInformation
{
public:
    ProgramInformation() = default;
    ProgramInformation (const ProgramInformation&) = default;
    ProgramInformation& operator= (const ProgramInformation&) = default;
    virtual ~ProgramInformation() = default;

    void initialize();
    void assign (const ProgramInformation& other) { *this = other; }
    bool operator== (const ProgramInformation& other) const;

    juce::String programmer;
    juce::String comment;
    juce::String playListID;
    juce::String searchWord;
    juce::String youTubeLink;
};

// One synthesizer program: the 320 bytes the instrument stores, its texts and the
// MD5 digest of the bytes.
class ProgramData : public data::Data, public data::SerializableData
{
public:
    static constexpr int NameLength = 12;
    static constexpr int RawDataSize = ::ProgramData::Size;
    static const std::string HeaderID;
    static const std::string DataHeaderID;
    static const std::string InformationHeaderID;

    ProgramData();
    ProgramData (const ProgramData&) = default;
    ProgramData& operator= (const ProgramData&) = default;
    ~ProgramData() override = default;

    void assign (const ProgramData& other) { *this = other; }

    void initialize();
    void initializeWithoutName();
    juce::String getProgramName() const;

    void copyFromRawData (const unsigned char* bytes, int length);
    void copyFromRawData (const juce::MemoryBlock& block);
    void copyFromNativeData (const ::ProgramData& raw);
    void updateMD5();

    data::SerializedData getSerializedData() const override;
    bool setFromSerializedData (const data::SerializedData&) override;

    // The raw bytes and texts are equal (the digest follows the bytes).
    bool operator== (const ProgramData& other) const;
    bool operator!= (const ProgramData& other) const { return ! (*this == other); }

    ::ProgramData rawData;
    ProgramInformation information;
    juce::String md5;
};

// The favorite table: 6 banks of 8 program numbers. Bank 0 holds the category jump
// slots, banks 1 to 5 the favorite banks of the instrument.
class FavoriteData : public data::Data, public data::SerializableData
{
public:
    static constexpr int NumBanks = 6;
    static constexpr int NumSlots = 8;
    static const std::string HeaderID;
    static const std::string DataHeaderID;
    static const int initialFavoriteData[NumBanks][NumSlots];

    FavoriteData();
    FavoriteData (const FavoriteData&) = default;
    FavoriteData& operator= (const FavoriteData&) = default;
    ~FavoriteData() override = default;

    void assign (const FavoriteData& other) { *this = other; }
    void initialize();

    void setFavoriteData (int bank, int slot, int programNumber);
    int getFavoriteData (int bank, int slot) const;

    data::SerializedData getSerializedData() const override;
    bool setFromSerializedData (const data::SerializedData&) override;

    bool operator== (const FavoriteData& other) const { return table == other.table; }
    bool operator!= (const FavoriteData& other) const { return ! (*this == other); }

private:
    static bool isValidSlot (int bank, int slot) noexcept
    {
        return bank >= 0 && bank < NumBanks && slot >= 0 && slot < NumSlots;
    }

    std::array<std::array<juce::int32, NumSlots>, NumBanks> table {};
};

// 300 programs and the favorite table, as the instrument holds them.
class LibraryData : public data::Data, public data::SerializableData
{
public:
    static constexpr int NumPrograms = 300;
    static const std::string HeaderID;
    static const std::string ProgramHeaderID;
    static const std::string FavoriteHeaderID;

    LibraryData();
    LibraryData (const LibraryData& other);
    LibraryData& operator= (const LibraryData& other);
    ~LibraryData() override = default;

    void assign (const LibraryData& other) { *this = other; }
    void initialize();

    // The program with that number, or, for a number outside 0 to 299, the spare
    // program (and a line on standard output): callers always get a valid object.
    ProgramData& getProgramData (const int& number);
    const ProgramData& getProgramData (const int& number) const;

    data::SerializedData getSerializedData() const override;
    bool setFromSerializedData (const data::SerializedData&) override;

    bool operator== (const LibraryData& other) const;

    std::vector<ProgramData> programs;
    FavoriteData favoriteData;

private:
    ProgramData spareProgram;
};

class PresetInformation
{
public:
    PresetInformation() = default;
    PresetInformation (const PresetInformation&) = default;
    PresetInformation& operator= (const PresetInformation&) = default;
    virtual ~PresetInformation() = default;

    void initialize();
    void assign (const PresetInformation& other) { *this = other; }
    bool operator== (const PresetInformation& other) const;

    juce::String dataID;
    juce::String name;
    juce::String author;
    juce::String copyright;
    juce::String updateDate;
    juce::String prefix;
    juce::int32 version = 0;
};

// A read-only library shipped as a preset: 300 programs and a description, no favorites.
class PresetData : public data::Data
{
public:
    static constexpr int NumPrograms = 300;

    PresetData();
    PresetData (const PresetData& other);
    PresetData& operator= (const PresetData& other);
    ~PresetData() override = default;

    void assign (const PresetData& other) { *this = other; }
    void initialize();

    ProgramData& getProgramData (const int& number);
    const ProgramData& getProgramData (const int& number) const;

    std::vector<ProgramData> programs;
    PresetInformation information;

private:
    ProgramData spareProgram;
};

// The presets currently loaded, in the order in which they were added.
class PresetLibrary : public data::Data
{
public:
    PresetLibrary() = default;
    PresetLibrary (const PresetLibrary&) = default;
    PresetLibrary& operator= (const PresetLibrary&) = default;
    ~PresetLibrary() override = default;

    int getNumPresetData() const { return (int) presets.size(); }
    PresetData& getPresetData (const int& index);
    const PresetData& getPresetData (const int& index) const;
    void add (const PresetData& preset);
    void remove (const int& index);
    void clear();

private:
    std::vector<PresetData> presets;
    PresetData sparePreset;
};
} // namespace x38200_data
