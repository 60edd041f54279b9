#include "midi/InstrumentEmulator.h"

#include "midi/MidiDeviceManager.h"

#include <cstring>

namespace x38200_midi
{
namespace
{
    // The family number as the header bytes carry it (two 7-bit bytes, high first).
    int headerFamily (int familyId)
    {
        return (((familyId >> 8) & 0x7F) << 8) | (familyId & 0x7F);
    }

    constexpr int FavoriteOffset = 128;
} // namespace

InstrumentEmulator::InstrumentEmulator (const Options& optionsToUse)
    : options (optionsToUse),
      generator (optionsToUse.channel & 0x0F, optionsToUse.familyId, -1),
      analyzer (headerFamily (optionsToUse.familyId)),
      programs ((size_t) x38200_data::LibraryData::NumPrograms, x38200_data::InitProgramData),
      currentProgram (x38200_data::InitProgramData)
{
    std::memset (globalData.bytes, 0, sizeof (globalData.bytes));
    writeFavorites (x38200_data::FavoriteData(), globalData.bytes);
}

void InstrumentEmulator::writeFavorites (const x38200_data::FavoriteData& favorites, unsigned char* global)
{
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
    {
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
        {
            const auto value = (std::uint16_t) (std::int16_t) favorites.getFavoriteData (bank, slot);
            global[FavoriteOffset + 16 * bank + 2 * slot] = (unsigned char) (value & 0xFF);
            global[FavoriteOffset + 16 * bank + 2 * slot + 1] = (unsigned char) (value >> 8);
        }
    }
}

x38200_data::FavoriteData InstrumentEmulator::readFavorites (const unsigned char* global)
{
    x38200_data::FavoriteData favorites;
    for (int bank = 0; bank < x38200_data::FavoriteData::NumBanks; ++bank)
    {
        for (int slot = 0; slot < x38200_data::FavoriteData::NumSlots; ++slot)
        {
            const int offset = FavoriteOffset + 16 * bank + 2 * slot;
            const auto value = (std::int16_t) (std::uint16_t) (global[offset] | (global[offset + 1] << 8));
            favorites.setFavoriteData (bank, slot, value);
        }
    }
    return favorites;
}

void InstrumentEmulator::setLibrary (const x38200_data::LibraryData& library)
{
    std::lock_guard<std::mutex> guard (mutex);
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
        programs[(size_t) i] = library.getProgramData (i).rawData;
    writeFavorites (library.favoriteData, globalData.bytes);
}

x38200_data::LibraryData InstrumentEmulator::getLibrary() const
{
    std::lock_guard<std::mutex> guard (mutex);
    x38200_data::LibraryData library;
    for (int i = 0; i < x38200_data::LibraryData::NumPrograms; ++i)
        library.getProgramData (i).copyFromNativeData (programs[(size_t) i]);
    library.favoriteData = readFavorites (globalData.bytes);
    return library;
}

::ProgramData InstrumentEmulator::getProgram (int programNumber) const
{
    std::lock_guard<std::mutex> guard (mutex);
    if (programNumber < 0 || programNumber >= (int) programs.size())
        return x38200_data::InitProgramData;
    return programs[(size_t) programNumber];
}

::ProgramData InstrumentEmulator::getCurrentProgram() const
{
    std::lock_guard<std::mutex> guard (mutex);
    return currentProgram;
}

juce::MemoryBlock InstrumentEmulator::getGlobalData() const
{
    std::lock_guard<std::mutex> guard (mutex);
    return juce::MemoryBlock (globalData.bytes, sizeof (globalData.bytes));
}

juce::MemoryBlock InstrumentEmulator::identityReply() const
{
    const unsigned char reply[15] = {
        0xF0, 0x7E, (unsigned char) (options.channel & 0x0F), 0x06, 0x02, (unsigned char) midi::MidiDeviceManager::MidiDeviceVendorID,
        (unsigned char) (options.familyId & 0x7F), (unsigned char) ((options.familyId >> 8) & 0x7F),
        0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7
    };
    return juce::MemoryBlock (reply, sizeof (reply));
}

juce::MemoryBlock InstrumentEmulator::searchReply (unsigned char echoId) const
{
    const unsigned char reply[15] = {
        0xF0, (unsigned char) midi::MidiDeviceManager::MidiDeviceVendorID, 0x50, 0x01, (unsigned char) (options.channel & 0x0F), echoId,
        (unsigned char) (options.familyId & 0x7F), (unsigned char) ((options.familyId >> 8) & 0x7F),
        0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF7
    };
    return juce::MemoryBlock (reply, sizeof (reply));
}

juce::MemoryBlock InstrumentEmulator::dump (juce::MemoryBlock message) const
{
    if (! options.truncateDumps || message.getSize() <= (size_t) TruncatedBytes + 8)
        return message;
    // Too short a dump: the payload loses its last bytes, the message still ends with 0xF7.
    const auto size = message.getSize() - (size_t) TruncatedBytes;
    message.setSize (size);
    static_cast<unsigned char*> (message.getData())[size - 1] = 0xF7;
    return message;
}

std::vector<juce::MemoryBlock> InstrumentEmulator::handleMessage (const unsigned char* bytes, int length)
{
    if (options.silent || bytes == nullptr || length < 2 || bytes[0] != 0xF0)
        return {};

    // Universal identity request, to everyone or to this channel.
    if (length == 6 && bytes[1] == 0x7E && bytes[3] == 0x06 && bytes[4] == 0x01
        && (bytes[2] == 0x7F || (bytes[2] & 0x0F) == (options.channel & 0x0F)))
        return { identityReply() };

    // Search device request of the librarian's port scan.
    if (length == 6 && bytes[1] == midi::MidiDeviceManager::MidiDeviceVendorID && bytes[2] == 0x50 && bytes[3] == 0x00)
        return { searchReply ((unsigned char) (bytes[4] & 0x7F)) };

    if (bytes[1] == midi::MidiDeviceManager::MidiDeviceVendorID && length >= 8 && (bytes[2] & 0x0F) == (options.channel & 0x0F))
        return handleInstrumentMessage (bytes, length);
    return {};
}

std::vector<juce::MemoryBlock> InstrumentEmulator::handleInstrumentMessage (const unsigned char* bytes, int length)
{
    const auto info = analyzer.analyze (bytes, length);
    const auto nak = generator.createReply (function::DumpNak);
    const auto ack = generator.createReply (function::DumpAck);

    std::lock_guard<std::mutex> guard (mutex);
    switch (info.type)
    {
        case ProgramDataDumpRequest:
            if (options.refuseRequests || info.value < 0 || info.value >= (int) programs.size())
                return { nak };
            return { dump (generator.createProgramDataDump (info.value, programs[(size_t) info.value])) };
        case CurrentProgramDataDumpRequest:
            if (options.refuseRequests)
                return { nak };
            return { dump (generator.createCurrentProgramDataDump (currentProgram)) };
        case GlobalDataDumpRequest:
            if (options.refuseRequests)
                return { nak };
            return { dump (generator.createGlobalDataDump (juce::MemoryBlock (globalData.bytes, sizeof (globalData.bytes)))) };
        case ProgramDataDump:
            if (options.writeProtect || info.value < 0 || info.value >= (int) programs.size())
                return { nak };
            std::memcpy (programs[(size_t) info.value].bytes, info.data.getData(), ::ProgramData::Size);
            return { ack };
        case CurrentProgramDataDump:
            if (options.writeProtect)
                return { nak };
            std::memcpy (currentProgram.bytes, info.data.getData(), ::ProgramData::Size);
            return { ack };
        case GlobalDataDump:
            if (options.writeProtect)
                return { nak };
            std::memcpy (globalData.bytes, info.data.getData(), ::GlobalData::Size);
            return { ack };
        case Broken:
            return { nak };
        case Invalid:
        case DeviceInquiryReply:
        case Reply26:
        case DumpAck:
        case DumpNak:
        case Reply21:
        case Reply22:
            break;
    }
    return {};
}
} // namespace x38200_midi
