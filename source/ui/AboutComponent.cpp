#include "ui/AboutComponent.h"

#include "application/CPXRResource.h"
#include "ui/ModalDialogState.h"

namespace
{
void setupLabel (juce::Label& label, const juce::String& text, juce::Justification justification)
{
    label.setName ("new label");
    label.setText (text, juce::dontSendNotification);
    label.setFont (juce::Font (15.0f, juce::Font::plain));
    label.setJustificationType (justification);
    label.setEditable (false, false, false);
    label.setColour (juce::Label::textColourId, juce::Colours::black);
    label.setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label.setColour (juce::TextEditor::textColourId, juce::Colours::black);
    label.setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    // A click on the labels closes the box like a click on the picture.
    label.setInterceptsMouseClicks (false, false);
}
} // namespace

AboutComponent::AboutComponent()
{
    int size = 0;
    if (const auto* data = CPXRResource::findEmbeddedFile ("about.png", size))
        picture = juce::ImageCache::getFromMemory (data, size);

    setupLabel (versionLabel, getVersionText(), juce::Justification::centredRight);
    versionLabel.setBounds (344, 368, 246, 24);
    addAndMakeVisible (versionLabel);

    setupLabel (copyrightLabel, getCopyrightText(), juce::Justification::centredLeft);
    copyrightLabel.setBounds (16, 368, 280, 24);
    addAndMakeVisible (copyrightLabel);

    setSize (width, height);
}

AboutComponent::~AboutComponent() = default;

juce::String AboutComponent::getVersionText()
{
    auto version = juce::String (JUCE_APPLICATION_VERSION_STRING);
    if (auto* application = juce::JUCEApplicationBase::getInstance())
        version = application->getApplicationVersion();
    return "version: " + version;
}

juce::String AboutComponent::getCopyrightText()
{
    return juce::String::fromUTF8 ("\xc2\xa9 2026 The TarnOMBI Librarian authors");
}

void AboutComponent::showAboutBox()
{
    ui::ScopedModalDialogStateLock lock;
    if (lock.wasAlreadyLocked())
        return;

    AboutComponent component;
    juce::DialogWindow::showModalDialog (getLocalizedString ("AboutDialogTitle"), &component, nullptr, juce::Colours::white, true, false, false);
}

void AboutComponent::closeDialog (int result)
{
    if (auto* window = findParentComponentOfClass<juce::DialogWindow>())
        window->exitModalState (result);
}

void AboutComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    if (picture.isValid())
        g.drawImage (picture, getLocalBounds().toFloat());
}

void AboutComponent::mouseDown (const juce::MouseEvent&)
{
    closeDialog (0);
}
