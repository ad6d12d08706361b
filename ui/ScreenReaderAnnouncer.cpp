#include "ui/ScreenReaderAnnouncer.h"

namespace
{
juce::String& lastAnnouncement()
{
    static juce::String text;
    return text;
}
} // namespace

void ScreenReaderAnnouncer::announce (const juce::String& text,
                                      juce::AccessibilityHandler::AnnouncementPriority priority)
{
    JUCE_ASSERT_MESSAGE_THREAD
    lastAnnouncement() = text;
    juce::AccessibilityHandler::postAnnouncement (text, priority);
}

const juce::String& ScreenReaderAnnouncer::getLastAnnouncement()
{
    JUCE_ASSERT_MESSAGE_THREAD
    return lastAnnouncement();
}
