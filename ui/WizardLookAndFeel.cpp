#include "ui/WizardLookAndFeel.h"

#include "ui/PictureWindowStyle.h"

namespace
{
// The corners of JUCE's buttons.
constexpr float bodyCornerSize = 6.0f;
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

    // The button as JUCE's look draws it (which, with the keyboard, is a
    // little more saturated), but smaller, and the ring round it.
    const auto bounds = button.getLocalBounds().toFloat();
    const auto body = bounds.reduced ((float) ringGap + 0.5f);
    auto colour =
        backgroundColour.withMultipliedSaturation (1.3f).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);

    if (shouldDrawButtonAsDown || shouldDrawButtonAsHighlighted)
        colour = colour.contrasting (shouldDrawButtonAsDown ? 0.2f : 0.05f);

    g.setColour (colour);
    g.fillRoundedRectangle (body, bodyCornerSize);
    g.setColour (button.findColour (juce::ComboBox::outlineColourId));
    g.drawRoundedRectangle (body, bodyCornerSize, 1.0f);

    g.setColour (PictureWindowStyle::textColour);
    g.drawRoundedRectangle (bounds.reduced (ringThickness / 2.0f), bodyCornerSize + (float) ringGap, ringThickness);
}

void WizardLookAndFeel::adopt (juce::Button& button)
{
    button.setLookAndFeel (this);
    button.setMouseClickGrabsKeyboardFocus (false);
}
