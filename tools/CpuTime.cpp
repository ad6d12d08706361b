#include "tools/CpuTime.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace
{
#if defined(_WIN32)
/** Kernel plus user time, which Windows counts in 100-ns units. */
double toMilliseconds (const FILETIME& kernel, const FILETIME& user)
{
    const auto units = [] (const FILETIME& time)
    { return (double) (((unsigned long long) time.dwHighDateTime << 32) | time.dwLowDateTime); };

    return (units (kernel) + units (user)) / 10000.0;
}
#else
double readClock (clockid_t clock)
{
    timespec now {};
    clock_gettime (clock, &now);
    return (double) now.tv_sec * 1000.0 + (double) now.tv_nsec / 1.0e6;
}
#endif
} // namespace

double CpuTime::processMilliseconds()
{
#if defined(_WIN32)
    FILETIME creation, exited, kernel, user;
    return GetProcessTimes (GetCurrentProcess(), &creation, &exited, &kernel, &user) ? toMilliseconds (kernel, user)
                                                                                     : 0.0;
#else
    return readClock (CLOCK_PROCESS_CPUTIME_ID);
#endif
}

double CpuTime::threadMilliseconds()
{
#if defined(_WIN32)
    FILETIME creation, exited, kernel, user;
    return GetThreadTimes (GetCurrentThread(), &creation, &exited, &kernel, &user) ? toMilliseconds (kernel, user)
                                                                                   : 0.0;
#else
    return readClock (CLOCK_THREAD_CPUTIME_ID);
#endif
}
