#include "ui/TransferProgressBar.h"

#include <cmath>

namespace
{
/** The bar's value as a screen reader reads it: a percentage, never set from outside. */
class PercentageValue : public juce::AccessibilityValueInterface
{
public:
    explicit PercentageValue (const TransferProgressBar& barToRead)
        : bar (barToRead)
    {
    }

    bool isReadOnly() const override
    {
        return true;
    }

    double getCurrentValue() const override
    {
        return bar.getPercentage();
    }

    juce::String getCurrentValueAsString() const override
    {
        return juce::String (bar.getPercentage()) + "%";
    }

    void setValue (double) override {}

    void setValueAsString (const juce::String&) override {}

    AccessibleValueRange getRange() const override
    {
        return { { 0.0, 100.0 }, 1.0 };
    }

private:
    const TransferProgressBar& bar;
};
} // namespace

const char* const TransferProgressBar::accessibleTitle = "Firmware update progress";

TransferProgressBar::TransferProgressBar (const std::atomic<double>* sourceToShow)
    : juce::Component ("_progressbar_")
    , source (sourceToShow)
    , currentValue (limit (sourceToShow->load()))
{
    JUCE_ASSERT_MESSAGE_THREAD
    setTitle (accessibleTitle);
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

    const auto percentageBefore = getPercentage();
    currentValue = limit (value);
    requestRepaint();

    if (getPercentage() != percentageBefore)
        if (auto* handler = getAccessibilityHandler())
            handler->notifyAccessibilityEvent (juce::AccessibilityEvent::valueChanged);
}

int TransferProgressBar::getPercentage() const noexcept
{
    // NaN fails the test and counts as nothing sent.
    return currentValue > 0.0 ? (int) std::floor (currentValue * 100.0) : 0;
}

std::unique_ptr<juce::AccessibilityHandler> TransferProgressBar::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (
        *this, juce::AccessibilityRole::progressBar, juce::AccessibilityActions(),
        juce::AccessibilityHandler::Interfaces { std::make_unique<PercentageValue> (*this) });
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
