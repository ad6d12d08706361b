#include "ui/WizardLookAndFeel.h"

#include "ui/PictureWindowStyle.h"

namespace
{
struct FocusRingProperties : public juce::FocusOutline::OutlineWindowProperties
{
    juce::Rectangle<int> getOutlineBounds (juce::Component& component) override
    {
        return component.getScreenBounds().expanded (WizardLookAndFeel::ringGap);
    }

    void drawOutline (juce::Graphics& g, int width, int height) override
    {
        const auto inset = WizardLookAndFeel::ringThickness / 2.0f;
        g.setColour (PictureWindowStyle::textColour);
        g.drawRoundedRectangle (juce::Rectangle<float> ((float) width, (float) height).reduced (inset),
                                (float) WizardLookAndFeel::ringGap + 3.0f, WizardLookAndFeel::ringThickness);
    }
};
} // namespace

std::unique_ptr<juce::FocusOutline> WizardLookAndFeel::createFocusOutlineForComponent (juce::Component&)
{
    return std::make_unique<juce::FocusOutline> (std::make_unique<FocusRingProperties>());
}

void WizardLookAndFeel::adopt (juce::Button& button)
{
    button.setLookAndFeel (this);
    button.setHasFocusOutline (true);
    button.setMouseClickGrabsKeyboardFocus (false);
}
