#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The wizard window's keys, heard by the window after the focused control
    has had its say. Keys do only what the mouse can do on the same page:

    - Tab and Shift+Tab move the keyboard between the buttons shown now
      (Previous, Next), round and round; with no button shown they do nothing.
    - Space presses the focused button (Return it presses by itself); Return
      presses Next when no button has the keyboard and Next is shown.
    - Shift+F10 and the Menu key open the picture's menu, as a right click
      does, its items chosen with the arrow keys and Return.

    Escape is left alone: it does not close the window.
*/
class WizardKeyboard : public juce::KeyListener
{
public:
    /** The key code of the Menu (application) key where the platform has one, otherwise 0. */
    static const int menuKeyCode;

    /**
        Serves the window's keys with its two buttons, in Tab order, and the
        component over which the menu opens. All three must outlive this object.
    */
    WizardKeyboard (juce::Button& previousButton, juce::Button& nextButton, juce::Component& picture);

    /** Tab, Shift+Tab, Space, Return and Shift+F10, as above; true when the key was used. */
    bool keyPressed (const juce::KeyPress& key, juce::Component* originatingComponent) override;

    /** Opens the menu when the Menu key went down (JUCE reports that key only as a change of state). */
    bool keyStateChanged (bool isKeyDown, juce::Component* originatingComponent) override;

    /** Opens the picture's menu at the picture's top-left corner; the choice is carried out once the menu closes. */
    void openMenu();

private:
    juce::Array<juce::Button*> buttonsShown() const;
    juce::Button* focusedButton() const;
    void moveFocus (bool forwards);

    juce::Button& previous;
    juce::Button& next;
    juce::Component& menuOwner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardKeyboard)
};
