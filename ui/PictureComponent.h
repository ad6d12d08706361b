#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    An unnamed component that draws one picture, unscaled, from its top-left
    corner, and takes the picture's size. Without a picture it draws nothing
    and keeps whatever size its owner gives it.

    The component holds its own reference to the picture, so the picture lives
    at least as long as the component does.
*/
class PictureComponent : public juce::Component
{
public:
    /** Creates the component for this picture; a null image means no picture. */
    explicit PictureComponent (juce::Image pictureToShow);

    /** The picture drawn, or a null image. */
    const juce::Image& getPicture() const noexcept;

    /** Draws the whole picture at its natural size with its top-left corner at (0, 0). */
    void paint (juce::Graphics& g) override;

private:
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PictureComponent)
};
