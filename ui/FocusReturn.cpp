#include "ui/FocusReturn.h"

FocusReturn::FocusReturn()
    : focused (juce::Component::getCurrentlyFocusedComponent())
{
    JUCE_ASSERT_MESSAGE_THREAD;
}

FocusReturn::~FocusReturn()
{
    if (focused == nullptr || ! focused->isShowing())
        return;

    if (auto* window = focused->getTopLevelComponent(); ! window->isCurrentlyBlockedByAnotherModalComponent())
    {
        window->toFront (true);
        focused->grabKeyboardFocus();
    }
}
