#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/**
    Keeps the windows repainting when the Windows program runs under Wine.

    On Windows, JUCE sends a window's queued repaints to the system only on the
    display's vertical blank, which it waits for through DXGI. Wine does not
    implement that wait, so under Wine a window would keep its first picture
    for ever. This timer sends every window's queued repaints at about the
    display's rate instead. It exists only under Wine: on Windows itself,
    startIfUnderWine() creates nothing.
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

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WineRepaintTimer)
};
