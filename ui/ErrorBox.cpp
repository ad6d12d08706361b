#include "ui/ErrorBox.h"

#include "ui/FocusReturn.h"
#include "ui/HeldKeyFilter.h"
#include "ui/WizardLookAndFeel.h"

const char* const ErrorBox::title = "Error";

void ErrorBox::show (const juce::String& message, juce::Component& over)
{
    JUCE_ASSERT_MESSAGE_THREAD

    const FocusReturn focusReturn;
    WizardLookAndFeel look;
    std::unique_ptr<juce::AlertWindow> box (
        look.createAlertWindow (title, message, "OK", {}, {}, juce::MessageBoxIconType::WarningIcon, 1, &over));

    box->setLookAndFeel (&look);
    box->setTitle (title);

    // JUCE offers the message twice, as the box's description and as a text
    // inside it, both after the title, which a screen reader says anyway:
    // it is heard once, as the description.
    box->setDescription (message);

    for (auto* child : box->getChildren())
    {
        if (auto* text = dynamic_cast<juce::Label*> (child))
            text->setAccessible (false);

        // The look-and-feel gives OK Return and Escape; Space presses it too,
        // as it would any focused button.
        if (auto* button = dynamic_cast<juce::Button*> (child))
            button->addShortcut (juce::KeyPress (juce::KeyPress::spaceKey));
    }

    const HeldKeyFilter heldKeys (*box);
    box->runModalLoop();
}
