#include "device/ReplyStore.h"

void ReplyStore::clear()
{
    const std::lock_guard<WakeableLock> hold (lock);
    message.reset();
}

void ReplyStore::store (const juce::MidiMessage& newMessage)
{
    {
        const std::lock_guard<WakeableLock> hold (lock);
        message = newMessage;
    }

    lock.wakeAll();
}

void ReplyStore::waitForMessage (juce::uint32 startMs, juce::uint32 limitMs)
{
    while (! message.has_value())
    {
        const auto elapsed = juce::Time::getMillisecondCounter() - startMs;

        if (elapsed >= limitMs)
            return;

        // The lock is released while this sleeps, so that the delivery
        // thread can store the reply that wakes it.
        lock.waitFor (limitMs - elapsed);
    }
}
