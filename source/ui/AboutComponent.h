#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The About box: the About picture with the version and the copyright notice. A click
// anywhere closes it.
class AboutComponent : public juce::Component
{
public:
    static constexpr int width = 600;
    static constexpr int height = 400;

    AboutComponent();
    ~AboutComponent() override;

    // Shows the box titled "About" as a modal dialog, unless another modal dialog shows.
    static void showAboutBox();

    // "version: " and the application's version.
    static juce::String getVersionText();
    static juce::String getCopyrightText();

    void closeDialog (int result);

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;

    juce::Label& getVersionLabel() noexcept { return versionLabel; }
    juce::Label& getCopyrightLabel() noexcept { return copyrightLabel; }
    const juce::Image& getPicture() const noexcept { return picture; }

private:
    juce::Label versionLabel, copyrightLabel;
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutComponent)
};
