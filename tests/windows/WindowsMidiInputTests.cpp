#include "midi/windows/WindowsMidiInput.h"
#include "midi/windows/WindowsMidiPorts.h"
#include "tests/windows/FakeWinmm.h"

#include <gtest/gtest.h>

#include <mutex>

namespace
{
using Bytes = std::vector<juce::uint8>;
constexpr int limitMs = 100;

/** Polls `condition` every millisecond for up to 5 s; true once it holds. */
template <typename Condition>
bool awaitTrue (Condition condition)
{
    for (const auto start = juce::Time::getMillisecondCounter(); ! condition(); juce::Thread::sleep (1))
        if (juce::Time::getMillisecondCounter() - start > 5000)
            return false;

    return true;
}

/**
    An input on the fake driver, opened and started, handing its messages to
    the test, which takes 3 ms over each as a slow program would, and every line
    written to juce::Logger (written only by the closing thread, which the test
    waits for).
*/
class WindowsPorts : public testing::Test, private juce::Logger, protected MidiPortListener
{
protected:
    void SetUp() override
    {
        juce::Logger::setCurrentLogger (this);
        port = WindowsMidiPorts (driver, limitMs).openInput (0, *this);
        ASSERT_NE (port, nullptr);
        port->start();
    }

    void TearDown() override
    {
        juce::Logger::setCurrentLogger (nullptr);
    }

    void logMessage (const juce::String& message) override
    {
        logLines.add (message);
    }

    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage& message) override
    {
        juce::Thread::sleep (3);
        const std::lock_guard<std::mutex> guard (lock);
        messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    }

    std::vector<Bytes> getMessages()
    {
        const std::lock_guard<std::mutex> guard (lock);
        return messages;
    }

    bool awaitCount (size_t count)
    {
        return awaitTrue ([this, count] { return getMessages().size() >= count; });
    }

    bool awaitAllQueued()
    {
        return awaitTrue ([this] { return (int) driver.getState().queued.size() == WindowsMidiReceiver::numBuffers; });
    }

    /** Closes the input and returns how long that took, in milliseconds. */
    juce::uint32 timeClose()
    {
        const auto start = juce::Time::getMillisecondCounter();
        port.reset();
        return juce::Time::getMillisecondCounter() - start;
    }

    FakeWinmm driver;
    std::unique_ptr<MidiInputPort> port;
    juce::StringArray logLines;
    std::mutex lock;
    std::vector<Bytes> messages;
};
} // namespace

// That a buffer goes back to the driver only after its own notice was handled
// (Wine's driver marks a buffer done before it tells the program of it) is
// what WinmmOverWine.OurInputLosesNoReplyAndAPortHeldOpenYieldsNoSecond checks over Wine's own driver.

TEST_F (WindowsPorts, InputMessagesPassAsTheyCameAndABrokenSysExDoesNot)
{
    driver.post (MM_MIM_DATA, (LPARAM) 0x00403c90);

    // A SysEx message that the driver reports broken is dropped, its tail too.
    driver.fillBuffer ({ 0xf0, 0x00, 0x20 }, MM_MIM_LONGERROR);
    driver.fillBuffer ({ 0x30, 0x0d, 0xf7 });
    driver.fillBuffer ({ 0xf0, 0x05, 0xf7 });

    // Every buffer back with the driver: the broken one was queued again too.
    ASSERT_TRUE (awaitCount (2));
    EXPECT_TRUE (awaitAllQueued());
    EXPECT_EQ (getMessages(), (std::vector<Bytes> { { 0x90, 0x3c, 0x40 }, { 0xf0, 0x05, 0xf7 } }));
}

