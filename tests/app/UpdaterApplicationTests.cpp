#include "../ui/WizardTestSupport.h"

#include "app/ImageRegistry.h"

using namespace WizardTest;

using UpdaterApplicationTest = WizardFixture;

TEST_F (UpdaterApplicationTest, InitialiseOpensTheWindowAndShutdownAndDestructionTidyUp)
{
    start();
    EXPECT_TRUE (window->isOnDesktop());

    app->shutdown();
    EXPECT_EQ (app->getMainWindow(), nullptr);
    EXPECT_EQ (app->quitRequests, 1) << "the program ends with its main window";

    app.reset();
    EXPECT_EQ (currentApplication, nullptr);
    EXPECT_FALSE (getImage (0).isValid()) << "the picture registry is cleared with the application";
}

TEST_F (UpdaterApplicationTest, ShutdownDuringATransferEndsTheThreadBeforeTheWindowGoes)
{
    start ({}, 1000);
    walkTo (6);
    ASSERT_TRUE (pumpUntil ([] { return transferProgress > 0.0; }, 10000));

    app->shutdown();
    EXPECT_EQ (activeTransferThread, nullptr);
    EXPECT_FALSE (transferRunning);
    EXPECT_FALSE (deviceLink().isOpen());

    const auto commandsAfterShutdown = setup->getDevice()->getNumReceivedCommands();
    pump (200);
    EXPECT_EQ (setup->getDevice()->getNumReceivedCommands(), commandsAfterShutdown) << "the transfer has really ended";
    EXPECT_LT (commandsAfterShutdown, 25222);
}
