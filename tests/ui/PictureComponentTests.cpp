#include "ui/PictureComponent.h"

#include <gtest/gtest.h>

TEST (PictureComponent, TakesItsPicturesSizeAndDrawsItUnscaledFromTheTopLeftCorner)
{
    const juce::Colour backdrop (0xff102030);

    // A 3 x 2 picture with a different opaque colour in every pixel.
    juce::Image picture (juce::Image::ARGB, 3, 2, true);

    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixelAt (x, y, juce::Colour ((juce::uint8) (40 + 70 * x), (juce::uint8) (90 + 100 * y), 200));

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
