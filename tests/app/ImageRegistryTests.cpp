#include "app/ImageRegistry.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
/** Puts the working directory back to where it was when this was made. */
struct WorkingDirectoryRestorer
{
    ~WorkingDirectoryRestorer()
    {
        saved.setAsCurrentWorkingDirectory();
    }

    const juce::File saved = juce::File::getCurrentWorkingDirectory();
};

bool writePng (const juce::File& file, int width, int height)
{
    juce::Image picture (juce::Image::ARGB, width, height, true);
    juce::FileOutputStream stream (file);
    return stream.openedOk() && juce::PNGImageFormat().writeImageToStream (picture, stream);
}

const char notAPicture[] = "not a picture";

juce::uint32 readBigEndian (const juce::uint8* bytes)
{
    return juce::ByteOrder::bigEndianInt (bytes);
}

/** The chunk types of a whole PNG file in their order, or nothing if it is not one (or has bytes past IEND). */
juce::StringArray readPngChunkTypes (const unsigned char* file, int size)
{
    static const juce::uint8 signature[] = { 0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a };

    if (size < 8 || std::memcmp (file, signature, 8) != 0)
        return {};

    juce::StringArray types;

    for (size_t offset = 8; offset + 12 <= (size_t) size;)
    {
        const auto length = readBigEndian (file + offset);
        types.add (juce::String (reinterpret_cast<const char*> (file + offset + 4), 4));
        offset += 12 + (size_t) length;

        if (types.strings.getLast() == "IEND")
            return offset == (size_t) size ? types : juce::StringArray();
    }

    return {};
}

void expectPngForm (const unsigned char* file, int size, juce::uint32 width, juce::uint32 height)
{
    const auto types = readPngChunkTypes (file, size);
    ASSERT_EQ (types[0], "IHDR");

    const auto* header = file + 16;
    EXPECT_EQ (readBigEndian (header), width);
    EXPECT_EQ (readBigEndian (header + 4), height);
    EXPECT_EQ (header[8], 8) << "bit depth";
    EXPECT_EQ (header[9], 6) << "colour type: RGB with alpha";
    EXPECT_EQ (header[12], 0) << "interlace method";

    const auto firstData = types.indexOf ("IDAT");
    ASSERT_GT (firstData, 0);

    for (auto* type : { "pHYs", "gAMA", "cHRM" })
    {
        const auto index = types.indexOf (type);
        EXPECT_GT (index, 0) << type;
        EXPECT_LT (index, firstData) << type;
    }
}

class ImageRegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        clearImageRegistry();
    }

    void TearDown() override
    {
        clearImageRegistry();
    }
};
} // namespace

TEST_F (ImageRegistryTest, IdsNeverRegisteredGiveNoPicture)
{
    EXPECT_TRUE (getImage (0).isNull());

    registerBuiltInImages();

    for (auto id : { 1, 3, -1, 1000 })
        EXPECT_TRUE (getImage (id).isNull()) << "id " << id;
}

TEST_F (ImageRegistryTest, BuiltInPicturesDecodeToTheirSizesWithAlpha)
{
    registerBuiltInImages();

    const auto device = getImage (0);
    ASSERT_TRUE (device.isValid());
    EXPECT_EQ (device.getWidth(), 550);
    EXPECT_EQ (device.getHeight(), 371);
    EXPECT_TRUE (device.hasAlphaChannel());

    const auto about = getImage (2);
    ASSERT_TRUE (about.isValid());
    EXPECT_EQ (about.getWidth(), 431);
    EXPECT_EQ (about.getHeight(), 191);
    EXPECT_TRUE (about.hasAlphaChannel());
}

TEST (BuiltInPictures, AreWholePngFilesOfTheAgreedForm)
{
    expectPngForm (EmbeddedResources::devicePicture, EmbeddedResources::devicePictureSize, 550, 371);
    expectPngForm (EmbeddedResources::aboutPicture, EmbeddedResources::aboutPictureSize, 431, 191);
}

TEST_F (ImageRegistryTest, EveryLookUpGivesAnIndependentPicture)
{
    registerBuiltInImages();

    auto first = getImage (0);
    const auto second = getImage (0);
    ASSERT_TRUE (first.isValid() && second.isValid());

    const auto original = second.getPixelAt (300, 250);
    const auto marker = juce::Colour (0xff123456);
    ASSERT_NE (original, marker);

    first.setPixelAt (300, 250, marker);

    EXPECT_EQ (first.getPixelAt (300, 250), marker);
    EXPECT_EQ (second.getPixelAt (300, 250), original);
    EXPECT_EQ (getImage (0).getPixelAt (300, 250), original);
}

