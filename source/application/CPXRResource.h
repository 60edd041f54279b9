#pragma once

#include "application/Singleton.h"

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>

#include <memory>

// The resource store: the localized string table of the chosen language and the other
// data files built into the program. A resource is asked for by name and type
// ("LocalizableStrings", "xml"); the variant of the current interface language
// ("LocalizableStrings_ja.xml") is preferred over the plain one.
class CPXRResource : public Singleton<CPXRResource>, public juce::DeletedAtShutdown
{
public:
    // Loads the string table "LocalizableStrings" of the current language.
    CPXRResource();
    // Loads the string table of another name (tests use a name that does not exist).
    explicit CPXRResource (const juce::String& tableName);
    ~CPXRResource() override;

    // Copies at most maximumLength bytes of the resource name.type into buffer (which may be
    // null to ask for the size only) and returns the number of bytes copied. sizeOut, when
    // given, receives the resource's full size, or -1 when there is no such resource.
    int Load (const juce::String& name, const juce::String& type, void* buffer, int maximumLength, int* sizeOut = nullptr);

    // The resource name.type parsed as UTF-8 XML; null when it is missing, empty or not XML.
    std::unique_ptr<juce::XmlElement> LoadXml (const juce::String& name, const juce::String& type);

    // The "Text" of the table's element named key; empty when the table, the key or the
    // attribute is missing.
    juce::String GetLocalizedString (const juce::String& key) const;

    bool hasStringTable() const noexcept { return strings != nullptr; }
    bool hasKey (const juce::String& key) const { return strings != nullptr && strings->getChildByName (key) != nullptr; }

    // Reads the string table again, for the language now current.
    void reload();

    // The built-in file of exactly this file name ("about.png"), or null with size 0.
    static const char* findEmbeddedFile (const juce::String& fileName, int& sizeInBytes);

private:
    juce::String tableName;
    std::unique_ptr<juce::XmlElement> strings;
    juce::HeapBlock<char> buffer;
    size_t bufferSize = 0;

    JUCE_DECLARE_NON_COPYABLE (CPXRResource)
};

// The text shown for a key in the chosen language.
juce::String getLocalizedString (const juce::String& key);
