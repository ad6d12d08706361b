#include "midi/WindowsMidiInput.h"
#include "midi/WindowsMidiPorts.h"
#include "tests/windows/FakeWinmm.h"
#include "tests/windows/RecordingListener.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;

struct OpenInput
{
    FakeWinmm driver;
    RecordingListener listener { 3 };
    std::unique_ptr<MidiInputPort> port;

    OpenInput()
    {
        port = WindowsMidiPorts (driver).openInput (0, listener);
    }

    bool awaitAllQueued()
    {
        for (int i = 0; i < 5000 && driver.getNumQueued() < WindowsMidiInput::numBuffers; ++i)
            juce::Thread::sleep (1);

        return driver.getNumQueued() == WindowsMidiInput::numBuffers;
    }

    bool awaitTimesAdded (const MIDIHDR* header, int times)
    {
        for (int i = 0; i < 5000 && driver.getTimesAdded (header) < times; ++i)
            juce::Thread::sleep (1);

        return driver.getTimesAdded (header) == times;
    }
};
} // namespace

TEST (WindowsMidiInput, QueuesEveryBufferWhenOpened)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    EXPECT_EQ (in.driver.getNumQueued(), WindowsMidiInput::numBuffers);
    EXPECT_EQ (in.driver.getCalls().indexOf ("inOpen"), 0);
}

TEST (WindowsMidiInput, BufferGoesBackOnlyAfterItsOwnNoticeWasHandled)
{
    // As Wine's driver does: B is filled and marked done while A's notice is
    // being handled, and B's own notice comes only later.
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.port->start();

    const Bytes first { 0xf0, 0x00, 0x20, 0x30, 0x0d, 0xf7 }, second { 0xf0, 0x00, 0x20, 0x30, 0x0d, 0x01, 0xf7 };
    auto* a = in.driver.fillBuffer (first);
    auto* b = in.driver.fillBuffer (second, false);
    ASSERT_TRUE (in.listener.awaitCount (1));
    ASSERT_TRUE (in.awaitTimesAdded (a, 2));
    juce::Thread::sleep (50);

    EXPECT_EQ (in.driver.getTimesAdded (b), 1);
    EXPECT_EQ (b->dwBytesRecorded, second.size());

    in.driver.post (MM_MIM_LONGDATA, (LPARAM) b);
    ASSERT_TRUE (in.listener.awaitCount (2));
    EXPECT_EQ (in.listener.getMessages(), (std::vector<Bytes> { first, second }));
    EXPECT_TRUE (in.awaitAllQueued());
}

TEST (WindowsMidiInput, ShortAndRealTimeMessagesReachTheListener)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.port->start();

    in.driver.post (MM_MIM_DATA, 0x00403c90);
    in.driver.post (MM_MIM_DATA, 0xf8);
    in.driver.post (MM_MIM_DATA, 0xfe);

    ASSERT_TRUE (in.listener.awaitCount (3));
    EXPECT_EQ (in.listener.getMessages(), (std::vector<Bytes> { { 0x90, 0x3c, 0x40 }, { 0xf8 }, { 0xfe } }));
}

TEST (WindowsMidiInput, SysExReportedBrokenIsDroppedAndItsBufferQueuedAgain)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.port->start();

    auto* broken = in.driver.fillBuffer ({ 0xf0, 0x00, 0x20 }, false);
    in.driver.post (MM_MIM_LONGERROR, (LPARAM) broken);
    in.driver.fillBuffer ({ 0x30, 0x0d, 0xf7 });
    in.driver.fillBuffer ({ 0xf0, 0x05, 0xf7 });

    ASSERT_TRUE (in.listener.awaitCount (1));
    EXPECT_TRUE (in.awaitAllQueued());
    EXPECT_EQ (in.listener.getMessages(), (std::vector<Bytes> { { 0xf0, 0x05, 0xf7 } }));
    EXPECT_EQ (in.driver.getTimesAdded (broken), 2);
}

