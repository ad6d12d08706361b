#include "ui/PictureComponent.h"

PictureComponent::PictureComponent (juce::Image pictureToShow)
    : picture (std::move (pictureToShow))
{
    if (picture.isValid())
        setSize (picture.getWidth(), picture.getHeight());
}

const juce::Image& PictureComponent::getPicture() const noexcept
{
    return picture;
}

void PictureComponent::paint (juce::Graphics& g)
{
    if (picture.isValid())
        g.drawImageAt (picture, 0, 0);
}
