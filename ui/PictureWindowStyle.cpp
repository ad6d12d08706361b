#include "ui/PictureWindowStyle.h"

const juce::Colour PictureWindowStyle::textColour (0xfffaebd7);

void PictureWindowStyle::setOverlayColours (juce::Label& label)
{
    label.setColour (juce::Label::textColourId, textColour);

    for (const auto id :
         { juce::Label::backgroundColourId, juce::Label::outlineColourId, juce::Label::backgroundWhenEditingColourId,
           juce::Label::textWhenEditingColourId, juce::Label::outlineWhenEditingColourId })
        label.setColour (id, juce::Colour (0x00000000));
}

void PictureWindowStyle::sizeToPicture (juce::ResizableWindow& window, const juce::Image& picture)
{
    const auto border = window.getContentComponentBorder();
    window.setSize (picture.getWidth() - 1 + border.getLeftAndRight(),
                    picture.getHeight() - 1 + border.getTopAndBottom());
}
