#pragma once

#include "data/ProgramData.h"

#include <juce_core/juce_core.h>

#include <memory>

namespace x38200_data
{
// The XML documents that carry a program's texts, the favorite table and a preset's
// description inside containers and files.

class ProgramInformationXmlReaderWriter
{
public:
    static const juce::String RootTag, ProgrammerTag, CommentTag, PlayListIDTag, SearchWordTag, YouTubeLinkTag;

    virtual ~ProgramInformationXmlReaderWriter() = default;
    std::unique_ptr<juce::XmlElement> createXml (const ProgramData& program) const;
    bool readFromXml (ProgramData& program, const juce::XmlElement& element) const;
};

class FavoriteDataXmlReaderWriter
{
public:
    static const juce::String RootTag, BankTag, DataTag;

    virtual ~FavoriteDataXmlReaderWriter() = default;
    std::unique_ptr<juce::XmlElement> createXml (const FavoriteData& favorites) const;
    bool readFromXml (FavoriteData& favorites, const juce::XmlElement& element) const;
};

class PresetInformationXmlReaderWriter
{
public:
    static const juce::String RootTag, DataIDTag, NameTag, AuthorTag, VersionTag, UpdateDateTag, PrefixTag, CopyrightTag;

    virtual ~PresetInformationXmlReaderWriter() = default;
    std::unique_ptr<juce::XmlElement> createXml (const PresetInformation& information) const;
    bool readFromXml (PresetInformation& information, const juce::XmlElement& element) const;
};

// A document as the librarian writes it: declaration, UTF-8, lines wrapped at 60.
juce::String createXmlDocumentText (const juce::XmlElement& element);
// The UTF-8 bytes of a text, without a terminator.
juce::MemoryBlock toUtf8Block (const juce::String& text);
// Parses UTF-8 bytes (a zero byte ends the text); nullptr when they are not a document or
// are nested too deeply to parse safely.
std::unique_ptr<juce::XmlElement> parseXmlBlock (const juce::MemoryBlock& block);
std::unique_ptr<juce::XmlElement> parseXmlFile (const juce::File& file);
bool isXmlNestedTooDeeply (const char* bytes, size_t size);
} // namespace x38200_data
