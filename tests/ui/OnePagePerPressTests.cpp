#include "WizardTestSupport.h"

#include "device/FirmwareImage.h"

using namespace WizardTest;

namespace
{
const juce::KeyPress returnKey (juce::KeyPress::returnKey);
} // namespace

/**
    However a press arrives (a key, a screen reader's press, a click), it
    counts only if its button is shown when the press is handled; no page
    turns while the transfer runs; a held key turns one page.
*/
class OnePagePerPressTest : public WizardFixture
{
protected:
    /** The second press has turned no page past the transfer page, and the update ends as it should. */
    void expectOneTransferToTheLastPage()
    {
        // The page takes the keyboard before its buttons go, so that it never
        // passes through Previous, which a screen reader would read out.
        pump();
        expectPage (UpdaterWindow::updatePage);
        EXPECT_TRUE (transferRunning);

        // Nothing may take the wizard off the transfer page while it runs.
        window->actionListenerCallback ("Next");
        window->actionListenerCallback ("Previous");
        window->goToNextPage();
        window->goToPreviousPage();
        pump();
        EXPECT_EQ (window->getCurrentPage(), UpdaterWindow::updatePage);

        ASSERT_TRUE (waitForPage (UpdaterWindow::lastPage, 120000));
        EXPECT_TRUE (setup->getDevice()->memoryMatches (FirmwareImage::getBuiltIn().getPayloadCopy()));
        EXPECT_TRUE (alerts.empty());
        EXPECT_EQ (app->quitRequests, 0);
    }
};

TEST_F (OnePagePerPressTest, TwoReturnsOnTheFocusedNextHandledInOneGoOnPage5StartOneTransferAndNoMore)
{
    start ({}, 50);
    settle();
    walkTo (5);
    key (juce::KeyPress (juce::KeyPress::tabKey));
    key (juce::KeyPress (juce::KeyPress::tabKey));
    expectPage (5, "Next");
    tap (returnKey);
    tap (returnKey);
    expectOneTransferToTheLastPage();
}

TEST_F (OnePagePerPressTest, TwoScreenReaderPressesOnPage5StartOneTransferAndNoMore)
{
    start ({}, 50);
    walkTo (5);
    auto& actions = next().getAccessibilityHandler()->getActions();
    ASSERT_TRUE (actions.invoke (juce::AccessibilityActionType::press));
    ASSERT_TRUE (actions.invoke (juce::AccessibilityActionType::press));
    expectOneTransferToTheLastPage();
}

TEST_F (OnePagePerPressTest, AHeldReturnTurnsOnePageUntilItIsReleased)
{
    start();
    auto* peer = window->getPeer();
    peer->handleKeyUpOrDown (true);

    // The display repeats a held key as presses without a release between them.
    for (int repeat = 0; repeat < 6; ++repeat)
    {
        peer->handleKeyPress (returnKey);
        pump (33);
    }

    expectPage (1);
    peer->handleKeyUpOrDown (false);
    key (returnKey);
    expectPage (2);
}
