#include "ModalRun.h"

#include <gtest/gtest.h>

TEST (ModalDialog, RunsCentredAt300By200UntilClosedByItsButtonOrEscapeWhenAskedTo)
{
    struct Case
    {
        bool escapeCloses, pressEscape;
    };

    for (const auto c : { Case { true, false }, Case { true, true }, Case { false, true } })
    {
        ModalRun::Observed<ModalDialog> dialog ("Observed", juce::Colour (0xff808080), c.escapeCloses);
        const auto opening =
            ModalRun::open (dialog, c.pressEscape ? juce::KeyPress (juce::KeyPress::escapeKey) : juce::KeyPress());
        const auto what = ::testing::Message() << "escapeCloses " << c.escapeCloses << ", Escape " << c.pressEscape;

        EXPECT_EQ (opening.result, 0) << what;
        EXPECT_EQ (dialog.closeCalls, 1) << what;
        EXPECT_TRUE (opening.wasModalAndVisible && opening.hadKeyboard) << what;
        EXPECT_EQ (opening.outlivedKey, c.pressEscape && ! c.escapeCloses) << what;
        EXPECT_FALSE (dialog.isVisible()) << what;

        EXPECT_EQ (opening.bounds.getWidth(), 300) << what;
        EXPECT_EQ (opening.bounds.getHeight(), 200) << what;
        EXPECT_TRUE (ModalRun::isCentred (opening.bounds)) << what;
        EXPECT_EQ (opening.contentBounds, dialog.getContentComponentBorder().subtractedFrom (dialog.getLocalBounds()))
            << what;
        EXPECT_EQ (dialog.getContentComponent()->getNumChildComponents(), 0) << what;
    }
}
