#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/**
    Turns the operating system's requests to end the program (SIGTERM, SIGINT,
    SIGHUP) into a call on the message thread, instead of an end at once, so
    that the application can refuse or defer them like any other quit request.

    The signal handler only notes the request; a timer on the message thread
    picks it up within a tenth of a second. Only one watcher may exist at a time.
*/
class QuitSignalWatcher : private juce::Timer
{
public:
    /** Installs the signal handlers; `onQuitSignal` runs on the message thread for each request noted. */
    explicit QuitSignalWatcher (std::function<void()> onQuitSignal);

    /** Restores the signals' default actions. */
    ~QuitSignalWatcher() override;

private:
    void timerCallback() override;

    std::function<void()> onQuitSignal;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuitSignalWatcher)
};
