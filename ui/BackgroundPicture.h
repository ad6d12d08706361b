#pragma once

#include "ui/PictureComponent.h"

/**
    The main window's backdrop: the device picture, plus the window menu that a
    right-button press on it opens, with "About..." and "Exit...".
*/
class BackgroundPicture : public PictureComponent
{
public:
    /** The ids of the window menu's items; 0 means the menu was dismissed. */
    enum MenuItem
    {
        aboutItem = 1,
        exitItem = 2
    };

    /** Creates the backdrop for this picture, and its double size for scaled displays, named "bkgImg". */
    explicit BackgroundPicture (juce::Image pictureToShow, juce::Image doubleSizePictureToShow = {});

    /** What a screen reader calls the picture. */
    static const char* const accessibleTitle;

    /** Opens the window menu on a right-button press and carries out the choice; other presses do nothing. */
    void mouseDown (const juce::MouseEvent& event) override;

    /**
        Opens the window menu at the picture's top-left corner, as the keyboard
        and a screen reader ask for it; the choice is carried out once the menu
        has closed.
    */
    void openMenuAtCorner();

    /** Presents the picture to a screen reader as an image, titled accessibleTitle, whose action shows the menu. */
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    /** The window menu: "About...", a separator, then "Exit...". */
    static juce::PopupMenu createMenu();

    /** Carries out a menu result: the about box for aboutItem, a quit request for exitItem, nothing otherwise. */
    static void performMenuItem (int result);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BackgroundPicture)
};
