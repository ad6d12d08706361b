#include "ui/WizardButton.h"

WizardButton::WizardButton (const juce::String& name, const juce::String& tooltip)
    : juce::TextButton (name, tooltip)
{
}

bool WizardButton::keyPressed (const juce::KeyPress&)
{
    return false;
}
