#include "ui/ModalDialog.h"

#include "ui/FocusReturn.h"
#include "ui/HeldKeyFilter.h"

ModalDialog::ModalDialog (const juce::String& title, juce::Colour background, bool escapeClosesDialog)
    : juce::DialogWindow (title, background, escapeClosesDialog)
    , escapeCloses (escapeClosesDialog)
{
    setTitle (title);
}

int ModalDialog::runModal()
{
    JUCE_ASSERT_MESSAGE_THREAD
    const FocusReturn focusReturn;
    setUpContent();
    const HeldKeyFilter heldKeys (*this);
    return runModalLoop();
}

void ModalDialog::closeButtonPressed()
{
    exitModalState (0);
    setVisible (false);
}

bool ModalDialog::escapeKeyPressed()
{
    // The framework's own handling only hides the dialog; Escape goes through
    // the close button's action instead, so both ways of closing are one.
    if (! escapeCloses)
        return false;

    closeButtonPressed();
    return true;
}

void ModalDialog::setUpContent()
{
    centreWithSize (300, 200);
    setContentOwned (new juce::Component(), false);
}
