#include "GuardedCall.h"

#include <cstdio>

struct GuardedCall::Thread
{
    std::function<void()> call;
    DWORD id = 0;
    std::string failure;
};

namespace
{
// Wine's exception for a call into a function that it exports as a stub; its
// two parameters are the names of the DLL and of the function.
constexpr DWORD wineStubException = 0x80000100;

bool isFatal (DWORD code)
{
    return code == wineStubException || (code & 0xF0000000) == 0xC0000000;
}
} // namespace

// The guarded thread that the exception handler looks for: one at a time.
std::shared_ptr<GuardedCall::Thread>* GuardedCall::running = nullptr;

bool GuardedCall::run (std::function<void()> call, DWORD timeoutMilliseconds)
{
    auto thread = std::make_shared<Thread>();
    thread->call = std::move (call);
    failure.clear();
    timedOut = false;

    // The thread owns a reference of its own, which it keeps if it is left behind.
    auto* handle =
        CreateThread (nullptr, 0, threadMain, new std::shared_ptr<Thread> (thread), CREATE_SUSPENDED, &thread->id);

    if (handle == nullptr)
    {
        failure = "the thread for the call could not start";
        return false;
    }

    running = &thread;
    auto* handler = AddVectoredExceptionHandler (1, onException);
    ResumeThread (handle);
    DWORD exitCode = 1;

    timedOut = WaitForSingleObject (handle, timeoutMilliseconds) == WAIT_TIMEOUT;

    if (timedOut)
        failure = "did not return within " + std::to_string (timeoutMilliseconds / 1000) + " s";
    else if (GetExitCodeThread (handle, &exitCode) && exitCode != 0)
        failure = thread->failure;

    RemoveVectoredExceptionHandler (handler);
    running = nullptr;
    CloseHandle (handle);
    return failure.empty();
}

DWORD WINAPI GuardedCall::threadMain (void* reference)
{
    std::unique_ptr<std::shared_ptr<Thread>> thread (static_cast<std::shared_ptr<Thread>*> (reference));
    (*thread)->call();
    return 0;
}

LONG CALLBACK GuardedCall::onException (EXCEPTION_POINTERS* pointers)
{
    const auto& record = *pointers->ExceptionRecord;

    if (running == nullptr || GetCurrentThreadId() != (*running)->id || ! isFatal (record.ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;

    char text[512];

    if (record.ExceptionCode == wineStubException && record.NumberParameters >= 2)
        std::snprintf (text, sizeof (text), "%s's %s is not implemented (Wine's stub exception 0x%08lx)",
                       reinterpret_cast<const char*> (record.ExceptionInformation[0]),
                       reinterpret_cast<const char*> (record.ExceptionInformation[1]), record.ExceptionCode);
    else
        std::snprintf (text, sizeof (text), "exception 0x%08lx", record.ExceptionCode);

    (*running)->failure = text;
    // The call cannot go on: only its own thread ends.
    ExitThread (1);
}
