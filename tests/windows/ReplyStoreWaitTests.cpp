#include "device/ReplyStore.h"

#include <gtest/gtest.h>

#include <thread>

// The reply store's wait on Windows, where it sleeps on Windows' own SRW lock
// and condition variable: run under Wine, whose versions of them wait on
// futexes. What the store keeps, and for how long, the device link's tests
// check on Linux with the same code.

namespace
{
/** Waits up to `limitMs` for what the store holds; its size, or -1 if nothing came. */
int awaitSize (ReplyStore& store, juce::uint32 limitMs)
{
    return store
        .awaitAndInspect (juce::Time::getMillisecondCounter(), limitMs,
                          [] (const juce::MidiMessage& message) { return message.getRawDataSize(); })
        .value_or (-1);
}
} // namespace

TEST (ReplyStoreOnWindows, WaitEndsAtItsLimitOrAtOnceWhenAMessageIsStored)
{
    ReplyStore store;
    auto start = juce::Time::getMillisecondCounter();
    const auto elapsed = [&start] { return juce::Time::getMillisecondCounter() - start; };

    EXPECT_EQ (awaitSize (store, 300), -1);
    EXPECT_GE (elapsed(), 300u);
    EXPECT_LT (elapsed(), 300u + 250u);

    // Stored by another thread while the wait sleeps: it wakes long before its limit.
    std::thread delivery (
        [&store]
        {
            juce::Thread::sleep (50);
            store.store (juce::MidiMessage (0x80, 0x3c, 0x00));
        });

    start = juce::Time::getMillisecondCounter();
    EXPECT_EQ (awaitSize (store, 1000), 3);
    EXPECT_LT (elapsed(), 500u);
    delivery.join();
}
