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

/** Keeps every message an input delivers, taking 3 ms over each as a slow program would. */
class RecordingListener final : public MidiPortListener
{
public:
    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage& message) override
    {
        juce::Thread::sleep (3);
        const std::lock_guard<std::mutex> guard (lock);
        messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    }

    /** Every message so far, as bytes. */
    std::vector<Bytes> getMessages()
    {
        const std::lock_guard<std::mutex> guard (lock);
        return messages;
    }

    /** Waits up to 5 s until `count` messages have arrived; true if they did. */
    bool awaitCount (size_t count)
    {
        return awaitTrue ([this, count] { return getMessages().size() >= count; });
    }

private:
    std::mutex lock;
    std::vector<Bytes> messages;
};

/**
    An input on the fake driver, opened and started, handing its messages to a
    listener that takes 3 ms over each, and every line written to juce::Logger
    (written only by the closing thread, which the test waits for).
*/
class WindowsInput : public testing::Test, private juce::Logger
{
protected:
    void SetUp() override
    {
        juce::Logger::setCurrentLogger (this);
        port = WindowsMidiPorts (driver, limitMs).openInput (0, listener);
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
    RecordingListener listener;
    std::unique_ptr<MidiInputPort> port;
    juce::StringArray logLines;
};
} // namespace

// That a buffer goes back to the driver only after its own notice was handled
// (Wine's driver marks a buffer done before it tells the program of it) is
// what WinmmOverWine.OurInputLosesNoReply checks over Wine's own driver.

TEST_F (WindowsInput, ShortMessagesPassWithTheirOwnLengthAndMalformedOrBrokenMessagesDoNot)
{
    // Note on; clock; program change (two bytes); a status byte where data belongs;
    // no status byte; a SysEx start alone; active sensing.
    for (const DWORD packed : { 0x00403c90u, 0xf8u, 0x000005c1u, 0x00fff6b0u, 0x42u, 0xf0u, 0xfeu })
        driver.post (MM_MIM_DATA, (LPARAM) packed);

    // A SysEx message that the driver reports broken is dropped, its tail too.
    driver.post (MM_MIM_LONGERROR, (LPARAM) driver.fillBuffer ({ 0xf0, 0x00, 0x20 }, false));
    driver.fillBuffer ({ 0x30, 0x0d, 0xf7 });
    driver.fillBuffer ({ 0xf0, 0x05, 0xf7 });

    // Every buffer back with the driver: the broken one was queued again too.
    ASSERT_TRUE (listener.awaitCount (5));
    EXPECT_TRUE (awaitAllQueued());
    EXPECT_EQ (listener.getMessages(),
               (std::vector<Bytes> { { 0x90, 0x3c, 0x40 }, { 0xf8 }, { 0xc1, 0x05 }, { 0xfe }, { 0xf0, 0x05, 0xf7 } }));
}

TEST_F (WindowsInput, NothingReachesTheListenerAfterStopReturnsUntilStartedAgain)
{
    // The fake driver goes on posting after the stop, as a driver's notices already on the way would.
    std::atomic<bool> sending { true };
    std::thread device (
        [&]
        {
            while (sending)
            {
                driver.post (MM_MIM_DATA, 0xf8);
                driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
                juce::Thread::sleep (1);
            }
        });

    ASSERT_TRUE (listener.awaitCount (20));
    port->stop();
    const auto delivered = listener.getMessages().size();
    juce::Thread::sleep (200);
    sending = false;
    device.join();

    EXPECT_EQ (listener.getMessages().size(), delivered);

    port->start();
    driver.post (MM_MIM_DATA, 0xf8);
    EXPECT_TRUE (listener.awaitCount (delivered + 1));
}

TEST_F (WindowsInput, CloseAwaitsEveryBuffersNoticeThenUnpreparesAndCloses)
{
    driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
    ASSERT_TRUE (listener.awaitCount (1));
    ASSERT_TRUE (awaitAllQueued());

    // The reset marks every buffer done, but their notices are still on the way.
    driver.reset = FakeWinmm::Reset::noticesHeld;
    std::thread closer ([&] { port.reset(); });
    ASSERT_TRUE (driver.resetDone.wait (5000));
    juce::Thread::sleep (50);
    EXPECT_EQ (driver.countCalls ("inUnprepareHeader"), 0) << "a buffer was taken back before its notice";
    EXPECT_NE (driver.getState().openedInput, ~0u);

    driver.postHeldNotices();
    closer.join();

    const auto calls = driver.getState().calls;
    EXPECT_LT (calls.indexOf ("inStop"), calls.indexOf ("inReset"));
    EXPECT_EQ (driver.countCalls ("inUnprepareHeader"), WindowsMidiReceiver::numBuffers);
    EXPECT_EQ (calls[calls.size() - 1], "inClose");
    EXPECT_EQ (driver.getState().openedInput, ~0u) << "the driver refused to close";
    EXPECT_TRUE (logLines.isEmpty()) << logLines.joinIntoString ("\n");
}

TEST_F (WindowsInput, CloseEndsInTimeAndSaysWhyWhenTheDriverKeepsItsBuffers)
{
    driver.reset = FakeWinmm::Reset::buffersKept;
    const auto elapsed = timeClose();

    EXPECT_GE (elapsed, (juce::uint32) limitMs - 20);
    EXPECT_LT (elapsed, (juce::uint32) limitMs + 1000);
    EXPECT_EQ (driver.countCalls ("inUnprepareHeader"), 0);
    ASSERT_EQ (logLines.size(), 1);
    EXPECT_TRUE (logLines[0].contains ("stays open until the program ends")) << logLines[0];
}

TEST_F (WindowsInput, CloseEndsInTimeAndSaysWhyWhenTheThreadHangsInTheDriver)
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

TEST (WindowsMidiPorts, ListsReadableDevicesInWinmmOrderNamedAsJuceNamesThem)
{
    FakeWinmm driver;
    driver.inputNames = { "Port", "", "Port", "VT-5150" };
    driver.outputNames = { "", "VT-5150", "Synth" };
    WindowsMidiPorts ports (driver);
    RecordingListener listener;

    EXPECT_EQ (ports.getNumInputs(), 3);
    EXPECT_EQ (ports.getInputNames(), juce::StringArray ("Port", "Port-2", "VT-5150"));
    EXPECT_EQ (ports.getOutputNames(), juce::StringArray ("VT-5150", "Synth"));
    EXPECT_EQ (ports.openInput (3, listener), nullptr);

    const auto input = ports.openInput (2, listener);
    ASSERT_NE (input, nullptr);
    EXPECT_EQ (driver.getState().openedInput, 3u);

    const auto output = ports.openOutput (1);
    ASSERT_NE (output, nullptr);
    EXPECT_EQ (driver.getState().openedOutput, 2u);
}
