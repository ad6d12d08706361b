// Runs a call that may land in a function that Windows, or Wine, does not
// implement. Wine exports such a function as a stub that raises an exception
// naming it ("unimplemented function"), which would end the whole program;
// here the call runs on a thread of its own, and an exception ends only that
// thread and is reported, so that the caller can go on and say what failed.

#pragma once

#include <windows.h>

#include <functional>
#include <string>

class GuardedCall
{
public:
    /** Runs the call on a thread of its own and waits for it. True when it returned. */
    bool run (const std::function<void()>& call);

    /** After a failed run: the exception, with the function that Wine names when it was a stub. */
    const std::string& getFailure() const
    {
        return failure;
    }

private:
    static DWORD WINAPI threadMain (void* self);
    static LONG CALLBACK onException (EXCEPTION_POINTERS* pointers);

    const std::function<void()>* call = nullptr;
    DWORD threadId = 0;
    std::string failure;
};
