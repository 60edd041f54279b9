#include "file/FileReaderWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file
{
FileExtensionChecker::FileExtensionChecker (const juce::String& extensionToUse)
    : extension (extensionToUse.startsWithChar ('.') ? extensionToUse : "." + extensionToUse)
{
}

bool FileExtensionChecker::hasExtension (const juce::File& file) const
{
    return file.hasFileExtension (extension);
}

juce::File FileExtensionChecker::getFileWithExtension (const juce::File& file) const
{
    return file.getParentDirectory().getChildFile (file.getFileNameWithoutExtension() + extension);
}

//==============================================================================
namespace
{
    // A POSIX file descriptor as a JUCE output stream.
    class DescriptorOutputStream final : public juce::OutputStream
    {
    public:
        explicit DescriptorOutputStream (int fd) : descriptor (fd) {}

        void flush() override {}
        bool setPosition (juce::int64) override { return false; }
        juce::int64 getPosition() override { return position; }

        bool write (const void* data, size_t numBytes) override
        {
            const auto* bytes = static_cast<const char*> (data);
            while (numBytes > 0)
            {
                const auto n = ::write (descriptor, bytes, numBytes);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                {
                    failed = true;
                    return false;
                }
                bytes += n;
                numBytes -= (size_t) n;
                position += n;
            }
            return true;
        }

        bool hasFailed() const noexcept { return failed; }

    private:
        int descriptor;
        juce::int64 position = 0;
        bool failed = false;
    };

    // Opens a new file with a unique name beside the target; -1 when none can be made.
    int createTemporarySibling (const juce::File& target, juce::File& temporary)
    {
        auto& random = juce::Random::getSystemRandom();
        for (int attempt = 0; attempt < 100; ++attempt)
        {
            temporary = target.getParentDirectory().getChildFile (
                "." + target.getFileName() + ".tmp-" + juce::String::toHexString (random.nextInt64()).paddedLeft ('0', 16));
            const auto fd = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0)
                return fd;
            if (errno != EEXIST)
                return -1;
        }
        return -1;
    }
} // namespace

int replaceFileSafely (const juce::File& requestedTarget, const std::function<bool (juce::OutputStream&)>& writer)
{
    // Writing through a link replaces the file it points at, not the link.
    const auto target = requestedTarget.isSymbolicLink() ? requestedTarget.getLinkedTarget() : requestedTarget;
    if (target.isDirectory())
        return SafeWriteCannotReplace;

    juce::File temporary;
    const auto fd = createTemporarySibling (target, temporary);
    if (fd < 0)
        return SafeWriteCannotOpen;

    bool ok;
    {
        DescriptorOutputStream stream (fd);
        ok = writer (stream) && ! stream.hasFailed();
    }
    if (ok)
    {
        struct stat existing;
        if (::stat (target.getFullPathName().toRawUTF8(), &existing) == 0)
            ::fchmod (fd, existing.st_mode & 07777);
        ok = ::fsync (fd) == 0;
    }
    ok = (::close (fd) == 0) && ok;

    if (! ok)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return SafeWriteFailed;
    }

    if (::rename (temporary.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return target.exists() ? SafeWriteCannotReplace : SafeWriteFailed;
    }
    return SafeWriteOk;
}

int replaceFileSafely (const juce::File& target, const juce::MemoryBlock& data)
{
    return replaceFileSafely (target, [&data] (juce::OutputStream& out) { return out.write (data.getData(), data.getSize()); });
}
} // namespace file
