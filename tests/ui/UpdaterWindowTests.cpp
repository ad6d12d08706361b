#include "WizardTestSupport.h"

#include "tests/ui/ModalRun.h"

using namespace WizardTest;

// What each page shows going forwards, Finish quitting, and a failed transfer
// are read page by page in WizardAccessibilityTests; here, the window, the
// ways back, and what a transfer leaves behind.
using UpdaterWindowTest = WizardFixture;

TEST_F (UpdaterWindowTest, OpensCentredOnTheWelcomePageAndWalksThePreparationPagesBothWays)
{
    start();
    EXPECT_EQ (window->getContentComponent()->getLocalBounds(), juce::Rectangle<int> (549, 370));
    EXPECT_TRUE (ModalRun::isCentred (window->getScreenBounds()));
    EXPECT_FALSE (window->isResizable());
    expectPage (0);

    window->getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
    pump();
    EXPECT_TRUE (window->isVisible()) << "Escape does not close the window";

    walkTo (5);
    EXPECT_TRUE (deviceLink().isOpen()) << "leaving page 4 finds the device";

    for (int page = 4; page >= 0; --page)
    {
        SCOPED_TRACE ("page " + std::to_string (page));
        press (findControl<juce::TextButton> (*window, "Previous"));
        expectPage (page);
    }

    window->goToPreviousPage();
    EXPECT_EQ (window->getCurrentPage(), 0) << "Previous never goes below the welcome page";
    EXPECT_TRUE (alerts.empty());
    EXPECT_FALSE (transferRunning);
    EXPECT_EQ (app->quitRequests, 0);

    window->getCloseButton()->triggerClick();
    pump();
    EXPECT_EQ (app->quitRequests, 1);
}

TEST_F (UpdaterWindowTest, ATransferStartsItsProgressFrom0AndFinishQuitsOnlyFromItsButtonReleasingThePorts)
{
    start();
    walkTo (5);

    // What the progress was when the transfer began, whatever the machine's speed.
    std::atomic<double> progressAtStart { -1.0 };
    setup->getDevice()->setCommandObserver (
        [&progressAtStart] (const juce::MidiMessage& frame)
        {
            if (frame.getRawData()[4] == 'e')
                progressAtStart = transferProgress.load();
        });

    transferProgress = 0.5;
    press (next());
    ASSERT_TRUE (waitForPage (7));
    EXPECT_EQ (progressAtStart.load(), 0.0) << "the progress starts again from 0";
    setup->getDevice()->setCommandObserver ({});
    EXPECT_EQ (activeTransferThread, nullptr);

    // The button is told apart by its name, not by the text it shows.
    window->actionListenerCallback ("Finish");
    EXPECT_EQ (app->quitRequests, 0);

    press (next());
    EXPECT_EQ (app->quitRequests, 1);
    EXPECT_FALSE (deviceLink().isOpen()) << "quitting releases the ports";
}
