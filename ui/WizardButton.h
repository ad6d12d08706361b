#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A button of the wizard: a text button that leaves every key to the window,
    so that Return and Space reach the wizard's own keys (WizardKeyboard),
    which press a button once per key press, however long the key is held.
*/
class WizardButton : public juce::TextButton
{
public:
    /** Creates a button with this component name and tooltip. */
    WizardButton (const juce::String& name, const juce::String& tooltip);

    /** Uses no key, not even Return: the window's keys decide what a key presses. */
    bool keyPressed (const juce::KeyPress& key) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardButton)
};
