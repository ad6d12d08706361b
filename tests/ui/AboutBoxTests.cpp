#include "ModalRun.h"
#include "app/ImageRegistry.h"
#include "app/Versions.h"
#include "ui/AboutBox.h"
#include "ui/PictureComponent.h"

#include <gtest/gtest.h>

namespace
{
// An about box that counts how often it was closed.
class ObservedAboutBox : public AboutBox
{
public:
    void closeButtonPressed() override
    {
        ++closeCalls;
        AboutBox::closeButtonPressed();
    }

    int closeCalls = 0;
};

// What one opening looked like while the box was up.
struct Opening
{
    int result = ModalRun::timedOut;
    bool wasModalAndVisible = false;
    juce::Rectangle<int> bounds, screenBounds, nativeBounds, contentBounds;
};

enum class CloseBy
{
    closeButton,
    escape
};

Opening open (ObservedAboutBox& box, CloseBy closeBy = CloseBy::closeButton)
{
    Opening opening;

    opening.result = ModalRun::runModalWith (box,
                                             [&]
                                             {
                                                 opening.wasModalAndVisible = box.isCurrentlyModal() && box.isVisible();
                                                 opening.bounds = box.getBounds();
                                                 opening.screenBounds = box.getScreenBounds();
                                                 opening.nativeBounds = box.getPeer()->getBounds();

                                                 if (auto* content = box.getContentComponent())
                                                     opening.contentBounds = content->getBounds();

                                                 if (closeBy == CloseBy::escape)
                                                     ModalRun::pressEscape (box);
                                                 else
                                                     box.getCloseButton()->triggerClick();
                                             });

    return opening;
}

// A PNG of the given size in memory, kept for the life of the process since the registry does not copy bytes.
const juce::MemoryBlock& makePng (int width, int height)
{
    static std::vector<std::unique_ptr<juce::MemoryBlock>> pngs;

    juce::Image picture (juce::Image::ARGB, width, height, true);
    juce::Graphics (picture).fillAll (juce::Colour (0xff3050a0));

    juce::MemoryOutputStream stream;
    juce::PNGImageFormat().writeImageToStream (picture, stream);
    pngs.push_back (std::make_unique<juce::MemoryBlock> (stream.getData(), stream.getDataSize()));
    return *pngs.back();
}

void expectCentred (const juce::Rectangle<int>& bounds)
{
    EXPECT_LE (bounds.getCentre().getDistanceFrom (ModalRun::screenCentre()), 1) << bounds.toString();
}

class AboutBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearImageRegistry();
        registerBuiltInImages();
    }

    void TearDown() override
    {
        clearImageRegistry();
    }
};
} // namespace

TEST (Versions, AreWrittenWithTheMinorNumberPaddedToTwoDigits)
{
    EXPECT_EQ (Versions::applicationVersion(), "2.01");
    EXPECT_EQ (Versions::firmwareVersion(), "1.31");
    EXPECT_EQ (Versions::formatVersion (1, 5), "1.05");
    EXPECT_EQ (Versions::formatVersion (10, 123), "10.123");
}

TEST_F (AboutBoxTest, IsAHiddenGreyDialogUntilRun)
{
    AboutBox box;

    EXPECT_EQ (box.getName(), "About VT5150 Firmware Updater...");
    EXPECT_EQ (box.getBackgroundColour(), juce::Colour (0xff808080));
    EXPECT_FALSE (box.isVisible());
    EXPECT_EQ (box.getContentComponent(), nullptr);
    EXPECT_EQ (box.getApplicationVersionLabel(), nullptr);
    EXPECT_EQ (box.getFirmwareVersionLabel(), nullptr);
}

TEST_F (AboutBoxTest, OpensCentredOverTheAboutPictureAndClosesWithItsCloseButton)
{
    ObservedAboutBox box;
    const auto opening = open (box);

    EXPECT_EQ (opening.result, 0);
    EXPECT_EQ (box.closeCalls, 1);
    EXPECT_TRUE (opening.wasModalAndVisible);
    EXPECT_FALSE (box.isVisible());
    EXPECT_FALSE (box.isResizable());

    // The built-in picture is 431 x 191; its last column and row fall outside the content.
    EXPECT_EQ (opening.contentBounds.getWidth(), 430);
    EXPECT_EQ (opening.contentBounds.getHeight(), 190);
    EXPECT_EQ (opening.contentBounds, box.getContentComponentBorder().subtractedFrom (box.getLocalBounds()));
    expectCentred (opening.bounds);

    // The window on the screen is where and as big as the box thinks.
    EXPECT_EQ (opening.nativeBounds, opening.screenBounds);

    auto* picture = dynamic_cast<PictureComponent*> (box.getContentComponent());
    ASSERT_NE (picture, nullptr);
    EXPECT_EQ (picture->getPicture().getBounds(), juce::Rectangle<int> (0, 0, 431, 191));
}

