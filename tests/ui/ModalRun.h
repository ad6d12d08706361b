#pragma once

#include "ui/ModalDialog.h"

#include <functional>

namespace ModalRun
{
/** The result of a dialog that nothing closed in time. */
constexpr int timedOut = -1;

/** A dialog that counts how often it was closed. */
template <typename Dialog>
class Observed : public Dialog
{
public:
    using Dialog::Dialog;

    void closeButtonPressed() override
    {
        ++closeCalls;
        Dialog::closeButtonPressed();
    }

    int closeCalls = 0;
};

/** What one opening looked like while the dialog was up. */
struct Opening
{
    int result = timedOut;
    bool wasModalAndVisible = false, hadKeyboard = false, outlivedKey = false;
    juce::Rectangle<int> bounds, contentBounds;
};

/**
    Runs the dialog modally; once it is up, records it, presses the key if one
    is given, then clicks its close button if it is still open. A dialog still
    open after five seconds is ended with `timedOut`, so the test fails, not
    hangs; that timer is the test's own, so that it never outlives the test.
*/
inline Opening open (ModalDialog& dialog, const juce::KeyPress& key = {})
{
    struct Deadline final : juce::Timer
    {
        void timerCallback() override
        {
            stopTimer();

            if (dialog != nullptr && dialog->isCurrentlyModal())
                dialog->exitModalState (timedOut);
        }

        juce::Component::SafePointer<ModalDialog> dialog;
    } deadline;

    deadline.dialog = &dialog;
    deadline.startTimer (5000);
    Opening opening;

    juce::MessageManager::callAsync (
        [&]
        {
            opening.wasModalAndVisible = dialog.isCurrentlyModal() && dialog.isVisible();
            opening.hadKeyboard = dialog.hasKeyboardFocus (true);
            // Where the window really is on the screen.
            opening.bounds = dialog.getPeer()->getBounds();

            if (auto* content = dialog.getContentComponent())
                opening.contentBounds = content->getBounds();

            if (key.isValid())
            {
                dialog.getPeer()->handleKeyPress (key);
                opening.outlivedKey = dialog.isCurrentlyModal();
            }

            if (dialog.isCurrentlyModal())
                dialog.getCloseButton()->triggerClick();
        });

    opening.result = dialog.runModal();
    return opening;
}

/** Whether the bounds are centred on the main display's usable area. */
inline bool isCentred (juce::Rectangle<int> bounds)
{
    const auto centre = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea.getCentre();
    return bounds.getCentre().getDistanceFrom (centre) <= 1;
}
} // namespace ModalRun
