#include "app/ImageRegistry.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

namespace
{
const char notAPicture[] = "not a picture";
} // namespace

// Which picture each built-in id shows is seen by the window's page tests;
// here, the registry's own rules.
TEST (ImageRegistry, OnlyRegisteredIdsDecodeWithAlphaIntoIndependentPicturesUntilClearedAndTheFirstRegistrationStays)
{
    clearImageRegistry();
    EXPECT_TRUE (getImage (0).isNull());
    registerImage (0, "About.png", EmbeddedResources::aboutPictureSize, EmbeddedResources::aboutPicture);
    registerDoubleSizeImage (0, "About@2x.png", EmbeddedResources::aboutPictureDoubleSizeSize,
                             EmbeddedResources::aboutPictureDoubleSize);
    registerBuiltInImages();
    registerImage (2, "Other.png", 0, nullptr);
    registerDoubleSizeImage (2, "Other.png", 0, nullptr);

    for (auto id : { 0, 2 })
    {
        // Both are the about picture: the device picture is higher.
        EXPECT_EQ (getImage (id).getBounds(), juce::Rectangle<int> (431, 191)) << "id " << id;
        EXPECT_EQ (getDoubleSizeImage (id).getBounds(), juce::Rectangle<int> (862, 382)) << "id " << id;
        EXPECT_TRUE (getImage (id).hasAlphaChannel() && getDoubleSizeImage (id).hasAlphaChannel()) << "id " << id;
    }

    auto first = getImage (0);
    const auto original = getImage (0).getPixelAt (300, 100);
    first.setPixelAt (300, 100, juce::Colour (0xff123456));
    EXPECT_NE (first.getPixelAt (300, 100), original);
    EXPECT_EQ (getImage (0).getPixelAt (300, 100), original) << "every look-up gives a picture of its own";

    for (auto id : { 1, 3, -1, 1000 })
        EXPECT_TRUE (getImage (id).isNull() && getDoubleSizeImage (id).isNull()) << "id " << id;

    clearImageRegistry();

    for (auto id : { 0, 2 })
        EXPECT_TRUE (getImage (id).isNull() && getDoubleSizeImage (id).isNull()) << "id " << id;
}

TEST (ImageRegistry, EachDoubleSizePictureIsItsPictureDrawnAtTwiceTheSize)
{
    clearImageRegistry();
    registerBuiltInImages();

    // Halved by averaging each square of four pixels, the double size comes within a few levels of the
    // picture, which is reduced from the same drawing; another picture, or another drawing, does not.
    for (auto id : { 0, 2 })
    {
        const auto picture = getImage (id);
        const auto doubleSize = getDoubleSizeImage (id);
        double difference = 0.0;

        for (int y = 0; y < picture.getHeight(); ++y)
            for (int x = 0; x < picture.getWidth(); ++x)
                for (auto level : { &juce::Colour::getRed, &juce::Colour::getGreen, &juce::Colour::getBlue })
                {
                    const auto at = [&] (int dx, int dy)
                    { return (doubleSize.getPixelAt (2 * x + dx, 2 * y + dy).*level)(); };
                    difference += std::abs ((at (0, 0) + at (1, 0) + at (0, 1) + at (1, 1)) / 4.0 -
                                            (picture.getPixelAt (x, y).*level)());
                }

        EXPECT_LT (difference / (3.0 * picture.getWidth() * picture.getHeight()), 3.0) << "id " << id;
    }
}

TEST (ImageRegistry, PicturesThatDoNotDecodeComeFromTheResourcesFolderBesideTheFirstWorkingDirectory)
{
    clearImageRegistry();
    // The folder is computed only once per process, so this is the only test here that loads from it.
    const juce::ScopeGuard restore { [saved = juce::File::getCurrentWorkingDirectory()]
                                     { saved.setAsCurrentWorkingDirectory(); } };
    const auto root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("vt5150-pictures", {}, false);
    const juce::ScopeGuard removeTree { [root] { root.deleteRecursively(); } };
    const auto resources = root.getChildFile ("Work/Resources");
    ASSERT_TRUE (resources.createDirectory() && root.getChildFile ("Work/Updater").createDirectory());
    {
        juce::FileOutputStream stream (resources.getChildFile ("x.png"));
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (juce::Image (juce::Image::ARGB, 7, 5, true), stream));
    }

    ASSERT_TRUE (root.getChildFile ("Work/Updater").setAsCurrentWorkingDirectory());
    const auto folder = getResourcesFolder();
    EXPECT_EQ (folder, juce::File::getCurrentWorkingDirectory().getSiblingFile ("Resources").getFullPathName() +
                           juce::File::getSeparatorString());

    ASSERT_TRUE (root.setAsCurrentWorkingDirectory());
    EXPECT_EQ (getResourcesFolder(), folder) << "computed only once";

    // A positive count without bytes is never read.
    const std::tuple<const char*, int, const void*, int> cases[] = {
        { "x.png", 0, nullptr, 7 },
        { "x.png", (int) sizeof (notAPicture), notAPicture, 7 },
        { "x.png", 100, nullptr, 7 },
        { "missing.png", 0, nullptr, 0 },
        { "missing.png", (int) sizeof (notAPicture), notAPicture, 0 },
    };
    int id = 10;

    for (const auto& [name, size, bytes, width] : cases)
    {
        registerImage (++id, name, size, bytes);
        EXPECT_EQ (getImage (id).getWidth(), width) << name << ", " << size << " bytes";
    }

    registerDoubleSizeImage (++id, "x.png", (int) sizeof (notAPicture), notAPicture);
    EXPECT_EQ (getDoubleSizeImage (id).getWidth(), 7) << "double-size pictures fall back the same way";
    EXPECT_TRUE (getImage (id).isNull()) << "and stay apart from the pictures";
}

namespace
{
/** Runs in a fresh process: with the working directory at the root, nothing is looked for. */
[[noreturn]] void lookUpFromTheRoot()
{
    auto root = juce::File::getCurrentWorkingDirectory();

    while (! root.isRoot())
        root = root.getParentDirectory();

    root.setAsCurrentWorkingDirectory();
    registerImage (20, "VT5150.png", 0, nullptr);
    std::_Exit (getResourcesFolder().isEmpty() && getImage (20).isNull() ? 0 : 1);
}
} // namespace

TEST (ResourcesFolderAtTheRoot, IsEmptySoNoFileIsRead)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (lookUpFromTheRoot(), testing::ExitedWithCode (0), "");
}
