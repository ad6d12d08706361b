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
    std::map<juce::uint32, juce::Rectangle<int>> stillShown;

    // A peer's repaint may run code that opens or closes a window, so the
    // count is read anew on each turn.
    for (int i = 0; i < juce::ComponentPeer::getNumPeers(); ++i)
    {
        if (auto* peer = juce::ComponentPeer::getPeer (i))
        {
            if (! isUnchangedDecoration (*peer))
                peer->performAnyPendingRepaintsNow();

            if (const auto drawn = decorationBounds.find (peer->getUniqueID()); drawn != decorationBounds.end())
                stillShown.insert (*drawn);
        }
    }

    // Forgets the decorations that have gone, whose ids are not used again.
    decorationBounds.swap (stillShown);
}

bool WineRepaintTimer::isUnchangedDecoration (juce::ComponentPeer& peer)
{
    constexpr auto inputIgnored =
        juce::ComponentPeer::windowIgnoresKeyPresses | juce::ComponentPeer::windowIgnoresMouseClicks;

    if (peer.getComponent().isOpaque() || (peer.getStyleFlags() & inputIgnored) != inputIgnored)
        return false;

    const auto bounds = peer.getBounds();
    const auto [entry, isNew] = decorationBounds.try_emplace (peer.getUniqueID(), bounds);

    if (isNew || entry->second != bounds)
    {
        entry->second = bounds;
        return false;
    }

    return true;
}
