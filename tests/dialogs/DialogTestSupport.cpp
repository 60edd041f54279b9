#include "DialogTestSupport.h"

#include "support/Process.h"

#include <cstdlib>
#include <dlfcn.h>

namespace tarnombi::test
{
namespace
{
    // The framework names window protocols it expects a window manager to have announced; on a
    // bare X server (Xvfb without a window manager) they do not exist yet and the first window
    // fails with BadAtom. Announcing them, as any window manager does, is enough.
    void announceWindowManagerAtoms()
    {
        const auto* displayName = std::getenv ("DISPLAY");
        if (displayName == nullptr || *displayName == 0)
            return;

        auto* x11 = ::dlopen ("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (x11 == nullptr)
            return;

        using OpenDisplay = void* (*) (const char*);
        using InternAtom = unsigned long (*) (void*, const char*, int);
        auto openDisplay = reinterpret_cast<OpenDisplay> (::dlsym (x11, "XOpenDisplay"));
        auto internAtom = reinterpret_cast<InternAtom> (::dlsym (x11, "XInternAtom"));

        // The connection stays open for the whole run: a bare server forgets its atoms when its
        // last client leaves.
        if (openDisplay != nullptr && internAtom != nullptr)
            if (auto* display = openDisplay (nullptr))
                for (const auto* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE" })
                    internAtom (display, name, 0);
    }

    // Before main(): the framework reads the atoms once, when it first connects to the display.
    const bool atomsAnnounced = (announceWindowManagerAtoms(), true);
} // namespace

bool hasDisplay()
{
    const auto* display = std::getenv ("DISPLAY");
    return display != nullptr && *display != 0 && atomsAnnounced;
}

juce::DialogWindow* findShowingDialogWindow()
{
    return dynamic_cast<juce::DialogWindow*> (juce::Component::getCurrentlyModalComponent());
}

ModalDialogDriver::ModalDialogDriver (std::function<void (juce::DialogWindow&)> actionToRun, int timeoutMs)
    : action (std::move (actionToRun)), deadline (juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs)
{
    startTimer (20);
}

ModalDialogDriver::~ModalDialogDriver()
{
    stopTimer();
}

void ModalDialogDriver::timerCallback()
{
    if (auto* window = findShowingDialogWindow(); window != nullptr && window->isShowing())
    {
        stopTimer();
        hasRun = true;
        action (*window);
        return;
    }

    if (juce::Time::getMillisecondCounter() > deadline)
    {
        stopTimer();
        hasTimedOut = true;
        if (auto* window = findShowingDialogWindow())
            window->exitModalState (-1);
    }
}

juce::File saveScreenshot (juce::Component& component, const juce::String& name)
{
    const auto image = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
    auto file = getTestOutputFolder().getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;
    if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
        return {};
    return file;
}

void pressEscape (juce::DialogWindow& window)
{
    if (auto* peer = window.getPeer())
        peer->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
}

void clickAt (juce::Component& component, juce::Point<int> position)
{
    auto* peerComponent = component.getTopLevelComponent();
    auto* peer = peerComponent->getPeer();
    if (peer == nullptr)
        return;

    const auto point = peerComponent->getLocalPoint (&component, position).toFloat();
    const auto now = juce::Time::currentTimeMillis();
    const auto source = juce::MouseInputSource::InputSourceType::mouse;
    peer->handleMouseEvent (source, point, juce::ModifierKeys(), juce::MouseInputSource::defaultPressure,
                            juce::MouseInputSource::defaultOrientation, now);
    peer->handleMouseEvent (source, point, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier),
                            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, now + 1);
    peer->handleMouseEvent (source, point, juce::ModifierKeys(), juce::MouseInputSource::defaultPressure,
                            juce::MouseInputSource::defaultOrientation, now + 2);
}
} // namespace tarnombi::test
