#include "ui/ErrorBox.h"

#include "ui/FocusReturn.h"
#include "ui/ScreenReaderAnnouncer.h"

const char* const ErrorBox::title = "Error";

void ErrorBox::show (const juce::String& message)
{
    JUCE_ASSERT_MESSAGE_THREAD

    const FocusReturn focusReturn;
    std::unique_ptr<juce::AlertWindow> box (juce::LookAndFeel::getDefaultLookAndFeel().createAlertWindow (
        title, message, "OK", {}, {}, juce::MessageBoxIconType::WarningIcon, 1, nullptr));

    box->setTitle (title);

    // The look-and-feel gives OK Return and Escape; Space presses it too, as it
    // would any focused button.
    for (auto* child : box->getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->addShortcut (juce::KeyPress (juce::KeyPress::spaceKey));

    ScreenReaderAnnouncer::announce (juce::String (title) + ". " + message,
                                     juce::AccessibilityHandler::AnnouncementPriority::high);
    box->runModalLoop();
}
