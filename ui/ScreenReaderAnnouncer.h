#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    Says something to the user's screen reader through JUCE's accessibility
    layer (UI Automation on Windows, NSAccessibility on macOS; nothing on
    Linux, where JUCE has no bridge), and keeps the last text said so that
    tests can hear it too. Message thread only.
*/
class ScreenReaderAnnouncer
{
public:
    /** Posts the text as an announcement of this priority and remembers it. */
    static void announce (const juce::String& text, juce::AccessibilityHandler::AnnouncementPriority priority);

    /** The text of the last announcement, or an empty text before the first. */
    static const juce::String& getLastAnnouncement();
};
