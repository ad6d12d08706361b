#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The updater's error box: a modal alert titled "Error" with the warning icon,
    the message and one "OK" button, made by the look-and-feel as JUCE's own
    message box is, so it looks the same, but for the focus ring that its OK
    button shows, as the wizard's buttons do.

    It opens centred over the window that it is about and takes the keyboard:
    Return, Space and Escape press OK, but a key held as it opens presses
    nothing until it has been released. A screen reader hears it as the dialog
    "Error" whose description is the message (once), and then its focused OK
    button.
    When it closes, the keyboard goes back to the control that had it.
*/
class ErrorBox
{
public:
    /** The box's title, and its accessible title. */
    static const char* const title;

    /** Shows the box with this message over the component and returns once the user has pressed OK. */
    static void show (const juce::String& message, juce::Component& over);
};
