#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    An unnamed component that draws one picture, unscaled, from its top-left
    corner, and takes the picture's size. Without a picture it draws nothing
    and keeps whatever size its owner gives it.

    It may also hold the same picture drawn at twice the size. On a display
    scaled above 100 %, where each of the component's pixels covers more than
    one of the screen's, it draws that one into the same bounds instead, so
    the screen's pixels show the larger picture's detail rather than the
    smaller one enlarged. At 100 % it always draws the picture itself.

    The component holds its own references to the pictures, so they live at
    least as long as the component does.
*/
class PictureComponent : public juce::Component
{
public:
    /**
        Creates the component for this picture; a null image means no picture.
        A double-size picture that is not exactly twice as wide and high as the
        picture is not used.
    */
    explicit PictureComponent (juce::Image pictureToShow, juce::Image doubleSizePictureToShow = {});

    /** The picture drawn, or a null image. */
    const juce::Image& getPicture() const noexcept;

    /** The picture at twice the size drawn on scaled displays, or a null image. */
    const juce::Image& getDoubleSizePicture() const noexcept;

    /**
        Draws the whole picture at its natural size with its top-left corner at
        (0, 0); where the context has more than one pixel to each of the
        component's, the double-size picture halved, when there is one.
    */
    void paint (juce::Graphics& g) override;

private:
    juce::Image picture;
    juce::Image doubleSizePicture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PictureComponent)
};
