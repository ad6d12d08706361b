#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The updater's error box: a modal alert titled "Error" with the warning icon,
    the message and one "OK" button, made by the look-and-feel exactly as
    JUCE's own message box is, so it looks the same.

    It takes the keyboard when it opens: Return, Space and Escape press OK. A
    screen reader hears it as the dialog "Error" with its message, which is also
    announced as it opens. When it closes, the keyboard goes back to the window
    that had it.
*/
class ErrorBox
{
public:
    /** The box's title, and its accessible title. */
    static const char* const title;

    /** Shows the box with this message and returns once the user has pressed OK. */
    static void show (const juce::String& message);
};
