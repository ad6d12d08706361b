#include "ui/TransferProgressBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
const juce::Colour backdrop (0xff204060);

// A bar that counts the repaints it asks for, and still asks for them.
class CountingBar : public TransferProgressBar
{
public:
    CountingBar (const std::atomic<double>* barSource, int& counter)
        : TransferProgressBar (barSource)
        , repaintRequests (counter)
    {
    }

protected:
    void requestRepaint() override
    {
        ++repaintRequests;
        TransferProgressBar::requestRepaint();
    }

private:
    int& repaintRequests;
};

int channelDistance (juce::Colour a, juce::Colour b)
{
    return std::max ({ std::abs (a.getRed() - b.getRed()), std::abs (a.getGreen() - b.getGreen()),
                       std::abs (a.getBlue() - b.getBlue()) });
}

// What an 8-bit source-over blend of `top` on the opaque `bottom` gives.
juce::Colour over (juce::Colour bottom, juce::uint32 topArgb)
{
    const juce::Colour top (topArgb);
    const auto alpha = top.getAlpha();
    const auto mix = [alpha] (int t, int b) { return (juce::uint8) ((t * alpha + b * (255 - alpha) + 127) / 255); };
    return juce::Colour (mix (top.getRed(), bottom.getRed()), mix (top.getGreen(), bottom.getGreen()),
                         mix (top.getBlue(), bottom.getBlue()));
}

juce::Image render (TransferProgressBar& bar, int width, int height)
{
    bar.setSize (width, height);
    juce::Image image (juce::Image::RGB, std::max (width, 1), std::max (height, 1), true);
    juce::Graphics g (image);
    g.fillAll (backdrop);
    bar.paintEntireComponent (g, true);
    return image;
}

// Checks every pixel: the inner bar from (1, 1), `barWidth` wide and height - 2
// high, over the translucent white fill, over the backdrop.
::testing::AssertionResult showsBar (const juce::Image& image, int barWidth)
{
    const auto outer = over (backdrop, TransferProgressBar::backgroundArgb);
    const auto inner = over (outer, TransferProgressBar::barArgb);

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const bool inBar = x >= 1 && x < 1 + barWidth && y >= 1 && y < image.getHeight() - 1;
            const auto expected = inBar ? inner : outer;
            const auto actual = image.getPixelAt (x, y);

            if (channelDistance (expected, actual) > 2)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << actual.toDisplayString (false) << ", expected "
                       << expected.toDisplayString (false) << (inBar ? " (bar)" : " (background)");
        }

    return ::testing::AssertionSuccess();
}

struct BarCase
{
    double source;
    int width, height, barWidth;
};

void expectLooks (const BarCase& c)
{
    std::atomic<double> source{ c.source };
    TransferProgressBar bar (&source);
    EXPECT_TRUE (showsBar (render (bar, c.width, c.height), c.barWidth))
        << "source " << c.source << ", " << c.width << " x " << c.height;
}
} // namespace

TEST (TransferProgressBar, IsANamedTransparentComponentThatReadsItsSourceAtOnce)
{
    std::atomic<double> source{ 0.25 };
    TransferProgressBar bar (&source);

    EXPECT_EQ (bar.getName(), "_progressbar_");
    EXPECT_FALSE (bar.isOpaque());
    EXPECT_EQ (bar.getCurrentValue(), 0.25);
    EXPECT_TRUE (bar.isTimerRunning());
    EXPECT_EQ (bar.getTimerInterval(), 100);

    // Drawn before any tick: a quarter of the 100 pixels inside the edges.
    EXPECT_TRUE (showsBar (render (bar, 102, 25), 25));
}

TEST (TransferProgressBar, DrawsTheBarWidthRoundedHalfToEven)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    const BarCase
        cases[] = {
            { 0.5, 549, 25, 274 }, // 273.5 rounds to the even 274
            { 0.5, 551, 25, 274 }, // 274.5 rounds down to the even 274
            { 0.5, 7, 10, 2 },     // 2.5 rounds down to 2
            { 0.3, 12, 10, 3 },    // 3.0000001 as float
            { 0.0, 549, 25, 0 },   { -0.0, 549, 25, 0 }, { 1.0, 549, 25, 547 },
            { -0.2, 549, 25, 0 },  { -inf, 100, 25, 0 }, { 1.5, 549, 25, 547 },
            { inf, 100, 25, 98 },  { nan, 549, 25, 0 },  { 1.0, 2, 25, 0 }, // no room inside the edges
            { 1.0, 1, 25, 0 },                                              // narrower than the edges
            { 1.0, 100, 2, 0 },                                             // no height inside the edges
            { 0.75, 3, 3, 1 },
        };

    for (const auto& c : cases)
        expectLooks (c);
}

