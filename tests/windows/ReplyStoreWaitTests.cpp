#include "device/ReplyStore.h"

#include <gtest/gtest.h>

#include <thread>

// The reply store's wait on Windows, where it sleeps on Windows' own SRW lock
// and condition variable: run under Wine, whose versions of them wait on futexes.

namespace
{
const juce::uint8 ack[] = { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7 };

/** Waits up to `limitMs` for what the store holds; its size, or -1 if nothing came. */
int awaitSize (ReplyStore& store, juce::uint32 limitMs)
{
    return store
        .awaitAndInspect (juce::Time::getMillisecondCounter(), limitMs,
                          [] (const juce::MidiMessage& message) { return message.getRawDataSize(); })
        .value_or (-1);
}

juce::uint32 millisecondsSince (juce::uint32 start)
{
    return juce::Time::getMillisecondCounter() - start;
}
} // namespace

TEST (ReplyStoreOnWindows, WaitEndsAtItsLimitOrAtOnceWhenAMessageIsStored)
{
    ReplyStore store;

    auto start = juce::Time::getMillisecondCounter();
    EXPECT_EQ (awaitSize (store, 300), -1);
    EXPECT_GE (millisecondsSince (start), 300u);
    EXPECT_LT (millisecondsSince (start), 300u + 250u);

    // Stored by another thread while the wait sleeps: it wakes long before its limit.
    std::thread delivery (
        [&store]
        {
            juce::Thread::sleep (50);
            store.store (juce::MidiMessage (ack, (int) sizeof (ack)));
        });

    start = juce::Time::getMillisecondCounter();
    EXPECT_EQ (awaitSize (store, 1000), (int) sizeof (ack));
    EXPECT_LT (millisecondsSince (start), 500u);
    delivery.join();

    // The judged message stays until the store is emptied; two stored before a look leave the last.
    EXPECT_EQ (awaitSize (store, 0), (int) sizeof (ack));
    store.store (juce::MidiMessage (0xfe));
    store.store (juce::MidiMessage (0x80, 0x3c, 0x00));
    EXPECT_EQ (awaitSize (store, 0), 3);
    store.clear();
    EXPECT_EQ (awaitSize (store, 0), -1);
}
