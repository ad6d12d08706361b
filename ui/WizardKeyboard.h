#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class BackgroundPicture;

/**
    The wizard window's keys, heard by the window after the focused control
    has had its say. Keys do only what the mouse can do on the same page:

    - Tab and Shift+Tab move the keyboard between the buttons shown now
      (Previous, Next), round and round; with no button shown they do nothing.
    - Return and Space press the focused button; with no button focused,
      Return presses Next.
    - Shift+F10 and the Menu key open the picture's menu, as a right click
      does, its items chosen with the arrow keys and Return.

    A key presses once per press: while it is held, the display's repeats of
    it press nothing, until it has been released or the keyboard has left the
    wizard (to a box, say, which then hears the release). Whether a press still
    counts when it is handled is the window's to decide. Escape is left alone:
    it does not close the window.
*/
class WizardKeyboard : public juce::KeyListener, private juce::FocusChangeListener
{
public:
    /** The key code of the Menu (application) key where the platform has one, otherwise 0. */
    static const int menuKeyCode;

    /**
        Serves the window's keys with its two buttons, in Tab order, and the
        picture whose menu the keys open. All three must outlive this object.
    */
    WizardKeyboard (juce::Button& previousButton, juce::Button& nextButton, BackgroundPicture& picture);

    /** Stops listening to the keyboard's moves. */
    ~WizardKeyboard() override;

    /** Tab, Shift+Tab, Space, Return and Shift+F10, as above; true when the key was used. */
    bool keyPressed (const juce::KeyPress& key, juce::Component* originatingComponent) override;

    /** Opens the menu when the Menu key went down, and notes the release of a held key. */
    bool keyStateChanged (bool isKeyDown, juce::Component* originatingComponent) override;

private:
    void globalFocusChanged (juce::Component* focusedComponent) override;
    bool press (juce::Button* button, int keyCode);
    juce::Array<juce::Button*> buttonsShown() const;
    juce::Button* focusedButton() const;
    void moveFocus (bool forwards);

    juce::Button& previous;
    juce::Button& next;
    BackgroundPicture& menuOwner;
    int heldKeyCode = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardKeyboard)
};
