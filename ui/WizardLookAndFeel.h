#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The look of the wizard's buttons and of its boxes' buttons: JUCE's default
    look, plus a focus ring on the button that has the keyboard.

    The ring is the button's own drawing, inside its bounds: the button is
    drawn a little smaller, and the ring, in the colour of the window's texts,
    runs round its edge, so that it shows over the picture and whole beside a
    neighbouring button, and a screen reader finds nothing more than the
    button. The wizard's buttons take the keyboard only from the keyboard
    (never from a click), so the ring shows only once a key has been used; a
    user who only clicks sees the buttons exactly as JUCE's default look
    draws them.
*/
class WizardLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** How far inside its bounds the button is drawn while it has the keyboard, and how thick the ring is, in pixels.
     */
    static constexpr int ringGap = 3;
    static constexpr float ringThickness = 2.0f;

    /** JUCE's button, or with the keyboard, the smaller button and the ring round it. */
    void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    /** Makes a button of the wizard: this look, and the keyboard taken only by Tab. */
    void adopt (juce::Button& button);

private:
    // The stand-in of a focused button's smaller body, drawn by JUCE's look.
    juce::TextButton body;
};
