#include "WizardTestSupport.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace
{
constexpr int keyDownEvent = KeyPress, keyUpEvent = KeyRelease;
} // namespace

#undef KeyPress
#undef KeyRelease

using namespace WizardTest;

/** The display's own key events, so that JUCE also knows which keys are down. */
class ErrorBoxTest : public WizardFixture
{
protected:
    void TearDown() override
    {
        WizardFixture::TearDown();
        XCloseDisplay (display);
    }

    /** Sends Return going down (again, as the display repeats a held key) or up to the window, and lets it be handled.
     */
    void sendReturn (juce::Component& to, bool down)
    {
        XKeyEvent event {};
        event.type = down ? keyDownEvent : keyUpEvent;
        event.window = (Window) (juce::pointer_sized_uint) to.getPeer()->getNativeHandle();
        event.root = DefaultRootWindow (display);
        // JUCE takes a release and a press at the same time for a repeat.
        event.time = ++time;
        event.keycode = XKeysymToKeycode (display, XK_Return);
        event.same_screen = True;
        XSendEvent (display, event.window, False, down ? KeyPressMask : KeyReleaseMask, (XEvent*) &event);
        XFlush (display);
        pump (100);
    }

    Display* display = XOpenDisplay (nullptr);
    Time time = 1;
};

TEST_F (ErrorBoxTest, AReturnHeldAsTheDeviceNotFoundBoxOpensPressesOkOnlyOnceReleasedAndPressedAgain)
{
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
