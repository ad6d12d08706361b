// Runs a call that may land in a function that Windows, or Wine, does not
// implement, or that may never return. Wine exports an unimplemented function
// as a stub that raises an exception naming it, which would end the whole
// program; here the call runs on a thread of its own, an exception ends only
// that thread and is reported, and a call that does not return in time is
// left behind, so that the caller can go on and say what failed.

#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class GuardedCall
{
public:
    /** Runs the call on a thread of its own and waits for it, for at most the time given.
        True when it returned. A call left behind keeps what it captured by value alive.
    */
    bool run (std::function<void()> call, DWORD timeoutMilliseconds);

    /** After a failed run: true when the call did not return in time and was left behind. */
    bool didTimeOut() const
    {
        return timedOut;
    }

    /** After a failed run: the exception (with the function, when it was Wine's stub) or the timeout. */
    const std::string& getFailure() const
    {
        return failure;
    }

private:
    struct Thread;

    static DWORD WINAPI threadMain (void* thread);
    static LONG CALLBACK onException (EXCEPTION_POINTERS* pointers);

    static std::shared_ptr<Thread>* running;

    std::string failure;
    bool timedOut = false;
};
