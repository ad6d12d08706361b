#include "GuardedCall.h"

#include <cstdio>

namespace
{
// Wine's exception for a call into a function that it exports as a stub; its
// two parameters are the names of the DLL and of the function.
constexpr DWORD wineStubException = 0x80000100;

// One guarded call at a time: the exception handler finds it here.
GuardedCall* running = nullptr;

bool isFatal (DWORD code)
{
    return code == wineStubException || (code & 0xF0000000) == 0xC0000000;
}
} // namespace

bool GuardedCall::run (const std::function<void()>& callToRun)
{
    call = &callToRun;
    failure.clear();
    running = this;

    auto* handler = AddVectoredExceptionHandler (1, onException);
    auto* thread = CreateThread (nullptr, 0, threadMain, this, 0, &threadId);
    DWORD exitCode = 1;

    if (thread == nullptr)
    {
        failure = "the thread for the call could not start";
    }
    else
    {
        WaitForSingleObject (thread, INFINITE);
        GetExitCodeThread (thread, &exitCode);
        CloseHandle (thread);
    }

    RemoveVectoredExceptionHandler (handler);
    running = nullptr;
    return exitCode == 0;
}

DWORD WINAPI GuardedCall::threadMain (void* self)
{
    (*static_cast<GuardedCall*> (self)->call)();
    return 0;
}

LONG CALLBACK GuardedCall::onException (EXCEPTION_POINTERS* pointers)
{
    const auto& record = *pointers->ExceptionRecord;

    if (running == nullptr || GetCurrentThreadId() != running->threadId || ! isFatal (record.ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;

    char text[512];

    if (record.ExceptionCode == wineStubException && record.NumberParameters >= 2)
        std::snprintf (text, sizeof (text), "%s's %s is not implemented (Wine's stub exception 0x%08lx)",
                       reinterpret_cast<const char*> (record.ExceptionInformation[0]),
                       reinterpret_cast<const char*> (record.ExceptionInformation[1]), record.ExceptionCode);
    else
        std::snprintf (text, sizeof (text), "exception 0x%08lx", record.ExceptionCode);

    running->failure = text;
    // The call cannot go on: only its own thread ends.
    ExitThread (1);
}
