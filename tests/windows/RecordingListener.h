#pragma once

#include "midi/MidiPortListener.h"

#include <juce_core/juce_core.h>

#include <mutex>
#include <vector>

/**
    Keeps every message an input delivers, taking `delayMs` over each as a
    slow program would.
*/
class RecordingListener : public MidiPortListener
{
public:
    /** A listener that takes `delayMsToUse` over each message. */
    explicit RecordingListener (int delayMsToUse = 0)
        : delayMs (delayMsToUse)
    {
    }

    /** Keeps the message, after the delay. */
    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage& message) override
    {
        if (delayMs > 0)
            juce::Thread::sleep (delayMs);

        const std::lock_guard<std::mutex> guard (lock);
        messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    }

    /** Every message so far, as bytes. */
    std::vector<std::vector<juce::uint8>> getMessages()
    {
        const std::lock_guard<std::mutex> guard (lock);
        return messages;
    }

    /** Waits up to `limitMs` until `count` messages have arrived; true if they did. */
    bool awaitCount (size_t count, int limitMs = 5000)
    {
        for (const auto start = juce::Time::getMillisecondCounter();
             juce::Time::getMillisecondCounter() - start < (juce::uint32) limitMs; juce::Thread::sleep (1))
            if (getMessages().size() >= count)
                return true;

        return false;
    }

    /** How long each message takes. */
    const int delayMs;

private:
    std::mutex lock;
    std::vector<std::vector<juce::uint8>> messages;
};
