#include "ModalRun.h"
#include "app/ImageRegistry.h"
#include "ui/AboutBox.h"
#include "ui/PictureComponent.h"

#include <gtest/gtest.h>

namespace
{
// Registers a PNG of the given size as the about picture; the bytes are kept
// for the life of the process since the registry does not copy them.
void registerAboutPicture (int width, int height)
{
    static std::vector<std::unique_ptr<juce::MemoryBlock>> pngs;

    juce::Image picture (juce::Image::ARGB, width, height, true);
    juce::Graphics (picture).fillAll (juce::Colour (0xff3050a0));

    juce::MemoryOutputStream stream;
    juce::PNGImageFormat().writeImageToStream (picture, stream);
    pngs.push_back (std::make_unique<juce::MemoryBlock> (stream.getData(), stream.getDataSize()));
    registerImage (AboutBox::aboutPictureId, "About.png", (int) pngs.back()->getSize(), pngs.back()->getData());
}
} // namespace

TEST (AboutBox, EachOpeningIsCentredOverTheAboutPictureWithFourLabelsInOneFontUntilClosedWith0)
{
    struct Case
    {
        const char* picture;
        std::function<void()> registerPicture;
        int width, height;  // of the content over a picture, of the whole box without one
        juce::KeyPress key; // that closes the box as its close button would; none: the button itself
    };

    // A picture's last column and row fall outside the content.
    const Case cases[] = {
        { "built-in 431 x 191", registerBuiltInImages, 430, 190, {} },
        { "200 x 120", [] { registerAboutPicture (200, 120); }, 199, 119, juce::KeyPress (juce::KeyPress::escapeKey) },
        { "none", [] {}, 300, 200, juce::KeyPress (juce::KeyPress::returnKey) },
        { "built-in, Space", registerBuiltInImages, 430, 190, juce::KeyPress (juce::KeyPress::spaceKey) },
    };

    const juce::String labels[] = { "VT5150 Firmware Updater", "Application Version : 2.01", "Firmware Version: 1.31",
                                    "(c) 2026 Kelmora Audio" };

    // The one font, taken before any box opens, stays the labels' font through every opening.
    const juce::Font* const aboutFont = &AboutBox::getAboutFont();

    for (const auto& c : cases)
    {
        clearImageRegistry();
        c.registerPicture();

        ModalRun::Observed<AboutBox> box;
        EXPECT_EQ (box.getFirmwareVersionLabel(), nullptr);
        const auto opening = ModalRun::open (box, c.key);
        auto* content = box.getContentComponent();
        const bool hasPicture = dynamic_cast<PictureComponent*> (content) != nullptr;
        const auto size = hasPicture ? opening.contentBounds : opening.bounds;

        EXPECT_EQ (opening.result, 0) << c.picture;
        EXPECT_TRUE (opening.wasModalAndVisible && opening.hadKeyboard && ! opening.outlivedKey) << c.picture;
        EXPECT_EQ (box.closeCalls, 1) << c.picture;
        EXPECT_FALSE (box.isVisible()) << c.picture;
        EXPECT_EQ (hasPicture, c.width != 300) << c.picture;
        EXPECT_EQ (size.getWidth(), c.width) << c.picture;
        EXPECT_EQ (size.getHeight(), c.height) << c.picture;
        EXPECT_TRUE (ModalRun::isCentred (opening.bounds)) << c.picture << " " << opening.bounds.toString();

        ASSERT_EQ (content->getNumChildComponents(), 4) << c.picture;

        for (int i = 0; i < 4; ++i)
        {
            auto* label = dynamic_cast<juce::Label*> (content->getChildComponent (i));
            ASSERT_NE (label, nullptr) << i;
            EXPECT_EQ (label->getText(), labels[i]);
            EXPECT_TRUE (label->isVisible()) << i;
            EXPECT_EQ (label->getFont(), *aboutFont) << i;
        }

        EXPECT_EQ (box.getApplicationVersionLabel(), content->getChildComponent (1));
        EXPECT_EQ (box.getFirmwareVersionLabel(), content->getChildComponent (2));
    }

    EXPECT_EQ (&AboutBox::getAboutFont(), aboutFont);
    clearImageRegistry();
}
