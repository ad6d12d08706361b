#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "sim/SimulatedSetup.h"
#include "tests/MessageLoop.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
/** Stands in for the wizard window: handles the notices as it does, and records them. */
struct NoticeRecorder : juce::Component
{
    void handleCommandMessage (int commandId) override
    {
        runningWhenNoticed.push_back (transferRunning);
        notices.push_back (commandId);
        destroyTransferThread();
    }

    std::vector<int> notices;
    std::vector<bool> runningWhenNoticed;
};

class TransferThreadTest : public testing::Test
{
protected:
    void useDevice (SimulationOptions options)
    {
        setup.reset();
        setup = std::make_unique<SimulatedSetup> (options, 0);
        ASSERT_TRUE (deviceLink().detect());
    }

    void TearDown() override
    {
        destroyTransferThread();
        setup.reset();
    }

    NoticeRecorder window;
    std::unique_ptr<SimulatedSetup> setup;
};
} // namespace

TEST_F (TransferThreadTest, PostsOneNoticeOfItsOutcomeAndStaysRunningUntilItIsHandled)
{
    for (const auto refuseStart : { false, true })
    {
        SimulationOptions options;
        options.faults.refuseStart = refuseStart;
        useDevice (options);
        window.notices.clear();
        window.runningWhenNoticed.clear();
        startTransferThread (window);
        EXPECT_TRUE (transferRunning);

        ASSERT_TRUE (pumpUntil ([this] { return ! window.notices.empty(); }, 20000));
        pump (200);

        EXPECT_EQ (window.notices, std::vector<int> { refuseStart ? TransferFailed : TransferSucceeded });
        EXPECT_EQ (window.runningWhenNoticed, std::vector<bool> { true });
        EXPECT_FALSE (transferRunning);
        EXPECT_EQ (activeTransferThread, nullptr);
    }
}

TEST_F (TransferThreadTest, DestroyingARunningTransferWaitsForItToEndWithoutKillingIt)
{
    SimulationOptions options;
    options.latencyMicroseconds = 2000;
    useDevice (options);
    startTransferThread (window);

    ASSERT_TRUE (pumpUntil ([] { return transferProgress.load() > 0.01; }, 20000));

    const auto start = juce::Time::getMillisecondCounter();
    destroyTransferThread();
    const auto elapsed = juce::Time::getMillisecondCounter() - start;

    // The thread left by itself, after at most one exchange: the device
    // received nothing more once the destruction returned.
    EXPECT_LT (elapsed, DeviceLink::replyTimeoutMs);
    const auto received = setup->getDevice()->getNumReceivedCommands();
    juce::Thread::sleep (50);
    EXPECT_EQ (setup->getDevice()->getNumReceivedCommands(), received);

    ASSERT_TRUE (pumpUntil ([this] { return ! window.notices.empty(); }, 20000));
    EXPECT_EQ (window.notices, std::vector<int> { TransferFailed });
}

TEST_F (TransferThreadTest, AThreadThatCannotStartIsAFailedTransfer)
{
    useDevice ({});

    // No system gives a thread a stack of a petabyte: the start fails.
    startTransferThread (window, (size_t) 1 << 50);
    EXPECT_TRUE (transferRunning);

    ASSERT_TRUE (pumpUntil ([this] { return ! window.notices.empty(); }, 5000));
    EXPECT_EQ (window.notices, std::vector<int> { TransferFailed });
    EXPECT_FALSE (transferRunning);
    EXPECT_EQ (setup->getDevice()->getNumReceivedCommands(), 2) << "only the probe and the query went out";
}
