#include "ui/WizardKeyboard.h"

#include "ui/BackgroundPicture.h"

namespace
{
// JUCE marks keys without a character with the same flag as its F keys.
const int keyWithoutCharacter = juce::KeyPress::F10Key & ~0xff;
} // namespace

#if JUCE_WINDOWS
const int WizardKeyboard::menuKeyCode = 0x5d | keyWithoutCharacter; // VK_APPS
#elif JUCE_LINUX || JUCE_BSD
const int WizardKeyboard::menuKeyCode = 0x67 | keyWithoutCharacter; // XK_Menu's low byte
#else
const int WizardKeyboard::menuKeyCode = 0;
#endif

WizardKeyboard::WizardKeyboard (juce::Button& previousButton, juce::Button& nextButton, juce::Component& picture)
    : previous (previousButton)
    , next (nextButton)
    , menuOwner (picture)
{
}

bool WizardKeyboard::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    JUCE_ASSERT_MESSAGE_THREAD

    if (key.isKeyCode (juce::KeyPress::tabKey))
    {
        moveFocus (! key.getModifiers().isShiftDown());
        return true;
    }

    if (key == juce::KeyPress (juce::KeyPress::F10Key, juce::ModifierKeys::shiftModifier, 0))
    {
        openMenu();
        return true;
    }

    if (auto* button = focusedButton(); button != nullptr && key == juce::KeyPress (juce::KeyPress::spaceKey))
    {
        button->triggerClick();
        return true;
    }

    if (key == juce::KeyPress (juce::KeyPress::returnKey) && focusedButton() == nullptr && next.isShowing() &&
        next.isEnabled())
    {
        next.triggerClick();
        return true;
    }

    return false;
}

bool WizardKeyboard::keyStateChanged (bool isKeyDown, juce::Component*)
{
    if (! isKeyDown || menuKeyCode == 0 || ! juce::KeyPress::isKeyCurrentlyDown (menuKeyCode))
        return false;

    openMenu();
    return true;
}

void WizardKeyboard::openMenu()
{
    JUCE_ASSERT_MESSAGE_THREAD

    const auto corner = menuOwner.localAreaToGlobal (juce::Rectangle<int> (1, 1));
    BackgroundPicture::createMenu().showMenuAsync (juce::PopupMenu::Options().withTargetScreenArea (corner),
                                                   [] (int result) { BackgroundPicture::performMenuItem (result); });
}

juce::Array<juce::Button*> WizardKeyboard::buttonsShown() const
{
    juce::Array<juce::Button*> shown;

    for (auto* button : { &previous, &next })
        if (button->isShowing() && button->isEnabled())
            shown.add (button);

    return shown;
}

juce::Button* WizardKeyboard::focusedButton() const
{
    for (auto* button : { &previous, &next })
        if (button->hasKeyboardFocus (false))
            return button;

    return nullptr;
}

void WizardKeyboard::moveFocus (bool forwards)
{
    const auto shown = buttonsShown();

    if (shown.isEmpty())
        return;

    const auto current = shown.indexOf (focusedButton());
    const auto step = forwards ? 1 : -1;
    const auto target =
        current < 0 ? (forwards ? 0 : shown.size() - 1) : (current + step + shown.size()) % shown.size();
    shown[target]->grabKeyboardFocus();
}
