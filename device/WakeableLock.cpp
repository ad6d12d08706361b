#include "device/WakeableLock.h"

#if JUCE_WASM
#include "web/WebMidiWait.h"
#endif

#if JUCE_WINDOWS
#include <windows.h>

static_assert (sizeof (SRWLOCK) == sizeof (void*) && sizeof (CONDITION_VARIABLE) == sizeof (void*),
               "SRWLOCK_INIT and CONDITION_VARIABLE_INIT are a single null pointer");

void WakeableLock::lock()
{
    AcquireSRWLockExclusive (reinterpret_cast<SRWLOCK*> (&srwLock));
}

void WakeableLock::unlock()
{
    ReleaseSRWLockExclusive (reinterpret_cast<SRWLOCK*> (&srwLock));
}

void WakeableLock::waitFor (juce::uint32 milliseconds)
{
    SleepConditionVariableSRW (reinterpret_cast<CONDITION_VARIABLE*> (&condition),
                               reinterpret_cast<SRWLOCK*> (&srwLock), (DWORD) milliseconds, 0);
}

void WakeableLock::wakeAll()
{
    WakeAllConditionVariable (reinterpret_cast<CONDITION_VARIABLE*> (&condition));
}
#else
void WakeableLock::lock()
{
    mutex.lock();
}

void WakeableLock::unlock()
{
    mutex.unlock();
}

void WakeableLock::waitFor (juce::uint32 milliseconds)
{
#if JUCE_WASM
    // A web page receives MIDI on the one thread that waits here: the wait
    // hands that thread back to the browser, which delivers the reply
    // meanwhile, until a message arrives or the time is up.
    mutex.unlock();
    waitForWebMidiMessage (milliseconds);
    mutex.lock();
#else
    // The caller holds the mutex: the wait borrows that hold and gives it back.
    std::unique_lock<std::mutex> held (mutex, std::adopt_lock);
    condition.wait_for (held, std::chrono::milliseconds (milliseconds));
    held.release();
#endif
}

void WakeableLock::wakeAll()
{
    condition.notify_all();
}
#endif
