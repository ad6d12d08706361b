#include "WizardTestSupport.h"

#include "app/ImageRegistry.h"
#include "ui/AboutBox.h"
#include "ui/PictureComponent.h"
#include "ui/UpdaterWindow.h"

#include <cstdint>

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
    The wizard's content, drawn in DejaVu Sans whatever else is
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

    static juce::Image snapshotOf (juce::Component& component)
    {
        return component.createComponentSnapshot (component.getLocalBounds());
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
    const std::uint64_t before[] = { 0x0fe8d96a6c2e6424, 0x0757bf47878afec9, 0xbd5072c5355f2a8c, 0x61ff3d19ccebe8e1,
                                     0xf1ddacf378c21494, 0x582d53b3f99f240f, 0xd6297e0599bc19b0, 0xa00e12e6f77ca3c2 };
    start();

    for (int page = 0; page <= UpdaterWindow::lastPage; ++page)
    {
        ASSERT_TRUE (page < UpdaterWindow::lastPage || waitForPage (page));
        ASSERT_EQ (window->getCurrentPage(), page);
        const auto snapshot = snapshotOf (*window->getContentComponent());
        EXPECT_EQ (snapshot.getBounds(), juce::Rectangle<int> (549, 370)) << "page " << page;
        expectChecksum (snapshot, before[page], "page" + juce::String (page));

        // Taken before any message is handled, the update page shows the bar at 0 whatever the transfer has done.
        if (page < UpdaterWindow::updatePage)
            window->goToNextPage();
    }

    OpenedAboutBox aboutBox;
    const auto snapshot = snapshotOf (*aboutBox.getContentComponent());
    EXPECT_EQ (snapshot.getBounds(), juce::Rectangle<int> (430, 190));
    expectChecksum (snapshot, 0xd5fedb617cf5ea2full, "about");
}

// At scale 2 a picture component draws its double-size picture one to one
// (PictureComponentTests); here, the window's and the about box's pictures are
// the registry's double-size pictures.
TEST_F (ScaledSnapshotTest, AtScale2TheWindowAndTheAboutBoxShowTheDoubleSizeArtwork)
{
    start();
    OpenedAboutBox aboutBox;
    const std::pair<juce::Component*, int> pictures[] = {
        { window->getContentComponent(), UpdaterWindow::devicePictureId },
        { aboutBox.getContentComponent(), AboutBox::aboutPictureId }
    };

    for (const auto& [content, id] : pictures)
    {
        auto* picture = dynamic_cast<PictureComponent*> (content);
        ASSERT_NE (picture, nullptr) << "id " << id;
        EXPECT_EQ (picture->getDoubleSizePicture().getBounds(), picture->getPicture().getBounds() * 2) << "id " << id;
        EXPECT_EQ (checksumOf (picture->getDoubleSizePicture()), checksumOf (getDoubleSizeImage (id))) << "id " << id;
    }
}
