#include "ui/PictureComponent.h"

#include <gtest/gtest.h>

namespace
{
/** A picture with a different opaque colour in every pixel, `shade` telling pictures apart. */
juce::Image patterned (int width, int height, juce::uint8 shade)
{
    juce::Image picture (juce::Image::ARGB, width, height, true);

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixelAt (x, y, juce::Colour ((juce::uint8) (20 * x), (juce::uint8) (20 * y), shade));

    return picture;
}

/** The picture's colour at a pixel of the component's snapshot at this scale. */
juce::Colour drawnAt (PictureComponent& component, float scale, int x, int y)
{
    return component.createComponentSnapshot (component.getLocalBounds(), true, scale).getPixelAt (x, y);
}
} // namespace

TEST (PictureComponent, TakesItsPicturesSizeAndDrawsItUnscaledFromTheTopLeftCorner)
{
    const juce::Colour backdrop (0xff102030);

    const auto picture = patterned (3, 2, 200);

    // Without a picture it keeps the size it is given and draws nothing.
    for (const auto& shown : { picture, juce::Image() })
    {
        PictureComponent component (shown);
        EXPECT_EQ (component.getBounds(), shown.getBounds());

        component.setSize (6, 5);
        juce::Image image (juce::Image::RGB, 6, 5, true);
        juce::Graphics g (image);
        g.fillAll (backdrop);
        component.paintEntireComponent (g, true);

        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
            {
                const auto expected = shown.getBounds().contains (x, y) ? shown.getPixelAt (x, y) : backdrop;
                EXPECT_EQ (image.getPixelAt (x, y).getARGB(), expected.getARGB()) << x << ", " << y;
            }
    }
}

TEST (PictureComponent, OnScaledDisplaysDrawsItsDoubleSizePictureOneToOneWhenItIsExactlyTwiceTheSize)
{
    const auto picture = patterned (4, 3, 50);

    for (const auto& other : { patterned (8, 6, 250), patterned (8, 7, 250), patterned (4, 3, 250), juce::Image() })
    {
        SCOPED_TRACE (std::to_string (other.getWidth()) + " x " + std::to_string (other.getHeight()));
        PictureComponent component (picture, other);
        const bool used = other.getBounds() == picture.getBounds() * 2;
        EXPECT_EQ (component.getBounds(), picture.getBounds()) << "the picture, not the double size, gives the size";
        EXPECT_EQ (component.getDoubleSizePicture().isNull(), ! used);

        const auto atScale1 = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);
        const auto atScale2 = component.createComponentSnapshot (component.getLocalBounds(), true, 2.0f);

        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
            {
                EXPECT_TRUE (! used || atScale2.getPixelAt (x, y) == other.getPixelAt (x, y)) << x << ", " << y;
                EXPECT_TRUE (x >= 4 || y >= 3 || atScale1.getPixelAt (x, y) == picture.getPixelAt (x, y))
                    << x << ", " << y;
            }

        // At 150 % the double size, reduced, is what shows; unused, the picture is enlarged.
        EXPECT_EQ (drawnAt (component, 1.5f, 3, 2).getBlue(), used ? 250 : 50);
        EXPECT_EQ (drawnAt (component, 2.0f, 3, 2).getBlue(), used ? 250 : 50);
    }

    PictureComponent withoutPicture ({}, patterned (8, 6, 250));
    EXPECT_TRUE (withoutPicture.getDoubleSizePicture().isNull());
}
