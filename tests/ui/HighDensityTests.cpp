#include "WizardTestSupport.h"

#include "app/ImageRegistry.h"
#include "ui/AboutBox.h"
#include "ui/UpdaterWindow.h"

#include <algorithm>
#include <cstdint>
#include <map>

using namespace WizardTest;

namespace
{
/** A checksum of every pixel of the image (FNV-1a over the ARGB values, row by row). */
std::uint64_t checksumOf (const juce::Image& image)
{
    std::uint64_t hash = 14695981039346656037ull;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            hash ^= image.getPixelAt (x, y).getARGB();
            hash *= 1099511628211ull;
        }

    return hash;
}

/** Expects the image's checksum; when it differs, saves the image as a PNG in the temporary folder and names it. */
void expectChecksum (const juce::Image& image, std::uint64_t expected, const juce::String& name)
{
    if (checksumOf (image) == expected)
        return;

    const auto file = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("vt5150-snapshot-" + name, ".png", false);
    juce::FileOutputStream stream (file);
    const auto saved = stream.openedOk() && juce::PNGImageFormat().writeImageToStream (image, stream);
    ADD_FAILURE() << name << " differs from before: " << (saved ? "see " + file.getFullPathName() : "not saved");
}

/** The about box with its content built, as it is when it opens, but not run modally. */
class OpenedAboutBox : public AboutBox
{
public:
    OpenedAboutBox()
    {
        setUpContent();
    }
};

/**
    The wizard's content on every page, drawn in DejaVu Sans whatever else is
    installed: JUCE takes the first installed of several typefaces on Linux.
*/
class ScaledSnapshotTest : public WizardFixture
{
protected:
    void SetUp() override
    {
        useDefaultTypeface ("DejaVu Sans");
    }

    void TearDown() override
    {
        WizardFixture::TearDown();
        useDefaultTypeface ({});
    }

    static void useDefaultTypeface (const juce::String& name)
    {
        juce::LookAndFeel::getDefaultLookAndFeel().setDefaultSansSerifTypefaceName (name);
        juce::Typeface::clearTypefaceCache();
    }

    /** Snapshots of the window's content, by page, taken on the way through a whole update. */
    std::map<int, juce::Image> snapshotEveryPage()
    {
        std::map<int, juce::Image> snapshots;
        start();

        for (int page = 0; page <= UpdaterWindow::updatePage; ++page)
        {
            EXPECT_EQ (window->getCurrentPage(), page);
            snapshots[page] = snapshotOf (*window->getContentComponent(), 1.0f);

            // Taken before any message is handled, the update page shows the bar at 0 whatever the transfer has done.
            if (page < UpdaterWindow::updatePage)
                window->goToNextPage();
        }

        EXPECT_TRUE (waitForPage (UpdaterWindow::lastPage));
        snapshots[UpdaterWindow::lastPage] = snapshotOf (*window->getContentComponent(), 1.0f);
        return snapshots;
    }

    static juce::Image snapshotOf (juce::Component& component, float scale)
    {
        return component.createComponentSnapshot (component.getLocalBounds(), true, scale);
    }

    /** A snapshot at scale 2 shows the artwork one to one wherever no child lies over it: most of the content. */
    static void expectArtworkWhereNothingLiesOver (juce::Component& content, const juce::Image& snapshot,
                                                   const juce::Image& artwork)
    {
        ASSERT_EQ (snapshot.getBounds(), content.getLocalBounds() * 2);
        // The picture's last column and row fall outside the content.
        ASSERT_EQ (artwork.getWidth(), snapshot.getWidth() + 2);
        ASSERT_EQ (artwork.getHeight(), snapshot.getHeight() + 2);

        int compared = 0, differing = 0;

        for (int y = 0; y < snapshot.getHeight(); ++y)
            for (int x = 0; x < snapshot.getWidth(); ++x)
            {
                const auto covered = std::any_of (content.getChildren().begin(), content.getChildren().end(),
                                                  [point = juce::Point<int> (x / 2, y / 2)] (auto* child)
                                                  { return child->getBounds().contains (point); });

                if (covered)
                    continue;

                ++compared;
                differing += snapshot.getPixelAt (x, y) != artwork.getPixelAt (x, y) ? 1 : 0;
            }

        EXPECT_GT (compared, snapshot.getWidth() * snapshot.getHeight() / 2);
        EXPECT_EQ (differing, 0) << "of " << compared << " pixels";
    }
};
} // namespace

// The checksums of the content as the program drew it before it had the
// double-size pictures (the welcome page's snapshot was then, pixel for pixel,
// the content of the README's screenshot): at 100 % nothing may change by a
// pixel. A change of JUCE, FreeType or DejaVu Sans changes them too; then
// compare the saved pages by eye with those screenshots before taking the new
// values.
TEST_F (ScaledSnapshotTest, AtScale1EveryPageAndTheAboutBoxAreAsBefore)
{
    const std::map<int, std::uint64_t> before { { 0, 0x0fe8d96a6c2e6424 }, { 1, 0x0757bf47878afec9 },
                                                { 2, 0xbd5072c5355f2a8c }, { 3, 0x61ff3d19ccebe8e1 },
                                                { 4, 0xf1ddacf378c21494 }, { 5, 0x582d53b3f99f240f },
                                                { 6, 0xd6297e0599bc19b0 }, { 7, 0xa00e12e6f77ca3c2 } };

    const auto snapshots = snapshotEveryPage();
    ASSERT_EQ (snapshots.size(), before.size());

    for (const auto& [page, snapshot] : snapshots)
    {
        EXPECT_EQ (snapshot.getBounds(), juce::Rectangle<int> (549, 370)) << "page " << page;
        expectChecksum (snapshot, before.at (page), "page" + juce::String (page));
    }

    OpenedAboutBox aboutBox;
    const auto snapshot = snapshotOf (*aboutBox.getContentComponent(), 1.0f);
    EXPECT_EQ (snapshot.getBounds(), juce::Rectangle<int> (430, 190));
    expectChecksum (snapshot, 0xd5fedb617cf5ea2full, "about");
}

TEST_F (ScaledSnapshotTest, AtScale2ThePicturesShowTheDoubleSizeArtworkPixelForPixel)
{
    start();
    auto& content = *window->getContentComponent();
    expectArtworkWhereNothingLiesOver (content, snapshotOf (content, 2.0f),
                                       getDoubleSizeImage (UpdaterWindow::devicePictureId));

    SCOPED_TRACE ("about box");
    OpenedAboutBox aboutBox;
    auto& aboutContent = *aboutBox.getContentComponent();
    expectArtworkWhereNothingLiesOver (aboutContent, snapshotOf (aboutContent, 2.0f),
                                       getDoubleSizeImage (AboutBox::aboutPictureId));
}
