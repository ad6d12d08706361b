#pragma once

/**
    CPU time as the operating system counts it, in milliseconds: for the
    whole process (every thread, user and system time) or for the calling
    thread alone. Only differences between two readings mean anything.
*/
struct CpuTime
{
    /** CPU time used so far by every thread of the process. */
    static double processMilliseconds();

    /** CPU time used so far by the calling thread. */
    static double threadMilliseconds();
};
