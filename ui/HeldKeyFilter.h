#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    Keeps a key that is down as a box opens from pressing anything in the box
    until it has been released: the display repeats a held key as presses,
    and a button takes the release of its shortcut key for a press. The keys
    looked at are those that press something in a box: Return, Space and
    Escape. Make one for the box's modal loop, once its content is built; it
    hears the keys before the box and the controls in it.
*/
class HeldKeyFilter : private juce::KeyListener
{
public:
    /** Notes the keys that are down and listens to the box and everything in it. */
    explicit HeldKeyFilter (juce::Component& box);

    /** Stops listening. */
    ~HeldKeyFilter() override;

private:
    void listenTo (juce::Component& component);
    bool keyPressed (const juce::KeyPress& key, juce::Component*) override;
    bool keyStateChanged (bool isKeyDown, juce::Component*) override;

    juce::Array<juce::Component::SafePointer<juce::Component>> listenedTo;
    juce::Array<int> held;

    JUCE_DECLARE_NON_COPYABLE (HeldKeyFilter)
};
