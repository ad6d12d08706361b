#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What the windows that lay their texts over a picture (the wizard and the about box) share. */
struct PictureWindowStyle
{
    /** The colour of the texts laid over a picture: antique white. */
    static const juce::Colour textColour;

    /**
        Gives the label antique-white text and makes everything else about it
        transparent (background, outline and the colours used while editing),
        so the picture shows through around the text.
    */
    static void setOverlayColours (juce::Label& label);

    /**
        Sizes the window so that its content area is one pixel narrower and
        lower than the picture, whatever border and title bar the frame draws:
        the picture's last column and row are cut off, as the layout expects.
    */
    static void sizeToPicture (juce::ResizableWindow& window, const juce::Image& picture);
};
