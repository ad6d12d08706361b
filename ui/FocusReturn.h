#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    Gives the keyboard back, when it goes, to the component that had it when it
    was made: put one around a modal box, so that the window under the box
    takes the keys again once the box has closed.

    The window is brought to the front and made active too, since a display
    without a window manager hands the keyboard to no window when the box's
    window goes.
*/
class FocusReturn
{
public:
    /** Notes the component that has the keyboard now. */
    FocusReturn();

    /** Gives the keyboard back to that component, if it is still shown. */
    ~FocusReturn();

private:
    juce::Component::SafePointer<juce::Component> focused;

    JUCE_DECLARE_NON_COPYABLE (FocusReturn)
};
