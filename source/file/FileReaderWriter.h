#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace file
{
// Moves one object from a file; returns a read result code (0 for success).
class FileReader
{
public:
    virtual ~FileReader() = default;
    virtual int readFromFile (const juce::File& file) = 0;
};

// Moves one object to a file; returns a write result code (0 for success).
class FileWriter
{
public:
    virtual ~FileWriter() = default;
    virtual int writeToFile (const juce::File& file) = 0;
};

// Checks and forces one file extension (stored with its leading dot).
class FileExtensionChecker
{
public:
    explicit FileExtensionChecker (const juce::String& extension);
    virtual ~FileExtensionChecker() = default;

    // Compared ignoring case.
    bool hasExtension (const juce::File& file) const;
    // The file in the same folder with its extension replaced by (or extended with) ours.
    juce::File getFileWithExtension (const juce::File& file) const;

    const juce::String& getExtension() const noexcept { return extension; }

private:
    juce::String extension;
};

// Write result codes of replaceFileSafely.
enum SafeWriteResult
{
    SafeWriteOk = 0,
    SafeWriteCannotReplace = 1, // the existing file could not be replaced
    SafeWriteCannotOpen = 2,    // no file could be created beside the target
    SafeWriteFailed = 3         // writing the data failed
};

// Writes a file without ever destroying the previous one: the data goes to a fresh
// file in the target's folder, which is renamed over the target only after a complete
// write. On any failure the target is left exactly as it was and the temporary file
// is removed. The writer function gets the temporary file's stream.
int replaceFileSafely (const juce::File& target, const std::function<bool (juce::OutputStream&)>& writer);
int replaceFileSafely (const juce::File& target, const juce::MemoryBlock& data);
} // namespace file
