#include "app/WineRepaintTimer.h"

#include <windows.h>

namespace
{
/** About the rate at which a display's vertical blank would have sent them. */
constexpr int repaintIntervalMilliseconds = 16;
} // namespace

std::unique_ptr<WineRepaintTimer> WineRepaintTimer::startIfUnderWine()
{
    if (! isRunningUnderWine())
        return {};

    return std::unique_ptr<WineRepaintTimer> (new WineRepaintTimer());
}

bool WineRepaintTimer::isRunningUnderWine()
{
    const auto ntdll = GetModuleHandleW (L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress (ntdll, "wine_get_version") != nullptr;
}

WineRepaintTimer::WineRepaintTimer()
{
    JUCE_ASSERT_MESSAGE_THREAD
    startTimer (repaintIntervalMilliseconds);
}

WineRepaintTimer::~WineRepaintTimer()
{
    stopTimer();
}

void WineRepaintTimer::timerCallback()
{
    // A peer's repaint may run code that opens or closes a window, so the
    // count is read anew on each turn.
    for (int i = 0; i < juce::ComponentPeer::getNumPeers(); ++i)
        if (auto* peer = juce::ComponentPeer::getPeer (i))
            peer->performAnyPendingRepaintsNow();
}
