#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace tarnombi::test
{
// Builds files of the older editor's block format for tests.
inline juce::MemoryBlock timbrixHeader (const std::string& id, int dataSize, int count)
{
    juce::MemoryOutputStream out;
    char name[9] = {};
    std::memcpy (name, id.data(), std::min<size_t> (9, id.size()));
    out.write (name, 9);
    out.writeShort (32);
    out.writeInt (dataSize);
    out.writeShort (0);
    out.writeShort (0);
    out.writeShort (0);
    out.writeInt (count);
    out.writeInt (0);
    const char filler[3] = { (char) 0xFF, (char) 0xFF, (char) 0xFF };
    out.write (filler, 3);
    return out.getMemoryBlock();
}

inline juce::MemoryBlock timbrixBlock (const std::string& id, const juce::MemoryBlock& data, int count = 0)
{
    auto block = timbrixHeader (id, (int) data.getSize(), count);
    block.append (data.getData(), data.getSize());
    return block;
}

inline void putText (juce::MemoryBlock& block, size_t offset, const char* text)
{
    block.copyFrom (text, (int) offset, std::strlen (text));
}

// One program block: raw bytes filled with a value that depends on the number, texts
// naming it, and extraBytes beyond the fixed fields.
inline juce::MemoryBlock timbrixProgram (int number, int extraBytes = 0)
{
    juce::MemoryBlock data (536 + (size_t) extraBytes, true);
    for (int i = 0; i < 320; ++i)
        data[(size_t) i] = (char) ((number + i) & 0x7F);
    putText (data, 384, ("Prog" + std::to_string (number)).c_str());
    putText (data, 408, ("Comment " + std::to_string (number)).c_str());
    putText (data, 472, "https://example.com/v");
    return timbrixBlock ("38200PrgD", data);
}

inline juce::MemoryBlock timbrixProgramSet (int count = 300, int extraBytesOfProgram7 = 0, int numBlocks = 300)
{
    juce::MemoryBlock programs;
    for (int i = 0; i < numBlocks; ++i)
    {
        const auto block = timbrixProgram (i, i == 7 ? extraBytesOfProgram7 : 0);
        programs.append (block.getData(), block.getSize());
    }
    return timbrixBlock ("38200PrgS", programs, count);
}

inline juce::MemoryBlock timbrixGlobal (int firstFavorite = 100)
{
    juce::MemoryBlock data (224, true);
    for (int slot = 0; slot < 48; ++slot)
    {
        const auto value = firstFavorite + slot;
        data[(size_t) (128 + 2 * slot)] = (char) (value & 0xFF);
        data[(size_t) (129 + 2 * slot)] = (char) ((value >> 8) & 0xFF);
    }
    return timbrixBlock ("38200GlbD", data);
}

inline juce::MemoryBlock timbrixFile (const std::vector<juce::MemoryBlock>& blocks, int count = 3)
{
    juce::MemoryBlock body;
    for (const auto& block : blocks)
        body.append (block.getData(), block.getSize());
    auto file = timbrixHeader ("38200AllD", (int) body.getSize(), count);
    file.append (body.getData(), body.getSize());
    return file;
}
} // namespace tarnombi::test
