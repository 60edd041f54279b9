#pragma once

#include "application/Singleton.h"

#include <juce_graphics/juce_graphics.h>

#include <map>

namespace ui
{
// The fonts of the interface, asked for by name ("ProgramListName", "DefaultFont", ...).
// The names are registered once at start-up; the list fonts change size with the
// row height preference.
class FontLibrary : public Singleton<FontLibrary>, public juce::DeletedAtShutdown
{
public:
    // What an unknown name gets: plain, 12 high, the default typeface.
    static const juce::Font DefaultFont;

    FontLibrary() = default;
    ~FontLibrary() override = default;

    // Adds a font; a name that is already there keeps its first font.
    void addFont (const juce::String& name, const juce::Font& font);
    // The font of the name, or DefaultFont (with a line on standard output) when unknown.
    juce::Font getFont (const juce::String& name) const;
    void removeFont (const juce::String& name);
    // Replaces the font of a known name; an unknown name is reported and left out.
    void replaceFont (const juce::String& name, const juce::Font& font);
    // Sets the height of a known name's font; an unknown name is reported.
    void changeFontSize (const juce::String& name, int height);

    bool contains (const juce::String& name) const { return fonts.find (name) != fonts.end(); }
    int size() const noexcept { return (int) fonts.size(); }

private:
    static void reportUnknownName();

    std::map<juce::String, juce::Font> fonts;

    JUCE_DECLARE_NON_COPYABLE (FontLibrary)
};
} // namespace ui