TEST (WindowsMidiInput, NothingReachesTheListenerAfterStopReturns)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.port->start();

    std::atomic<bool> sending { true };
    std::thread device (
        [&]
        {
            while (sending)
            {
                in.driver.post (MM_MIM_DATA, 0xf8);
                in.driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
                juce::Thread::sleep (1);
            }
        });

    ASSERT_TRUE (in.listener.awaitCount (20));
    in.port->stop();
    in.listener.stopped = true;
    const auto delivered = in.listener.getMessages().size();
    juce::Thread::sleep (200);
    sending = false;
    device.join();

    EXPECT_EQ (in.listener.afterStop, 0);
    EXPECT_EQ (in.listener.getMessages().size(), delivered);
}

TEST (WindowsMidiInput, CloseResetsUnpreparesEveryBufferThenCloses)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.port->start();
    in.driver.fillBuffer ({ 0xf0, 0x01, 0xf7 });
    in.port.reset();

    const auto calls = in.driver.getCalls();
    const auto reset = calls.indexOf ("inReset");
    ASSERT_GE (reset, 0);
    EXPECT_LT (calls.indexOf ("inStop"), reset);
    EXPECT_GT (calls.indexOf ("inUnprepareHeader", false, reset), reset);
    EXPECT_EQ (calls[calls.size() - 1], "inClose");
    EXPECT_EQ (in.driver.getNumQueued(), 0);
    EXPECT_EQ (in.driver.getOpenedInput(), ~0u) << "the driver refused to close";

    int unprepared = 0;

    for (const auto& call : calls)
        unprepared += call == "inUnprepareHeader" ? 1 : 0;

    EXPECT_EQ (unprepared, WindowsMidiInput::numBuffers);
}

TEST (WindowsMidiInput, CloseEndsInTimeWhenTheDriverKeepsItsBuffers)
{
    OpenInput in;
    ASSERT_NE (in.port, nullptr);
    in.driver.keepBuffersAtReset = true;

    const auto start = juce::Time::getMillisecondCounter();
    in.port.reset();
    const auto elapsed = juce::Time::getMillisecondCounter() - start;

    EXPECT_GE (elapsed, (juce::uint32) WindowsMidiInput::closeLimitMs - 20);
    EXPECT_LT (elapsed, (juce::uint32) WindowsMidiInput::closeLimitMs + 2000);
    EXPECT_EQ (in.driver.getCalls().indexOf ("inUnprepareHeader"), -1);
}

TEST (WindowsMidiInput, InputThatCannotBeOpenedYieldsNoPort)
{
    FakeWinmm driver;
    driver.inOpenResult = MMSYSERR_ALLOCATED;
    RecordingListener listener;

    EXPECT_EQ (WindowsMidiPorts (driver).openInput (0, listener), nullptr);
    EXPECT_EQ (driver.getCalls(), juce::StringArray ("inOpen"));
}

TEST (WindowsMidiPorts, ListsReadableDevicesInWinmmOrderNamedAsJuceNamesThem)
{
    FakeWinmm driver;
    driver.inputNames = { "Port", "Gone", "Port", "VT-5150" };
    driver.unreadableInputs = { 1 };
    driver.outputNames = { "Synth", "VT-5150", "Synth" };
    driver.unreadableOutputs = { 0 };
    WindowsMidiPorts ports (driver);
    RecordingListener listener;

    EXPECT_EQ (ports.getNumInputs(), 3);
    EXPECT_EQ (ports.getInputNames(), juce::StringArray ("Port", "Port-2", "VT-5150"));
    EXPECT_EQ (ports.getOutputNames(), juce::StringArray ("VT-5150", "Synth"));
    EXPECT_EQ (ports.openInput (3, listener), nullptr);

    const auto input = ports.openInput (2, listener);
    ASSERT_NE (input, nullptr);
    EXPECT_EQ (driver.getOpenedInput(), 3u);

    const auto output = ports.openOutput (1);
    ASSERT_NE (output, nullptr);
    EXPECT_EQ (driver.getOpenedOutput(), 2u);
}
