#include "ui/BackgroundPicture.h"

#include "app/UpdaterApplication.h"
#include "ui/AboutBox.h"

const char* const BackgroundPicture::accessibleTitle = "Picture of the VT-5150 control surface";

BackgroundPicture::BackgroundPicture (juce::Image pictureToShow, juce::Image doubleSizePictureToShow)
    : PictureComponent (std::move (pictureToShow), std::move (doubleSizePictureToShow))
{
    setName ("bkgImg");
    setTitle (accessibleTitle);
}

std::unique_ptr<juce::AccessibilityHandler> BackgroundPicture::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (
        *this, juce::AccessibilityRole::image,
        juce::AccessibilityActions().addAction (juce::AccessibilityActionType::showMenu,
                                                [this] { openMenuAtCorner(); }));
}

void BackgroundPicture::mouseDown (const juce::MouseEvent& event)
{
    if (event.mods.isRightButtonDown())
        performMenuItem (createMenu().show());
}

void BackgroundPicture::openMenuAtCorner()
{
    JUCE_ASSERT_MESSAGE_THREAD

    const auto corner = localAreaToGlobal (juce::Rectangle<int> (1, 1));
    createMenu().showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea (corner), &performMenuItem);
}

juce::PopupMenu BackgroundPicture::createMenu()
{
    juce::PopupMenu menu;
    menu.addItem (aboutItem, "About...");
    menu.addSeparator();
    menu.addItem (exitItem, "Exit...");
    return menu;
}

void BackgroundPicture::performMenuItem (int result)
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (result == aboutItem)
    {
        AboutBox aboutBox;
        aboutBox.runModal();
    }
    else if (result == exitItem && currentApplication != nullptr)
    {
        currentApplication->requestQuit();
    }
}
