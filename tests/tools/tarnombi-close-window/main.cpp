// Asks a window to close the way a desktop's close button does: a WM_DELETE_WINDOW
// message. Usage: tarnombi-close-window WINDOW-ID (as xdotool prints it)
//        tarnombi-close-window --prepare
// A bare X server has no window manager to create the protocol atoms, and JUCE only
// looks them up; --prepare creates them before the program under test starts.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
    {
        std::fprintf (stderr, "no display\n");
        return 2;
    }
    const auto protocols = XInternAtom (display, "WM_PROTOCOLS", False);
    const auto deleteWindow = XInternAtom (display, "WM_DELETE_WINDOW", False);
    if (std::string (argv[1]) == "--prepare")
    {
        XSync (display, False);
        XCloseDisplay (display);
        return 0;
    }

    const auto window = (Window) std::strtoul (argv[1], nullptr, 0);
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) deleteWindow;
    event.xclient.data.l[1] = CurrentTime;
    const auto sent = XSendEvent (display, window, False, NoEventMask, &event);
    XSync (display, False);
    XCloseDisplay (display);
    return sent != 0 ? 0 : 1;
}
