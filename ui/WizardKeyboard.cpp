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

WizardKeyboard::WizardKeyboard (juce::Button& previousButton, juce::Button& nextButton, BackgroundPicture& picture)
    : previous (previousButton)
    , next (nextButton)
    , menuOwner (picture)
{
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

WizardKeyboard::~WizardKeyboard()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
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
        menuOwner.openMenuAtCorner();
        return true;
    }

    if (key == juce::KeyPress (juce::KeyPress::spaceKey))
        return press (focusedButton(), key.getKeyCode());

    if (key == juce::KeyPress (juce::KeyPress::returnKey))
    {
        auto* button = focusedButton();
        return press (button != nullptr ? button : &next, key.getKeyCode());
    }

    return false;
}

bool WizardKeyboard::press (juce::Button* button, int keyCode)
{
    if (button == nullptr || ! button->isShowing() || ! button->isEnabled())
        return false;

    // A repeat of the key that pressed last, not yet released, is used up here.
    if (keyCode != heldKeyCode)
    {
        heldKeyCode = keyCode;
        button->triggerClick();
    }

    return true;
}

bool WizardKeyboard::keyStateChanged (bool isKeyDown, juce::Component*)
{
    if (! isKeyDown)
    {
        if (heldKeyCode != 0 && ! juce::KeyPress::isKeyCurrentlyDown (heldKeyCode))
            heldKeyCode = 0;

        return false;
    }

    if (menuKeyCode == 0 || ! juce::KeyPress::isKeyCurrentlyDown (menuKeyCode))
        return false;

    menuOwner.openMenuAtCorner();
    return true;
}

void WizardKeyboard::globalFocusChanged (juce::Component* focusedComponent)
{
    // The release of a key held as the keyboard leaves the wizard goes elsewhere.
    auto* window = menuOwner.getTopLevelComponent();

    if (focusedComponent == nullptr || ! window->isParentOf (focusedComponent))
        heldKeyCode = 0;
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
