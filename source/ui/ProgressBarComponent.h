#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui
{
// A slider that only shows a value: the mouse does nothing to it.
class ProgressBarComponent : public juce::Slider
{
public:
    explicit ProgressBarComponent (const juce::String& name) : juce::Slider (name) {}
    ~ProgressBarComponent() override = default;

    void mouseDown (const juce::MouseEvent&) override {}
    void mouseDrag (const juce::MouseEvent&) override {}
    void mouseUp (const juce::MouseEvent&) override {}
    void mouseDoubleClick (const juce::MouseEvent&) override {}
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override {}
};
} // namespace ui
