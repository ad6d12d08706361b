#include "device/ReplyStore.h"

#include <chrono>

#if JUCE_WASM
#include "web/WebMidiWait.h"
#endif

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

#if JUCE_WASM
        // A web page receives MIDI on the thread that waits here: the wait
        // hands that thread back to the browser, which delivers the reply
        // meanwhile, until a message arrives or the time is up.
        lock.unlock();
        waitForWebMidiMessage (limitMs - elapsed);
        lock.lock();
#else
        // The condition variable releases the lock while it sleeps, so the
        // delivery thread can store the reply that wakes it.
        messageArrived.wait_for (lock, std::chrono::milliseconds (limitMs - elapsed));
#endif
    }
}
