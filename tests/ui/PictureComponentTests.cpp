#include "ui/PictureComponent.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour backdrop (0xff102030);

// A 3 x 2 picture with a different opaque colour in every pixel.
juce::Image makePicture()
{
    juce::Image picture (juce::Image::ARGB, 3, 2, true);

    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixelAt (x, y, juce::Colour ((juce::uint8) (40 + 70 * x), (juce::uint8) (90 + 100 * y), 200));

    return picture;
}

juce::Image render (PictureComponent& component)
{
    juce::Image image (juce::Image::RGB, component.getWidth(), component.getHeight(), true);
    juce::Graphics g (image);
    g.fillAll (backdrop);
    component.paintEntireComponent (g, true);
    return image;
}
} // namespace

TEST (PictureComponent, TakesThePicturesSizeAndHasNoName)
{
    const auto picture = makePicture();
    PictureComponent component (picture);

    EXPECT_EQ (component.getName(), juce::String());
    EXPECT_EQ (component.getBounds(), juce::Rectangle<int> (0, 0, 3, 2));
    EXPECT_EQ (component.getPicture(), picture);
}

TEST (PictureComponent, DrawsThePictureUnscaledFromTheTopLeftCorner)
{
    const auto picture = makePicture();
    PictureComponent component (picture);
    component.setSize (6, 5);

    const auto image = render (component);

    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
        {
            const auto expected = (x < 3 && y < 2) ? picture.getPixelAt (x, y) : backdrop;
            EXPECT_EQ (image.getPixelAt (x, y).getARGB(), expected.getARGB()) << x << ", " << y;
        }
}

TEST (PictureComponent, WithoutAPictureDrawsNothingAndKeepsItsSize)
{
    PictureComponent component ({});
    EXPECT_EQ (component.getBounds(), juce::Rectangle<int>());

    component.setSize (4, 4);
    const auto image = render (component);

    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ (image.getPixelAt (x, y).getARGB(), backdrop.getARGB()) << x << ", " << y;
}
