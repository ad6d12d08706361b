#pragma once

#include "device/WakeableLock.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <mutex>
#include <optional>

/**
    Holds at most one MIDI message: a copy of the last one that arrived from
    the held input, or nothing.

    The input's delivery thread writes it and the thread that drives the
    device waits on it and judges it. One lock guards the message; it is never
    held across a send or across the whole of a wait.
*/
class ReplyStore
{
public:
    /** Empties the store. */
    void clear();

    /** Replaces whatever is stored by a copy of this message and wakes a waiting thread. */
    void store (const juce::MidiMessage& message);

    /**
        Waits until a message is stored or `limitMs` have passed since `startMs`,
        both read from juce::Time::getMillisecondCounter(), whose wrap-around the
        unsigned difference survives; returns at once if a message is stored
        already. Then calls judge (message) on the stored message under the
        same lock and returns its result, or nothing if the store is empty.
    */
    template <typename Judge>
    auto awaitAndInspect (juce::uint32 startMs, juce::uint32 limitMs, Judge&& judge)
        -> std::optional<decltype (judge (std::declval<const juce::MidiMessage&>()))>
    {
        const std::lock_guard<WakeableLock> hold (lock);
        waitForMessage (startMs, limitMs);

        if (! message.has_value())
            return {};

        return judge (*message);
    }

private:
    void waitForMessage (juce::uint32 startMs, juce::uint32 limitMs);

    WakeableLock lock;
    std::optional<juce::MidiMessage> message;
};
