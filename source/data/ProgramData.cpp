#include "data/ProgramData.h"

#include "data/DataSerializers.h"

#include <juce_cryptography/juce_cryptography.h>

#include <cstdio>

namespace x38200_data
{
// clang-format off
const ::ProgramData InitProgramData { {
    0x49, 0x4E, 0x49, 0x54, 0x50, 0x52, 0x4F, 0x47, 0x20, 0x20, 0x20, 0x20, 0x00, 0x00, 0x00, 0x3C,
    0x02, 0x00, 0x0A, 0x40, 0x00, 0x00, 0x00, 0x0F, 0x02, 0x00, 0x28, 0x05, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x7F, 0x7F, 0x7F, 0x00, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64,
    0x40, 0x00, 0x00, 0x00, 0x00, 0x40, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x7F, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x02, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x02, 0x46, 0x00, 0x00,
    0x0D, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x03, 0x01, 0x00, 0x00, 0x02, 0x0F, 0x00, 0x00,
    0x03, 0x0F, 0x00, 0x00, 0x03, 0x1D, 0x00, 0x00, 0x03, 0x1E, 0x00, 0x00, 0x02, 0x00, 0x0A, 0x40,
    0x00, 0x00, 0x00, 0x0F, 0x02, 0x00, 0x28, 0x05, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x7F, 0x7F, 0x7F, 0x00, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x64, 0x40, 0x00, 0x00, 0x00,
    0x00, 0x40, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x02, 0x05, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x02, 0x46, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00,
    0x02, 0x01, 0x00, 0x00, 0x03, 0x01, 0x00, 0x00, 0x02, 0x0F, 0x00, 0x00, 0x03, 0x0F, 0x00, 0x00,
    0x03, 0x1D, 0x00, 0x00, 0x03, 0x1E, 0x00, 0x00, 0x05, 0x00, 0x40, 0x01, 0x00, 0x40, 0x40, 0x05,
    0x00, 0x19, 0x24, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x64, 0x00, 0x00, 0x01, 0x02, 0x00, 0x14, 0x02,
    0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x64, 0x78, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02,
    0x32, 0x00, 0x08, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
} };

const int FavoriteData::initialFavoriteData[NumBanks][NumSlots] = {
    { 0, 35, 67, 95, 108, 136, 151, 176 },
    { 10, 40, 74, 98, 111, 144, 155, 182 },
    { 13, 45, 77, 103, 115, 148, 164, 188 },
    { 22, 48, 80, 104, 123, 142, 166, 190 },
    { 27, 52, 89, 107, 133, 146, 169, 195 },
    { 200, 201, 202, 203, 204, 205, 206, 207 },
};
// clang-format on

const std::string ProgramData::HeaderID = "TarnProg";
const std::string ProgramData::DataHeaderID = "TarnPrgD";
const std::string ProgramData::InformationHeaderID = "TarnPrgI";
const std::string FavoriteData::HeaderID = "TarnFavS";
const std::string FavoriteData::DataHeaderID = "TarnFavD";
const std::string LibraryData::HeaderID = "TarnLibD";
const std::string LibraryData::ProgramHeaderID = "TarnLibP";
const std::string LibraryData::FavoriteHeaderID = "TarnLibF";

//==============================================================================
void ProgramInformation::initialize()
{
    *this = ProgramInformation();
}

bool ProgramInformation::operator== (const ProgramInformation& other) const
{
    return programmer == other.programmer && comment == other.comment && playListID == other.playListID
           && searchWord == other.searchWord && youTubeLink == other.youTubeLink;
}

//==============================================================================
ProgramData::ProgramData()
    : rawData (InitProgramData)
{
    updateMD5();
}

void ProgramData::initialize()
{
    rawData = InitProgramData;
    updateMD5();
}

void ProgramData::initializeWithoutName()
{
    rawData = InitProgramData;
    std::memset (rawData.bytes, ' ', NameLength);
    updateMD5();
}

juce::String ProgramData::getProgramName() const
{
    char name[NameLength + 1] = {};
    for (int i = 0; i < NameLength; ++i)
        name[i] = rawData.bytes[i] >= 0x80 ? 0 : (char) rawData.bytes[i];
    return juce::String (juce::CharPointer_ASCII (name));
}

void ProgramData::copyFromRawData (const unsigned char* bytes, int length)
{
    if (bytes == nullptr || length != RawDataSize)
        return;
    std::memcpy (rawData.bytes, bytes, (size_t) RawDataSize);
    updateMD5();
}

void ProgramData::copyFromRawData (const juce::MemoryBlock& block)
{
    std::memset (rawData.bytes, 0, (size_t) RawDataSize);
    std::memcpy (rawData.bytes, block.getData(), std::min (block.getSize(), (size_t) RawDataSize));
    updateMD5();
}

void ProgramData::copyFromNativeData (const ::ProgramData& raw)
{
    rawData = raw;
    updateMD5();
}

void ProgramData::updateMD5()
{
    md5 = juce::MD5 (rawData.bytes, (size_t) RawDataSize).toHexString();
}

data::SerializedData ProgramData::getSerializedData() const
{
    return ProgramDataSerializer (*this).createSerializedData();
}

bool ProgramData::setFromSerializedData (const data::SerializedData& serialized)
{
    const auto result = ProgramDataDeserializer (*this).readFromSerializedData (serialized);
    updateMD5();
    return result == 0;
}

bool ProgramData::operator== (const ProgramData& other) const
{
    return std::memcmp (rawData.bytes, other.rawData.bytes, (size_t) RawDataSize) == 0
           && information == other.information;
}

//==============================================================================
FavoriteData::FavoriteData()
{
    initialize();
}

void FavoriteData::initialize()
{
    for (int bank = 0; bank < NumBanks; ++bank)
        for (int slot = 0; slot < NumSlots; ++slot)
            table[(size_t) bank][(size_t) slot] = initialFavoriteData[bank][slot];
}

// Every caller passes a bank 0 to 5 and a slot 0 to 7; anything else is ignored
// rather than written outside the table.
void FavoriteData::setFavoriteData (int bank, int slot, int programNumber)
{
    if (isValidSlot (bank, slot))
        table[(size_t) bank][(size_t) slot] = programNumber;
}

int FavoriteData::getFavoriteData (int bank, int slot) const
{
    return isValidSlot (bank, slot) ? table[(size_t) bank][(size_t) slot] : 0;
}

data::SerializedData FavoriteData::getSerializedData() const
{
    return FavoriteDataSerializer (*this).createSerializedData();
}

bool FavoriteData::setFromSerializedData (const data::SerializedData& serialized)
{
    return FavoriteDataDeserializer (*this).readFromSerializedData (serialized) == 0;
}

//==============================================================================
LibraryData::LibraryData()
    : programs ((size_t) NumPrograms)
{
}

LibraryData::LibraryData (const LibraryData& other)
    : data::Data(), data::SerializableData(), programs (other.programs), favoriteData (other.favoriteData)
{
}

// The spare program belongs to each library object and is never copied.
LibraryData& LibraryData::operator= (const LibraryData& other)
{
    if (this != &other)
    {
        programs = other.programs;
        favoriteData = other.favoriteData;
    }
    return *this;
}

void LibraryData::initialize()
{
    for (auto& program : programs)
        program.initialize();
    favoriteData.initialize();
}

ProgramData& LibraryData::getProgramData (const int& number)
{
    if (number >= 0 && number < NumPrograms)
        return programs[(size_t) number];
    std::printf ("Program Number Error: %d\n", number);
    std::fflush (stdout);
    return spareProgram;
}

const ProgramData& LibraryData::getProgramData (const int& number) const
{
    return const_cast<LibraryData*> (this)->getProgramData (number);
}

data::SerializedData LibraryData::getSerializedData() const
{
    return LibraryDataSerializer (*this).createSerializedData();
}

bool LibraryData::setFromSerializedData (const data::SerializedData& serialized)
{
    return LibraryDataDeserializer (*this).readFromSerializedData (serialized) == 0;
}

bool LibraryData::operator== (const LibraryData& other) const
{
    return programs == other.programs && favoriteData == other.favoriteData;
}

//==============================================================================
void PresetInformation::initialize()
{
    *this = PresetInformation();
}

bool PresetInformation::operator== (const PresetInformation& other) const
{
    return dataID == other.dataID && name == other.name && author == other.author && copyright == other.copyright
           && updateDate == other.updateDate && prefix == other.prefix && version == other.version;
}

//==============================================================================
PresetData::PresetData()
    : programs ((size_t) NumPrograms)
{
}

PresetData::PresetData (const PresetData& other)
    : data::Data(), programs (other.programs), information (other.information)
{
}

PresetData& PresetData::operator= (const PresetData& other)
{
    if (this != &other)
    {
        programs = other.programs;
        information = other.information;
    }
    return *this;
}

void PresetData::initialize()
{
    for (auto& program : programs)
        program.initialize();
    information.initialize();
}

ProgramData& PresetData::getProgramData (const int& number)
{
    if (number >= 0 && number < NumPrograms)
        return programs[(size_t) number];
    std::printf ("Preset Program Number Error: %d\n", number);
    std::fflush (stdout);
    return spareProgram;
}

const ProgramData& PresetData::getProgramData (const int& number) const
{
    return const_cast<PresetData*> (this)->getProgramData (number);
}

//==============================================================================
PresetData& PresetLibrary::getPresetData (const int& index)
{
    return index >= 0 && index < getNumPresetData() ? presets[(size_t) index] : sparePreset;
}

const PresetData& PresetLibrary::getPresetData (const int& index) const
{
    return index >= 0 && index < getNumPresetData() ? presets[(size_t) index] : sparePreset;
}

void PresetLibrary::add (const PresetData& preset)
{
    presets.push_back (preset);
}

void PresetLibrary::remove (const int& index)
{
    if (index >= 0 && index < getNumPresetData())
        presets.erase (presets.begin() + index);
}

void PresetLibrary::clear()
{
    presets.clear();
}
} // namespace x38200_data