TEST_F (ImageRegistryTest, FirstRegistrationOfAnIdStays)
{
    registerImage (0, "About.png", EmbeddedResources::aboutPictureSize, EmbeddedResources::aboutPicture);
    registerBuiltInImages();
    registerImage (2, "Other.png", 0, nullptr);

    EXPECT_EQ (getImage (0).getWidth(), 431);
    EXPECT_EQ (getImage (2).getWidth(), 431);

    registerImage (7, "VT5150.png", EmbeddedResources::devicePictureSize, EmbeddedResources::devicePicture);
    registerImage (7, "About.png", EmbeddedResources::aboutPictureSize, EmbeddedResources::aboutPicture);
    EXPECT_EQ (getImage (7).getWidth(), 550);
}

TEST_F (ImageRegistryTest, ClearingLeavesNoPictureUntilRegisteredAgain)
{
    registerBuiltInImages();
    clearImageRegistry();

    EXPECT_TRUE (getImage (0).isNull());
    EXPECT_TRUE (getImage (2).isNull());

    registerBuiltInImages();
    EXPECT_EQ (getImage (0).getWidth(), 550);
}

/**
    Fallback loads from a real folder tree: <temp>/Work/Resources/x.png, with
    the working directory <temp>/Work/Updater when the resources folder is
    first computed. Every test of this process that loads from the resources
    folder must be in this fixture, since the folder is computed only once.
*/
class ResourcesFolderTest : public ImageRegistryTest
{
protected:
    static void SetUpTestSuite()
    {
        root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                   .getNonexistentChildFile ("vt5150-pictures", {}, false);
        const auto resources = root.getChildFile ("Work/Resources");
        const auto updater = root.getChildFile ("Work/Updater");

        ASSERT_TRUE (resources.createDirectory());
        ASSERT_TRUE (updater.createDirectory());
        ASSERT_TRUE (writePng (resources.getChildFile ("x.png"), 7, 5));

        const WorkingDirectoryRestorer restorer;
        ASSERT_TRUE (updater.setAsCurrentWorkingDirectory());
        expectedFolder = juce::File::getCurrentWorkingDirectory().getSiblingFile ("Resources").getFullPathName() +
                         juce::File::getSeparatorString();
        firstFolder = getResourcesFolder();
    }

    static void TearDownTestSuite()
    {
        root.deleteRecursively();
    }

    static inline juce::File root;
    static inline juce::String expectedFolder, firstFolder;
};

TEST_F (ResourcesFolderTest, IsTheResourcesFolderBesideTheWorkingDirectory)
{
    EXPECT_EQ (firstFolder, expectedFolder);
    EXPECT_TRUE (firstFolder.endsWith ("Work" + juce::File::getSeparatorString() + "Resources" +
                                       juce::File::getSeparatorString()));
}

TEST_F (ResourcesFolderTest, RecordWithoutBytesIsLoadedFromThere)
{
    registerImage (10, "x.png", 0, nullptr);

    const auto picture = getImage (10);
    ASSERT_TRUE (picture.isValid());
    EXPECT_EQ (picture.getWidth(), 7);
    EXPECT_EQ (picture.getHeight(), 5);
}

TEST_F (ResourcesFolderTest, UndecodableBytesAreReplacedByTheFile)
{
    registerImage (11, "x.png", (int) sizeof (notAPicture), notAPicture);
    EXPECT_EQ (getImage (11).getWidth(), 7);
}

TEST_F (ResourcesFolderTest, MissingFileGivesNoPicture)
{
    registerImage (12, "missing.png", 0, nullptr);
    registerImage (13, "missing.png", (int) sizeof (notAPicture), notAPicture);
    registerImage (14, "x.png", 100, nullptr);

    EXPECT_TRUE (getImage (12).isNull());
    EXPECT_TRUE (getImage (13).isNull());
    EXPECT_TRUE (loadImageFromResourcesFolder ({ "missing.png", 0, nullptr }).isNull());

    // A positive count without bytes is treated as no bytes, never read.
    EXPECT_EQ (getImage (14).getWidth(), 7);
}

TEST_F (ResourcesFolderTest, FolderIsComputedOnlyOnce)
{
    const WorkingDirectoryRestorer restorer;
    const auto elsewhere = root.getChildFile ("Elsewhere/Deeper");
    ASSERT_TRUE (elsewhere.createDirectory());
    ASSERT_TRUE (elsewhere.setAsCurrentWorkingDirectory());

    EXPECT_EQ (getResourcesFolder(), firstFolder);

    registerImage (15, "x.png", 0, nullptr);
    EXPECT_EQ (getImage (15).getWidth(), 7);
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

    const auto noFolder = getResourcesFolder().isEmpty();
    const auto noPicture = getImage (20).isNull();
    std::_Exit (noFolder && noPicture ? 0 : 1);
}
} // namespace

TEST (ResourcesFolderAtTheRoot, IsEmptySoNoFileIsRead)
{
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (lookUpFromTheRoot(), testing::ExitedWithCode (0), "");
}
