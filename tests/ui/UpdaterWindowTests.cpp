#include "WizardTestSupport.h"

#include "ui/BackgroundPicture.h"
#include "ui/PageTexts.h"

#include <csignal>

using namespace WizardTest;

namespace
{
const juce::String notFoundBox =
    "Error. Could not find VT5150 control surface. Check the cables to ensure it is properly connected and press Next "
    "to try again.";
const juce::String transferErrorBox =
    "Error. An error occured during the file transfer. Please try again or contact Kelmora technical support.";

using UpdaterWindowTest = WizardFixture;
} // namespace

TEST_F (UpdaterWindowTest, OpensCentredOnTheWelcomePageWithTheContentAreaOfThePicture)
{
    start();

    EXPECT_EQ (window->getName(), "VT5150 Firmware Updater - Firmware Version: 1.31");
    EXPECT_TRUE (window->isVisible());
    ASSERT_NE (window->getContentComponent(), nullptr);
    EXPECT_EQ (window->getContentComponent()->getName(), "bkgImg");
    EXPECT_EQ (window->getContentComponent()->getWidth(), 549);
    EXPECT_EQ (window->getContentComponent()->getHeight(), 370);
    EXPECT_LE (window->getScreenBounds().getCentre().getDistanceFrom (
                   juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea.getCentre()),
               1);
    EXPECT_FALSE (window->isResizable());

    EXPECT_EQ (window->getCurrentPage(), 0);
    EXPECT_EQ (stepLabel().getText(), "");
    EXPECT_EQ (pageTextLabel().getText(), pageTexts[0]);
    EXPECT_TRUE (next().isVisible());
    EXPECT_EQ (next().getButtonText(), "Next");
    EXPECT_FALSE (previous().isVisible());
    EXPECT_FALSE (progressBar().isVisible());

    // The page text starts at the top of its label, whatever its number of lines.
    EXPECT_TRUE (pageTextLabel().getJustificationType().testFlags (juce::Justification::top));

    // Escape does not close the window.
    window->getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
    pump();
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (app->quitRequests, 0);
}

TEST_F (UpdaterWindowTest, NextAndPreviousWalkThePreparationPagesWithTheirTextsAndButtons)
{
    start();

    for (int page = 1; page <= 5; ++page)
    {
        press (next());
        SCOPED_TRACE ("page " + std::to_string (page));
        ASSERT_EQ (window->getCurrentPage(), page);
        EXPECT_EQ (stepLabel().getText(), pageTitles[page]);
        EXPECT_EQ (pageTextLabel().getText(), pageTexts[page]);
        EXPECT_TRUE (next().isVisible());
        EXPECT_EQ (next().getButtonText(), "Next");
        EXPECT_TRUE (previous().isVisible());
        EXPECT_EQ (previous().getButtonText(), "Previous");
        EXPECT_FALSE (progressBar().isVisible());
    }

    EXPECT_TRUE (deviceLink().isOpen()) << "leaving page 4 finds the device";

    for (int page = 4; page >= 0; --page)
    {
        press (previous());
        ASSERT_EQ (window->getCurrentPage(), page);
        EXPECT_EQ (stepLabel().getText(), pageTitles[page]);
    }

    EXPECT_FALSE (previous().isVisible());
    EXPECT_EQ (pageTextLabel().getText(), pageTexts[0]);

    window->goToPreviousPage();
    EXPECT_EQ (window->getCurrentPage(), 0) << "Previous never goes below the welcome page";
    EXPECT_TRUE (watcher->alerts.empty());
    EXPECT_FALSE (transferRunning);
}

TEST_F (UpdaterWindowTest, DeviceNotFoundKeepsPage4WithTheBoxAndARetryFindsIt)
{
    start();
    walkTo (4);
    setup->getPorts().setOutputOpenable (0, false);

    press (next());

    ASSERT_EQ (watcher->alerts.size(), 1u);
    EXPECT_EQ (watcher->alerts[0].title, "Error");
    EXPECT_EQ (watcher->alerts[0].description, notFoundBox);
    EXPECT_EQ (watcher->alerts[0].numButtons, 1);
    EXPECT_EQ (window->getCurrentPage(), 4);
    EXPECT_EQ (stepLabel().getText(), "Step 4.");
    EXPECT_TRUE (next().isVisible());
    EXPECT_TRUE (previous().isVisible());
    EXPECT_FALSE (deviceLink().isOpen());

    setup->getPorts().setOutputOpenable (0, true);
    press (next());

    EXPECT_EQ (watcher->alerts.size(), 1u);
    EXPECT_EQ (window->getCurrentPage(), 5);
    EXPECT_EQ (stepLabel().getText(), "Step 5.");
    EXPECT_TRUE (deviceLink().isOpen());
    EXPECT_FALSE (transferRunning) << "the transfer starts only when page 6 is shown";
}

