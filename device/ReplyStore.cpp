#include "device/ReplyStore.h"

#include <chrono>

void ReplyStore::clear()
{
    const std::lock_guard<std::mutex> lock (mutex);
    message.reset();
}

void ReplyStore::store (const juce::MidiMessage& newMessage)
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        message = newMessage;
    }

    messageArrived.notify_all();
}

void ReplyStore::waitForMessage (std::unique_lock<std::mutex>& lock, juce::uint32 startMs, juce::uint32 limitMs)
{
    while (! message.has_value())
    {
        const auto elapsed = juce::Time::getMillisecondCounter() - startMs;

        if (elapsed >= limitMs)
            return;

        // The condition variable releases the lock while it sleeps, so the
        // delivery thread can store the reply that wakes it.
        messageArrived.wait_for (lock, std::chrono::milliseconds (limitMs - elapsed));
    }
}