TEST_F (AboutBoxTest, SizesItselfFromWhateverAboutPictureIsRegistered)
{
    clearImageRegistry();
    const auto& png = makePng (200, 120);
    registerImage (AboutBox::aboutPictureId, "About.png", (int) png.getSize(), png.getData());

    ObservedAboutBox box;
    const auto opening = open (box);

    EXPECT_EQ (opening.result, 0);
    EXPECT_EQ (opening.contentBounds.getWidth(), 199);
    EXPECT_EQ (opening.contentBounds.getHeight(), 119);
    expectCentred (opening.bounds);
}

TEST_F (AboutBoxTest, LaysTheFourLabelsOverThePicture)
{
    ObservedAboutBox box;
    ASSERT_EQ (open (box).result, 0);

    struct Expected
    {
        juce::String name, text;
        juce::Rectangle<int> bounds;
    };

    const Expected expected[] = {
        { "", "VT5150 Firmware Updater", { 120, 45, 250, 20 } },
        { "Application Version:", "Application Version : 2.01", { 120, 70, 250, 20 } },
        { "Firmware Version:", "Firmware Version: 1.31", { 120, 95, 300, 20 } },
        { "", "(c) 2026 Kelmora Audio", { 120, 120, 400, 20 } },
    };

    auto* content = box.getContentComponent();
    ASSERT_NE (content, nullptr);
    ASSERT_EQ (content->getNumChildComponents(), 4);

    for (int i = 0; i < 4; ++i)
    {
        auto* label = dynamic_cast<juce::Label*> (content->getChildComponent (i));
        ASSERT_NE (label, nullptr) << i;

        EXPECT_EQ (label->getName(), expected[i].name);
        EXPECT_EQ (label->getText(), expected[i].text);
        EXPECT_EQ (label->getBounds(), expected[i].bounds);
        EXPECT_TRUE (label->isVisible());
        EXPECT_FALSE (label->isEditableOnSingleClick() || label->isEditableOnDoubleClick());
        EXPECT_EQ (label->getJustificationType(), juce::Justification::centredLeft);

        const auto font = label->getFont();
        EXPECT_EQ (font, AboutBox::getAboutFont());
        EXPECT_EQ (font.getHeight(), 18.0f);
        EXPECT_EQ (font.getStyleFlags(), juce::Font::plain);
        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());

        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xfffaebd7));

        for (const auto id : { juce::Label::backgroundColourId, juce::Label::outlineColourId,
                               juce::Label::backgroundWhenEditingColourId, juce::Label::textWhenEditingColourId,
                               juce::Label::outlineWhenEditingColourId })
            EXPECT_EQ (label->findColour (id), juce::Colour (0x00000000)) << i << " colour " << id;
    }

    EXPECT_EQ (box.getApplicationVersionLabel(), content->getChildComponent (1));
    EXPECT_EQ (box.getFirmwareVersionLabel(), content->getChildComponent (2));

    // The notice runs past the content's right edge, where it is cut off.
    EXPECT_GT (content->getChildComponent (3)->getRight(), content->getWidth());
}

TEST_F (AboutBoxTest, EscapeClosesItAsTheCloseButtonDoes)
{
    ObservedAboutBox box;
    const auto opening = open (box, CloseBy::escape);

    EXPECT_TRUE (opening.wasModalAndVisible);
    EXPECT_EQ (opening.result, 0);
    EXPECT_EQ (box.closeCalls, 1);
    EXPECT_FALSE (box.isVisible());
}

TEST_F (AboutBoxTest, EveryOpeningBuildsAFreshBoxButTheFontOnlyOnce)
{
    juce::StringArray firstTexts, secondTexts;

    const auto textsOf = [] (AboutBox& box)
    {
        juce::StringArray texts;

        for (auto* child : box.getContentComponent()->getChildren())
            texts.add (dynamic_cast<juce::Label&> (*child).getText());

        return texts;
    };

    {
        ObservedAboutBox box;
        ASSERT_EQ (open (box).result, 0);
        firstTexts = textsOf (box);
    }

    EXPECT_EQ (AboutBox::getAboutFontCreationCount(), 1);

    {
        ObservedAboutBox box;
        EXPECT_EQ (box.getContentComponent(), nullptr);
        ASSERT_EQ (open (box, CloseBy::escape).result, 0);
        secondTexts = textsOf (box);
    }

    EXPECT_EQ (AboutBox::getAboutFontCreationCount(), 1);
    EXPECT_EQ (firstTexts.size(), 4);
    EXPECT_EQ (firstTexts, secondTexts);
}

TEST_F (AboutBoxTest, WithoutAnAboutPictureIs300By200AndStillShowsTheLabels)
{
    clearImageRegistry();

    ObservedAboutBox box;
    const auto opening = open (box);

    EXPECT_EQ (opening.result, 0);
    EXPECT_EQ (opening.bounds.getWidth(), 300);
    EXPECT_EQ (opening.bounds.getHeight(), 200);
    expectCentred (opening.bounds);

    auto* content = box.getContentComponent();
    ASSERT_NE (content, nullptr);
    EXPECT_EQ (dynamic_cast<PictureComponent*> (content), nullptr);
    EXPECT_EQ (content->getNumChildComponents(), 4);
    ASSERT_NE (box.getFirmwareVersionLabel(), nullptr);
    EXPECT_EQ (box.getFirmwareVersionLabel()->getText(), "Firmware Version: 1.31");
}
