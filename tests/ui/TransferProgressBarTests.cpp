#include "tests/MessageLoop.h"
#include "ui/TransferProgressBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const juce::Colour backdrop (0xff204060);

// A bar that counts the repaints that it asks for (and still asks for them), and its paints.
class CountingBar : public TransferProgressBar
{
public:
    using TransferProgressBar::TransferProgressBar;

    void paint (juce::Graphics& g) override
    {
        TransferProgressBar::paint (g);
        ++paints;
    }

    void requestRepaint() override
    {
        ++repaints;
        TransferProgressBar::requestRepaint();
    }

    int paints = 0, repaints = 0;
};

// Checks every pixel, within 2 levels: the inner bar from (1, 1), `barWidth`
// wide and height - 2 high, over the translucent white fill, over the backdrop.
::testing::AssertionResult showsBar (const juce::Image& image, int barWidth)
{
    const auto outer = backdrop.overlaidWith (juce::Colour (TransferProgressBar::backgroundArgb));
    const auto inner = outer.overlaidWith (juce::Colour (TransferProgressBar::barArgb));
    const auto near = [] (juce::uint8 a, juce::uint8 b) { return std::abs (a - b) <= 2; };

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const bool inBar = x >= 1 && x < 1 + barWidth && y >= 1 && y < image.getHeight() - 1;
            const auto expected = inBar ? inner : outer;
            const auto actual = image.getPixelAt (x, y);

            if (! near (expected.getRed(), actual.getRed()) || ! near (expected.getGreen(), actual.getGreen()) ||
                ! near (expected.getBlue(), actual.getBlue()))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                     << actual.toDisplayString (false) << (inBar ? " in" : " outside");
        }

    return ::testing::AssertionSuccess();
}
} // namespace

TEST (TransferProgressBar, DrawsItsSourceLimitedAndRoundedHalfToEvenFromTheStart)
{
    struct Case
    {
        double source;
        int width, height, barWidth;
    };

    const Case cases[] = {
        { 0.5, 549, 25, 274 }, // 273.5 rounds up to the even 274
        { 0.5, 551, 25, 274 }, // 274.5 rounds down to the even 274
        { 0.3, 12, 10, 3 },    // 3.0000001 as float
        { 0.0, 549, 25, 0 },
        { 1.0, 549, 25, 547 },
        { -0.2, 549, 25, 0 },
        { 1.5, 549, 25, 547 },
        { std::numeric_limits<double>::quiet_NaN(), 549, 25, 0 },
        { 1.0, 1, 25, 0 },  // narrower than the edges
        { 1.0, 100, 2, 0 }, // no height inside the edges
    };

    // Drawn before any tick, so the source is read when the bar is made.
    for (const auto& c : cases)
    {
        std::atomic<double> source { c.source };
        TransferProgressBar bar (&source);
        bar.setSize (c.width, c.height);
        juce::Image image (juce::Image::RGB, c.width, c.height, true);
        juce::Graphics g (image);
        g.fillAll (backdrop);
        bar.paintEntireComponent (g, true);
        EXPECT_TRUE (showsBar (image, c.barWidth)) << "source " << c.source << ", " << c.width << " x " << c.height;
    }
}

TEST (TransferProgressBar, AsksForARepaintOnChangeAndOnEveryTickWhileOutOfRangeAndReadsAsWholePercentsNeverAhead)
{
    std::atomic<double> source { 0.3 };
    CountingBar bar (&source);
    // JUCE offers screen readers only what lies in a window.
    bar.setSize (549, 25);
    bar.addToDesktop (0);
    // Its role and name, and that it has nothing to press, are read in WizardAccessibilityTests.
    auto* value = bar.getAccessibilityHandler()->getValueInterface();
    ASSERT_NE (value, nullptr);
    EXPECT_TRUE (value->isReadOnly());
    EXPECT_EQ (value->getRange().getMinimumValue(), 0.0);
    EXPECT_EQ (value->getRange().getMaximumValue(), 100.0);

    struct Step
    {
        double source;
        int ticks, repaintsAfter;
        double shown;
        const char* heard;
    };

    const auto nan = std::numeric_limits<double>::quiet_NaN();
    const Step steps[] = {
        { 0.3, 3, 0, 0.3, "30%" },                                 // as read when made
        { 0.426, 2, 1, 0.426, "42%" },                             // one change, one repaint; rounded down
        { 0.999, 1, 2, 0.999, "99%" },                             // not done yet
        { 0.0, 1, 3, 0.0, "0%" },      { -0.0, 1, 3, 0.0, "0%" },  // minus zero equals zero
        { 1.5, 3, 6, 1.0, "100%" },    { 1.0, 1, 6, 1.0, "100%" }, // the limited value already shown
        { -0.2, 2, 8, 0.0, "0%" },     { nan, 2, 10, nan, "0%" },
    };

    for (const auto& step : steps)
    {
        source = step.source;

        for (int i = 0; i < step.ticks; ++i)
            bar.timerCallback();

        EXPECT_EQ (bar.repaints, step.repaintsAfter) << "source " << step.source;
        const auto shown = bar.getCurrentValue();
        EXPECT_TRUE (shown == step.shown || (std::isnan (shown) && std::isnan (step.shown))) << step.source;
        EXPECT_EQ (value->getCurrentValueAsString(), step.heard) << step.source;
        EXPECT_EQ (value->getCurrentValue(), juce::String (step.heard).getDoubleValue()) << step.source;
    }

    value->setValue (50.0);
    EXPECT_EQ (value->getCurrentValueAsString(), "0%") << "a screen reader cannot move the bar";
}

TEST (TransferProgressBar, OnTheMessageLoopAChangeReachesTheScreenAndOutOfRangeTicksAskForRepaintsTenTimesASecond)
{
    std::atomic<double> source { 0.1 };
    CountingBar bar (&source);
    bar.setBounds (100, 100, 549, 25);
    bar.addToDesktop (0);
    bar.setVisible (true);

    ASSERT_TRUE (pumpUntil ([&] { return bar.paints > 0; }, 2000));
    bar.paints = 0;
    source = 0.6;
    EXPECT_TRUE (pumpUntil ([&] { return bar.paints > 0; }, 2000));

    // Above 1 every tick asks for a repaint, so the count is the number of ticks.
    source = 2.0;
    bar.repaints = 0;
    pump (1000);
    EXPECT_GE (bar.repaints, 3);
    EXPECT_LE (bar.repaints, 12);
}
