#pragma once

#include "ui/ModalDialog.h"

#include <functional>

namespace ModalRun
{
/** The result of a dialog that nothing closed in time. */
constexpr int timedOut = -1;

/**
    Runs the dialog modally after queueing `whileOpen` on the message loop,
    where it runs once the dialog is up and modal. A dialog still open after
    five seconds is ended with `timedOut`, so a test that fails to close it
    fails instead of hanging.
*/
inline int runModalWith (ModalDialog& dialog, std::function<void()> whileOpen)
{
    juce::MessageManager::callAsync (std::move (whileOpen));
    juce::Timer::callAfterDelay (5000,
                                 [safe = juce::Component::SafePointer<ModalDialog> (&dialog)]
                                 {
                                     if (safe != nullptr && safe->isCurrentlyModal())
                                         safe->exitModalState (timedOut);
                                 });

    return dialog.runModal();
}

/** Presses Escape on the dialog as its window would pass on a key press. */
inline void pressEscape (juce::Component& dialog)
{
    dialog.getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
}

/** Centre of the main display's usable area, where dialogs are centred. */
inline juce::Point<int> screenCentre()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea.getCentre();
}
} // namespace ModalRun