TEST_F (WindowsPorts, InputNothingReachesTheListenerAfterStopReturnsUntilStartedAgain)
{
    // Notices still on their way as the input stops, one of them delivered while it stops.
    for (int i = 0; i < 20; ++i)
    {
        driver.post (MM_MIM_DATA, 0xf8);
        driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
    }

    ASSERT_TRUE (awaitCount (1));
    port->stop();
    const auto delivered = getMessages().size();
    ASSERT_LT (delivered, 40u);

    // Once every buffer is queued again, every notice has been handled.
    EXPECT_TRUE (awaitAllQueued());
    EXPECT_EQ (getMessages().size(), delivered);

    port->start();
    driver.post (MM_MIM_DATA, 0xf8);
    EXPECT_TRUE (awaitCount (delivered + 1));
}

TEST_F (WindowsPorts, InputCloseAwaitsTheNoticesOfTheResetThenUnpreparesEveryBufferAndCloses)
{
    // The reset marks every buffer done at once, but their notices come 30 ms later.
    driver.reset = FakeWinmm::Reset::noticesLate;
    port.reset();

    const auto calls = driver.getState().calls;
    const auto notices = calls.indexOf ("lateNotices");
    ASSERT_GE (notices, 0) << "closed without the reset's notices";
    EXPECT_GT (calls.indexOf ("inUnprepareHeader"), notices) << "a buffer was taken back before its notice";
    EXPECT_EQ (driver.countCalls ("inUnprepareHeader"), WindowsMidiReceiver::numBuffers);
    EXPECT_EQ (driver.getState().openedInput, ~0u) << "the driver refused to close";
    EXPECT_TRUE (logLines.isEmpty()) << logLines.joinIntoString ("\n");
}

TEST_F (WindowsPorts, InputCloseEndsInTimeAndSaysWhyWhenTheDriverKeepsItsBuffers)
{
    driver.reset = FakeWinmm::Reset::buffersKept;
    const auto elapsed = timeClose();

    EXPECT_GE (elapsed, (juce::uint32) limitMs - 20);
    EXPECT_LT (elapsed, (juce::uint32) limitMs + 1000);
    EXPECT_EQ (driver.countCalls ("inUnprepareHeader"), 0);
    ASSERT_EQ (logLines.size(), 1);
    EXPECT_TRUE (logLines[0].contains ("stays open until the program ends")) << logLines[0];
}

TEST_F (WindowsPorts, InputCloseEndsInTimeAndSaysWhyWhenTheThreadHangsInTheDriver)
{
    // The input's thread, queueing a read buffer again, hangs in the driver far longer than the limits.
    const int hangMs = 4000;
    driver.addBufferHangMs = hangMs;
    driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
    ASSERT_TRUE (awaitTrue ([this] { return driver.hanging.load(); }));
    const auto elapsed = timeClose();

    EXPECT_GE (elapsed, (juce::uint32) 2 * limitMs - 20);
    EXPECT_LT (elapsed, (juce::uint32) hangMs / 2);
    ASSERT_EQ (logLines.size(), 2) << logLines.joinIntoString ("\n");
    EXPECT_TRUE (logLines[0].contains ("stays open")) << logLines[0];
    EXPECT_TRUE (logLines[1].contains ("thread did not end")) << logLines[1];
}

TEST_F (WindowsPorts, ListReadableDevicesInWinmmOrderNamedAsJuceNamesThem)
{
    FakeWinmm winmm;
    winmm.inputNames = { "Port", "", "Port", "VT-5150" };
    winmm.outputNames = { "", "VT-5150", "Synth" };
    WindowsMidiPorts ports (winmm);

    EXPECT_EQ (ports.getNumInputs(), 3);
    EXPECT_EQ (ports.getInputNames(), juce::StringArray ("Port", "Port-2", "VT-5150"));
    EXPECT_EQ (ports.getOutputNames(), juce::StringArray ("VT-5150", "Synth"));
    EXPECT_EQ (ports.openInput (3, *this), nullptr);

    const auto input = ports.openInput (2, *this);
    ASSERT_NE (input, nullptr);
    EXPECT_EQ (winmm.getState().openedInput, 3u);

    const auto output = ports.openOutput (1);
    ASSERT_NE (output, nullptr);
    EXPECT_EQ (winmm.getState().openedOutput, 2u);
}