TEST (TransferProgressBar, AsksForARepaintOnlyWhenTheSourceChanged)
{
    std::atomic<double> source{ 0.3 };
    int repaints = 0;
    CountingBar bar (&source, repaints);

    for (int i = 0; i < 5; ++i)
        bar.timerCallback();

    EXPECT_EQ (repaints, 0);

    source = 0.4;
    bar.timerCallback();
    bar.timerCallback();
    EXPECT_EQ (repaints, 1);
    EXPECT_EQ (bar.getCurrentValue(), 0.4);

    // Minus zero equals zero: no change.
    source = 0.0;
    bar.timerCallback();
    source = -0.0;
    bar.timerCallback();
    EXPECT_EQ (repaints, 2);
}

TEST (TransferProgressBar, AsksForARepaintOnEveryTickWhileTheSourceIsOutOfRange)
{
    std::atomic<double> source{ 0.0 };
    int repaints = 0;
    CountingBar bar (&source, repaints);

    struct OutOfRange
    {
        double source, stored;
    };

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const OutOfRange cases[] = {
        { 1.5, 1.0 }, { -0.2, 0.0 }, { -std::numeric_limits<double>::infinity(), 0.0 }, { nan, nan }
    };
    int expected = 0;

    for (const auto& c : cases)
    {
        source = c.source;

        for (int i = 0; i < 3; ++i)
        {
            bar.timerCallback();
            EXPECT_EQ (repaints, ++expected) << c.source;
        }

        if (std::isnan (c.stored))
            EXPECT_TRUE (std::isnan (bar.getCurrentValue()));
        else
            EXPECT_EQ (bar.getCurrentValue(), c.stored) << c.source;
    }

    // Back to a value the bar already holds after limiting: nothing to redraw.
    source = 1.5;
    bar.timerCallback();
    source = 1.0;
    repaints = 0;
    bar.timerCallback();
    EXPECT_EQ (repaints, 0);
}

TEST (TransferProgressBar, TicksOnTheMessageLoopUntilDestroyed)
{
    // A source above 1 makes every tick ask for a repaint, so the count is the number of ticks.
    std::atomic<double> source{ 2.0 };
    int ticks = 0;
    auto bar = std::make_unique<CountingBar> (&source, ticks);

    juce::MessageManager::getInstance()->runDispatchLoopUntil (1000);
    EXPECT_GE (ticks, 3);
    EXPECT_LE (ticks, 12);

    bar.reset();
    const auto ticksWhenDestroyed = ticks;
    source = 3.0;
    juce::MessageManager::getInstance()->runDispatchLoopUntil (400);
    EXPECT_EQ (ticks, ticksWhenDestroyed);
}

TEST (TransferProgressBar, AChangeReachesTheScreen)
{
    // A bar in a window of its own, counting what it actually paints.
    struct PaintCountingBar : TransferProgressBar
    {
        using TransferProgressBar::TransferProgressBar;

        void paint (juce::Graphics& g) override
        {
            TransferProgressBar::paint (g);
            ++paints;
        }

        int paints = 0;
    };

    std::atomic<double> source{ 0.1 };
    PaintCountingBar bar (&source);
    bar.setBounds (100, 100, 549, 25);
    bar.addToDesktop (0);
    bar.setVisible (true);

    const auto waitForPaint = [&bar]
    {
        for (int i = 0; i < 40 && bar.paints == 0; ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
        return bar.paints > 0;
    };

    ASSERT_TRUE (waitForPaint());
    bar.paints = 0;
    source = 0.6;
    EXPECT_TRUE (waitForPaint());
    EXPECT_EQ (bar.getCurrentValue(), 0.6);
    bar.removeFromDesktop();
}
