#include "ui/TransferProgressBar.h"

#include <cmath>

TransferProgressBar::TransferProgressBar (const std::atomic<double>* sourceToShow)
    : juce::Component ("_progressbar_")
    , source (sourceToShow)
    , currentValue (limit (sourceToShow->load()))
{
    JUCE_ASSERT_MESSAGE_THREAD
    startTimer (pollIntervalMs);
}

TransferProgressBar::~TransferProgressBar()
{
    stopTimer();
}

double TransferProgressBar::getCurrentValue() const noexcept
{
    return currentValue;
}

void TransferProgressBar::paint (juce::Graphics& g)
{
    const auto width = getWidth();
    const auto height = getHeight();

    g.setColour (juce::Colour (backgroundArgb));
    g.fillRect (0, 0, width, height);

    const auto barWidth = innerBarWidth (width, (float) currentValue);

    if (barWidth > 0 && height > 2)
    {
        g.setColour (juce::Colour (barArgb));
        g.fillRect (1, 1, barWidth, height - 2);
    }
}

void TransferProgressBar::timerCallback()
{
    const auto value = source->load();

    // The raw value is compared with the limited one, so a source that stays
    // out of range (or NaN) asks for a repaint on every tick.
    if (value == currentValue)
        return;

    currentValue = limit (value);
    requestRepaint();
}

double TransferProgressBar::limit (double value) noexcept
{
    if (value < 0.0)
        return 0.0;

    if (value > 1.0)
        return 1.0;

    return value;
}

int TransferProgressBar::innerBarWidth (int width, float progress) noexcept
{
    const auto room = width - 2;
    const auto exact = room * (double) progress;

    // Negative products and NaN both fail this test.
    if (! (exact > 0.0))
        return 0;

    // nearbyint rounds in the default mode, to nearest with halves to even.
    return (int) std::min (std::nearbyint (exact), (double) std::max (room, 0));
}

void TransferProgressBar::requestRepaint()
{
    repaint();
}
