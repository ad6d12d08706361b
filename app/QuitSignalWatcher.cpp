#include "app/QuitSignalWatcher.h"

#include <csignal>

namespace
{
volatile std::sig_atomic_t quitSignalPending = 0;

extern "C" void noteQuitSignal (int)
{
    quitSignalPending = 1;
}

// SIGINT included: JUCE's own handler for it would quit unconditionally, even
// in the middle of a firmware transfer.
constexpr int quitSignals[] = {
    SIGTERM,
    SIGINT,
#ifdef SIGHUP
    SIGHUP,
#endif
};
} // namespace

QuitSignalWatcher::QuitSignalWatcher (std::function<void()> callback)
    : onQuitSignal (std::move (callback))
{
    JUCE_ASSERT_MESSAGE_THREAD

    quitSignalPending = 0;

    for (const auto signalNumber : quitSignals)
        std::signal (signalNumber, noteQuitSignal);

    startTimer (100);
}

QuitSignalWatcher::~QuitSignalWatcher()
{
    stopTimer();

    for (const auto signalNumber : quitSignals)
        std::signal (signalNumber, SIG_DFL);
}

void QuitSignalWatcher::timerCallback()
{
    if (quitSignalPending != 0)
    {
        quitSignalPending = 0;
        onQuitSignal();
    }
}
