#include "ui/PictureComponent.h"

namespace
{
bool isTwiceAsLarge (const juce::Image& larger, const juce::Image& picture)
{
    return larger.isValid() && picture.isValid() && larger.getWidth() == 2 * picture.getWidth() &&
           larger.getHeight() == 2 * picture.getHeight();
}
} // namespace

PictureComponent::PictureComponent (juce::Image pictureToShow, juce::Image doubleSizePictureToShow)
    : picture (std::move (pictureToShow))
{
    if (picture.isValid())
        setSize (picture.getWidth(), picture.getHeight());

    if (isTwiceAsLarge (doubleSizePictureToShow, picture))
        doubleSizePicture = std::move (doubleSizePictureToShow);
}

const juce::Image& PictureComponent::getPicture() const noexcept
{
    return picture;
}

const juce::Image& PictureComponent::getDoubleSizePicture() const noexcept
{
    return doubleSizePicture;
}

void PictureComponent::paint (juce::Graphics& g)
{
    if (! picture.isValid())
        return;

    // Halved under a context that doubles, the larger picture lands one to one
    // on the screen's pixels, which JUCE then copies without resampling.
    if (doubleSizePicture.isValid() && g.getInternalContext().getPhysicalPixelScaleFactor() > 1.0f)
        g.drawImageTransformed (doubleSizePicture, juce::AffineTransform::scale (0.5f));
    else
        g.drawImageAt (picture, 0, 0);
}