TEST_F (UpdaterWindowTest, ASuccessfulTransferLeadsToTheLastPageWhoseFinishQuits)
{
    start();
    walkTo (5);
    transferProgress = 0.5;

    press (next());

    EXPECT_EQ (window->getCurrentPage(), 6);
    EXPECT_FALSE (next().isVisible());
    EXPECT_FALSE (previous().isVisible());
    EXPECT_TRUE (progressBar().isVisible());
    EXPECT_LT (transferProgress.load(), 0.5) << "the progress starts again from 0";
    EXPECT_TRUE (transferRunning);
    ASSERT_NE (activeTransferThread, nullptr);

    ASSERT_TRUE (waitForPage (7));
    EXPECT_EQ (activeTransferThread, nullptr);
    EXPECT_EQ (stepLabel().getText(), "Step 7.");
    EXPECT_EQ (pageTextLabel().getText(), pageTexts[7]);
    EXPECT_TRUE (next().isVisible());
    EXPECT_EQ (next().getButtonText(), "Finish");
    EXPECT_EQ (next().getName(), "Next");
    EXPECT_FALSE (previous().isVisible());
    EXPECT_FALSE (progressBar().isVisible());
    EXPECT_TRUE (watcher->alerts.empty());

    // The button is told apart by its name, not by the text it shows.
    window->actionListenerCallback ("Finish");
    EXPECT_EQ (window->getCurrentPage(), 7);
    EXPECT_EQ (app->quitRequests, 0);

    press (next());
    EXPECT_EQ (window->getCurrentPage(), 8);
    EXPECT_EQ (app->quitRequests, 1);
    EXPECT_FALSE (deviceLink().isOpen()) << "quitting releases the ports";
}

TEST_F (UpdaterWindowTest, AFailedTransferShowsTheErrorBoxAndOnlyThenTheWelcomePage)
{
    SimulationOptions options;
    options.faults.silentAtBlock = 1;
    start (options);
    walkTo (5);

    press (next());
    ASSERT_TRUE (waitForPage (0, 10000));

    ASSERT_EQ (watcher->alerts.size(), 1u);
    EXPECT_EQ (watcher->alerts[0].description, transferErrorBox);
    EXPECT_EQ (watcher->alerts[0].pageMeanwhile, 6) << "the welcome page comes after the box";
    EXPECT_EQ (watcher->alerts[0].stepTitleMeanwhile, "Step 6.");

    EXPECT_EQ (activeTransferThread, nullptr);
    EXPECT_EQ (stepLabel().getText(), "");
    EXPECT_EQ (pageTextLabel().getText(), pageTexts[0]);
    EXPECT_TRUE (next().isVisible());
    EXPECT_FALSE (previous().isVisible());
    EXPECT_FALSE (progressBar().isVisible());

    // The user may go through the steps again; leaving page 4 searches afresh.
    walkTo (5);
    EXPECT_TRUE (deviceLink().isOpen());
}

TEST_F (UpdaterWindowTest, NoWayToQuitCutsOffARunningTransfer)
{
    start ({}, 150);
    walkTo (6);
    ASSERT_TRUE (pumpUntil ([] { return transferProgress > 0.05; }, 10000));

    window->closeButtonPressed();
    BackgroundPicture::performMenuItem (BackgroundPicture::exitItem);
    app->requestQuit();
    std::raise (SIGTERM); // the system asks the program to end
    pump (300);

    EXPECT_EQ (app->quitRequests, 0);
    EXPECT_TRUE (deviceLink().isOpen());
    EXPECT_TRUE (transferRunning);
    EXPECT_TRUE (app->isQuitDeferred());

    // The quit asked for by the system is carried out once the transfer has ended.
    ASSERT_TRUE (waitForPage (7));
    EXPECT_EQ (app->quitRequests, 1);
    EXPECT_FALSE (app->isQuitDeferred());
    EXPECT_FALSE (deviceLink().isOpen());
    EXPECT_TRUE (setup->getDevice()->getViolations().isEmpty());
}

TEST_F (UpdaterWindowTest, TheCloseButtonAndExitQuitOnEveryOtherPage)
{
    start();
    window->getCloseButton()->triggerClick();
    pump();
    EXPECT_EQ (app->quitRequests, 1);

    walkTo (5);
    ASSERT_TRUE (deviceLink().isOpen());
    BackgroundPicture::performMenuItem (BackgroundPicture::exitItem);
    EXPECT_EQ (app->quitRequests, 2);
    EXPECT_FALSE (deviceLink().isOpen()) << "quitting releases the ports that detection left open";
    EXPECT_EQ (window->getCurrentPage(), 5);
}

TEST_F (UpdaterWindowTest, TheMenuOffersAboutAndExitAndTheAboutBoxReturnsToThePage)
{
    start();
    walkTo (3);

    juce::StringArray items;
    std::vector<int> ids;

    const auto menu = BackgroundPicture::createMenu();

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        items.add (it.getItem().isSeparator ? "-" : it.getItem().text);
        ids.push_back (it.getItem().itemID);
    }

    EXPECT_EQ (items.joinIntoString ("|"), "About...|-|Exit...");
    EXPECT_EQ (ids[0], BackgroundPicture::aboutItem);
    EXPECT_EQ (ids[2], BackgroundPicture::exitItem);

    BackgroundPicture::performMenuItem (BackgroundPicture::aboutItem);

    ASSERT_EQ (watcher->aboutBoxes.size(), 1u);
    EXPECT_EQ (watcher->aboutBoxes[0].title, "About VT5150 Firmware Updater...");
    EXPECT_EQ (window->getCurrentPage(), 3);
    EXPECT_EQ (stepLabel().getText(), "Step 3.");
    EXPECT_EQ (app->quitRequests, 0);

    BackgroundPicture::performMenuItem (0);
    EXPECT_EQ (app->quitRequests, 0) << "a dismissed menu does nothing";
}
