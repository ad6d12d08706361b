#pragma once

#include <juce_core/juce_core.h>

#if ! JUCE_WINDOWS
#include <condition_variable>
#include <mutex>
#endif

/**
    A lock that a thread holding it can also sleep on until another thread
    wakes it: a mutex and a condition variable in one, usable with
    std::lock_guard.

    On Windows it is an SRW lock and a condition variable of Windows' own,
    which wait on the address itself; the C++ library's there (MinGW's, on
    winpthreads) takes kernel semaphores, and every signal or wait on one
    under Wine is a round trip to the Wine server. Elsewhere it is
    std::mutex and std::condition_variable.
*/
class WakeableLock
{
public:
    WakeableLock() = default;

    /** Takes the lock, waiting for it as long as it takes. */
    void lock();

    /** Releases the lock. */
    void unlock();

    /**
        With the lock held: releases it, sleeps until woken by wakeAll, until
        `milliseconds` have passed, or spuriously, and takes it again.
    */
    void waitFor (juce::uint32 milliseconds);

    /** Wakes every thread that sleeps in waitFor. */
    void wakeAll();

private:
#if JUCE_WINDOWS
    // An SRWLOCK and a CONDITION_VARIABLE: each one pointer, null to begin with,
    // held as such so that this header, which the device link's includes, needs no windows.h.
    void* srwLock = nullptr;
    void* condition = nullptr;
#else
    std::mutex mutex;
    std::condition_variable condition;
#endif

    JUCE_DECLARE_NON_COPYABLE (WakeableLock)
};
