#include "ui/WizardLookAndFeel.h"

#include "ui/PictureWindowStyle.h"

namespace
{
// The corners of JUCE's buttons.
constexpr float bodyCornerSize = 6.0f;

// JUCE's look draws a button that has the keyboard 1.3 times as saturated as
// its colour, and one that has not 0.9 times.
constexpr float focusedSaturation = 1.3f;
constexpr float unfocusedSaturation = 0.9f;
} // namespace

void WizardLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                              const juce::Colour& backgroundColour, bool shouldDrawButtonAsHighlighted,
                                              bool shouldDrawButtonAsDown)
{
    if (! button.hasKeyboardFocus (false))
    {
        juce::LookAndFeel_V4::drawButtonBackground (g, button, backgroundColour, shouldDrawButtonAsHighlighted,
                                                    shouldDrawButtonAsDown);
        return;
    }

    // JUCE's look draws the body on a stand-in of the smaller size, in the
    // colour that it gives a button with the keyboard; the ring goes round it.
    body.setSize (button.getWidth() - 2 * ringGap, button.getHeight() - 2 * ringGap);
    body.setConnectedEdges (button.getConnectedEdgeFlags());
    body.setColour (juce::ComboBox::outlineColourId, button.findColour (juce::ComboBox::outlineColourId));
    {
        const juce::Graphics::ScopedSaveState state (g);
        g.setOrigin (ringGap, ringGap);
        juce::LookAndFeel_V4::drawButtonBackground (
            g, body, backgroundColour.withMultipliedSaturation (focusedSaturation / unfocusedSaturation),
            shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
    }

    g.setColour (PictureWindowStyle::textColour);
    g.drawRoundedRectangle (button.getLocalBounds().toFloat().reduced (ringThickness / 2.0f),
                            bodyCornerSize + (float) ringGap, ringThickness);
}

void WizardLookAndFeel::adopt (juce::Button& button)
{
    button.setLookAndFeel (this);
    button.setMouseClickGrabsKeyboardFocus (false);
}
