#pragma once

#include <juce_core/juce_core.h>

/**
    A thread that is never started: the benchmarks run a transfer on their own
    thread and hand the device link this in place of the transfer thread,
    whose exit request it only reads.
*/
class IdleThread final : public juce::Thread
{
public:
    IdleThread()
        : juce::Thread ("bench")
    {
    }

    /** Does nothing: the thread is never started. */
    void run() override {}

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (IdleThread)
};
