#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <memory>

/**
    Keeps the windows repainting when the Windows program runs under Wine.

    On Windows, JUCE sends a window's queued repaints to the system only on the
    display's vertical blank, which it waits for through DXGI. Wine does not
    implement that wait, so under Wine a window would keep its first picture
    for ever. This timer sends every window's queued repaints at about the
    display's rate instead. It exists only under Wine: on Windows itself,
    startIfUnderWine() creates nothing.

    A window that is not opaque is drawn in full at every such call, since
    its picture is handed to the system whole (UpdateLayeredWindow) rather
    than painted where the system asks. The drop shadows around every JUCE
    window are four such windows; redrawn at the display's rate, each of them
    costs the Wine server some thirty requests, thousands a second, and the
    server then answers the MIDI driver late: a transfer took over 10 % longer
    for them. A shadow's picture depends on its bounds alone, so a window
    that is not opaque and takes neither keys nor clicks (a decoration, as a
    shadow is) is drawn only when it is new or its bounds have changed.
*/
class WineRepaintTimer : private juce::Timer
{
public:
    /** A running timer when the program runs under Wine, otherwise nullptr. */
    static std::unique_ptr<WineRepaintTimer> startIfUnderWine();

    /** True when ntdll.dll exports wine_get_version, which only Wine's does. */
    static bool isRunningUnderWine();

    ~WineRepaintTimer() override;

private:
    WineRepaintTimer();

    void timerCallback() override;

    /** True for a decoration that has been drawn already at its present bounds. */
    bool isUnchangedDecoration (juce::ComponentPeer& peer);

    /** The bounds at which each decoration, by its peer's unique id, was last drawn. */
    std::map<juce::uint32, juce::Rectangle<int>> decorationBounds;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WineRepaintTimer)
};
