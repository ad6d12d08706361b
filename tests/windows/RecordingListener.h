#pragma once

#include "midi/MidiPortListener.h"

#include <juce_core/juce_core.h>

#include <mutex>
#include <vector>

/** Polls `condition` every millisecond for up to `limitMs`; true once it holds. */
template <typename Condition>
bool awaitTrue (Condition condition, juce::uint32 limitMs = 5000)
{
    for (const auto start = juce::Time::getMillisecondCounter(); ! condition(); juce::Thread::sleep (1))
        if (juce::Time::getMillisecondCounter() - start > limitMs)
            return false;

    return true;
}

/** Keeps every message an input delivers, taking `delayMs` over each as a slow program would. */
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

    /** Waits up to 5 s until `count` messages have arrived; true if they did. */
    bool awaitCount (size_t count)
    {
        return awaitTrue ([this, count] { return getMessages().size() >= count; });
    }

private:
    const int delayMs;
    std::mutex lock;
    std::vector<std::vector<juce::uint8>> messages;
};
