#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    The look of the wizard's buttons: JUCE's default look, plus a focus ring
    around the button that has the keyboard, drawn in the colour of the
    window's texts just outside the button so that it shows over the picture.

    The buttons take the keyboard only from the keyboard (never from a click),
    so the ring shows only once the keyboard has been used; a user who only
    clicks sees the buttons exactly as JUCE's default look draws them.
*/
class WizardLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** How far the ring lies outside the button, and how thick it is, in pixels. */
    static constexpr int ringGap = 3;
    static constexpr float ringThickness = 2.0f;

    /** The ring drawn around a component that has the keyboard and asks for a focus outline. */
    std::unique_ptr<juce::FocusOutline> createFocusOutlineForComponent (juce::Component& component) override;

    /** Makes a button of the wizard: this look, the ring, and the keyboard taken only by Tab. */
    void adopt (juce::Button& button);
};
