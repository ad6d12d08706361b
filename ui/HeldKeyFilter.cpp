#include "ui/HeldKeyFilter.h"

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
