#include "ui/FontLibrary.h"

#include <iostream>

namespace ui
{
const juce::Font FontLibrary::DefaultFont { 12.0f, juce::Font::plain };

void FontLibrary::reportUnknownName()
{
    std::cout << "not found font..." << std::endl;
}

void FontLibrary::addFont (const juce::String& name, const juce::Font& font)
{
    fonts.emplace (name, font);
}

juce::Font FontLibrary::getFont (const juce::String& name) const
{
    const auto found = fonts.find (name);
    if (found != fonts.end())
        return found->second;

    reportUnknownName();
    return DefaultFont;
}

void FontLibrary::removeFont (const juce::String& name)
{
    fonts.erase (name);
}

void FontLibrary::replaceFont (const juce::String& name, const juce::Font& font)
{
    if (! contains (name))
    {
        reportUnknownName();
        return;
    }
    removeFont (name);
    addFont (name, font);
}

void FontLibrary::changeFontSize (const juce::String& name, int height)
{
    const auto found = fonts.find (name);
    if (found == fonts.end())
    {
        reportUnknownName();
        return;
    }
    found->second.setHeight ((float) height);
}
} // namespace ui
