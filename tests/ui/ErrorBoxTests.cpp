#include "WizardTestSupport.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace
{
const int keyDownEvent = KeyPress, keyUpEvent = KeyRelease;
} // namespace

#undef KeyPress
#undef KeyRelease

using namespace WizardTest;
using ErrorBoxTest = WizardFixture;

// Sent as the display's own key events, so that JUCE knows which keys are down.
TEST_F (ErrorBoxTest, AReturnHeldAsTheDeviceNotFoundBoxOpensPressesOkOnlyOnceReleasedAndPressedAgain)
{
    const std::unique_ptr<Display, int (*) (Display*)> display (XOpenDisplay (nullptr), XCloseDisplay);
    Time time = 1;
    const auto sendReturn = [&] (juce::Component& to, bool down)
    {
        XKeyEvent event {};
        event.type = down ? keyDownEvent : keyUpEvent;
        event.window = (Window) (juce::pointer_sized_uint) to.getPeer()->getNativeHandle();
        event.root = DefaultRootWindow (display.get());
        event.time = ++time; // JUCE takes a release and a press at the same time for a repeat.
        event.keycode = XKeysymToKeycode (display.get(), XK_Return);
        event.same_screen = True;
        XSendEvent (display.get(), event.window, False, down ? KeyPressMask : KeyReleaseMask, (XEvent*) &event);
        XFlush (display.get());
        pump (100);
    };

    SimulationOptions noDevice;
    noDevice.withDevice = false;
    start (noDevice);
    walkTo (4);

    onAlert = [&] (juce::AlertWindow& box)
    {
        for (int repeat = 0; repeat < 4; ++repeat)
            sendReturn (box, true);

        EXPECT_TRUE (box.isCurrentlyModal()) << "the held key's repeats press nothing";
        sendReturn (box, false);
        EXPECT_TRUE (box.isCurrentlyModal()) << "nor does its release";
        sendReturn (box, true);
        EXPECT_FALSE (box.isCurrentlyModal()) << "a fresh Return presses OK";
        sendReturn (box, false);
    };

    sendReturn (*window, true);
    ASSERT_TRUE (pumpUntil (
        [&] { return ! alerts.empty() && juce::Component::getCurrentlyModalComponent() == nullptr; }, 20000));
    pump (200);
    EXPECT_EQ (alerts.size(), 1u) << "the search did not start again";
    EXPECT_EQ (window->getCurrentPage(), 4);
}
