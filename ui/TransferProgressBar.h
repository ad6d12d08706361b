#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/**
    The bar on the update page that shows how far the firmware transfer has got.

    It is told nothing by the transfer: it polls a shared progress value ten
    times a second on the message thread and repaints only when that value has
    changed. Values below 0 are shown as 0 and values above 1 as 1; NaN is kept
    and drawn as an empty bar. The bar shows no text and takes no input; a
    screen reader hears it as a progress bar, named for the firmware update, whose value is the percentage
    sent, told of each whole percent as the transfer goes on.
*/
class TransferProgressBar : public juce::Component, public juce::Timer
{
public:
    /** The fill of the whole rectangle: white at alpha 0.6. */
    static constexpr juce::uint32 backgroundArgb = 0x99ffffff;

    /** The fill of the inner bar: green (0xFF008000) with its alpha byte set to 178. */
    static constexpr juce::uint32 barArgb = 0xb2008000;

    /** What a screen reader calls the bar. */
    static const char* const accessibleTitle;

    /** How often the source is read. */
    static constexpr int pollIntervalMs = 100;

    /**
        Creates a bar named "_progressbar_" showing the value at `sourceToShow`, which
        must outlive the bar. The value is read once now and then on every tick.
    */
    explicit TransferProgressBar (const std::atomic<double>* sourceToShow);

    /** Stops the timer before anything else goes, so no tick can arrive during or after destruction. */
    ~TransferProgressBar() override;

    /** The limited value last read from the source; this is what is drawn. */
    double getCurrentValue() const noexcept;

    /** Draws the bar over the whole component. */
    void paint (juce::Graphics& g) override;

    /** Reads the source and asks for a repaint when the raw value differs from the current one. */
    void timerCallback() override;

    /** The current value as a whole percentage, 0 to 100 (0 for NaN), e.g. 42 for 0.42. */
    int getPercentage() const noexcept;

    /** A read-only progress bar from 0 to 100 for screen readers, its value written as e.g. "42%". */
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

protected:
    /** Asks for an asynchronous repaint of the whole bar; called by every tick that saw a change. */
    virtual void requestRepaint();

private:
    /** Maps a value below 0 to 0 and a value above 1 to 1; everything else, NaN included, stays as it is. */
    static double limit (double value) noexcept;

    /**
        The inner bar's width for a rectangle `width` pixels wide at `progress`:
        (width - 2) * progress rounded half to even, kept within 0 to width - 2;
        0 for NaN.
    */
    static int innerBarWidth (int width, float progress) noexcept;

    const std::atomic<double>* source;
    double currentValue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TransferProgressBar)
};
