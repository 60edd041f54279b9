#include "application/CPXRResource.h"

#include "application/CurrentLanguageModel.h"

#if TARNOMBI_HAS_RESOURCES
    #include "TarnOMBIResources.h"
#endif

namespace
{
const char* const stringTableName = "LocalizableStrings";
const char* const stringTableType = "xml";

// The file names tried for a resource, the current language's variant first.
juce::StringArray getCandidateFileNames (const juce::String& name, const juce::String& type)
{
    const auto language = x38200_application::CurrentLanguageModel::instance().getLanguageCode();
    return { name + "_" + language + "." + type, name + "." + type };
}
} // namespace

CPXRResource::CPXRResource() : CPXRResource (stringTableName)
{
}

CPXRResource::CPXRResource (const juce::String& nameOfTable) : tableName (nameOfTable)
{
    reload();
}

CPXRResource::~CPXRResource() = default;

void CPXRResource::reload()
{
    strings = LoadXml (tableName, stringTableType);
}

const char* CPXRResource::findEmbeddedFile (const juce::String& fileName, int& sizeInBytes)
{
    sizeInBytes = 0;
#if TARNOMBI_HAS_RESOURCES
    for (int i = 0; i < TarnOMBIResources::namedResourceListSize; ++i)
    {
        const auto* resourceName = TarnOMBIResources::namedResourceList[i];
        if (fileName == juce::String::fromUTF8 (TarnOMBIResources::getNamedResourceOriginalFilename (resourceName)))
            return TarnOMBIResources::getNamedResource (resourceName, sizeInBytes);
    }
#else
    juce::ignoreUnused (fileName);
#endif
    return nullptr;
}

int CPXRResource::Load (const juce::String& name, const juce::String& type, void* destination, int maximumLength, int* sizeOut)
{
    for (const auto& fileName : getCandidateFileNames (name, type))
    {
        int size = 0;
        if (const auto* data = findEmbeddedFile (fileName, size))
        {
            if (sizeOut != nullptr)
                *sizeOut = size;
            const auto count = destination != nullptr ? juce::jlimit (0, size, maximumLength) : 0;
            if (count > 0)
                std::memcpy (destination, data, (size_t) count);
            return count;
        }
    }

    if (sizeOut != nullptr)
        *sizeOut = -1;
    return 0;
}

std::unique_ptr<juce::XmlElement> CPXRResource::LoadXml (const juce::String& name, const juce::String& type)
{
    int size = -1;
    Load (name, type, nullptr, 0, &size);
    if (size <= 0)
        return nullptr;

    if (bufferSize < (size_t) size)
    {
        buffer.realloc ((size_t) size);
        bufferSize = (size_t) size;
    }

    const auto read = Load (name, type, buffer.get(), size, nullptr);
    if (read != size)
        return nullptr;

    const auto text = juce::String::fromUTF8 (buffer.get(), read);
    return juce::parseXML (text);
}

juce::String CPXRResource::GetLocalizedString (const juce::String& key) const
{
    if (strings == nullptr)
        return {};

    if (const auto* element = strings->getChildByName (key))
        return element->getStringAttribute ("Text");

    return {};
}

juce::String getLocalizedString (const juce::String& key)
{
    return CPXRResource::instance().GetLocalizedString (key);
}
