#include "ui/ModalDialog.h"

#include "ui/FocusReturn.h"

HeldKeyFilter::HeldKeyFilter (juce::Component& box)
{
    for (auto keyCode : { juce::KeyPress::returnKey, juce::KeyPress::spaceKey, juce::KeyPress::escapeKey })
        if (juce::KeyPress::isKeyCurrentlyDown (keyCode))
            held.add (keyCode);

    if (! held.isEmpty())
        listenTo (box);
}

HeldKeyFilter::~HeldKeyFilter()
{
    for (auto& component : listenedTo)
        if (component != nullptr)
            component->removeKeyListener (this);
}

void HeldKeyFilter::listenTo (juce::Component& component)
{
    // A key goes first to the control with the keyboard, then to its parents.
    component.addKeyListener (this);
    listenedTo.add (&component);

    for (auto* child : component.getChildren())
        listenTo (*child);
}

bool HeldKeyFilter::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    return held.contains (key.getKeyCode());
}

bool HeldKeyFilter::keyStateChanged (bool isKeyDown, juce::Component*)
{
    // Until the held keys are up, and at their release, the box's buttons hear
    // no key go down or up: a shortcut key seen down would press at its release.
    if (held.isEmpty())
        return false;

    if (! isKeyDown)
        held.removeIf ([] (int keyCode) { return ! juce::KeyPress::isKeyCurrentlyDown (keyCode); });

    return true;
}

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
