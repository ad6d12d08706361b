#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/** Runs the message loop until the condition holds or the time is up; returns whether it holds. */
inline bool pumpUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
    }

    return true;
}

/** Runs the message loop for a while, so that posted messages are handled. */
inline void pump (int milliseconds = 50)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}
