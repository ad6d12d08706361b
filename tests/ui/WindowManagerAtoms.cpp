#include <X11/Xlib.h>

namespace
{
/*
    JUCE 7 looks the window-manager protocol atoms up without creating them and
    passes the result to the X server when it creates a window. On a bare
    server, such as Xvfb without a window manager, nobody has created them, so
    the first window ends the process with BadAtom. This creates them before
    JUCE connects, and stays connected so that the server does not reset and
    forget them, which lets these tests open real windows on such a server.
*/
class WindowManagerAtoms
{
public:
    WindowManagerAtoms()
        : display (XOpenDisplay (nullptr))
    {
        if (display == nullptr)
            return;

        const char* const names[] = { "WM_PROTOCOLS",        "WM_TAKE_FOCUS",   "WM_DELETE_WINDOW",
                                      "_NET_WM_PING",        "WM_CHANGE_STATE", "WM_STATE",
                                      "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE",   "_NET_WM_STATE_HIDDEN" };

        for (const auto* name : names)
            XInternAtom (display, name, False);

        XSync (display, False);
    }

    ~WindowManagerAtoms()
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

    WindowManagerAtoms (const WindowManagerAtoms&) = delete;
    WindowManagerAtoms& operator= (const WindowManagerAtoms&) = delete;

private:
    Display* display;
};

const WindowManagerAtoms windowManagerAtoms;
} // namespace
