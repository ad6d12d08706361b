#include "device/DeviceLink.h"
#include "midi/WindowsMidiOutput.h"
#include "midi/WindowsMidiPorts.h"
#include "tests/windows/FakeWinmm.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;
constexpr auto limitMs = WindowsMidiOutput::completionLimitMs;

const Bytes probe { 0xf0, 0x00, 0x20, 0x30, 0x01, 0xf7 };

struct OpenOutput
{
    explicit OpenOutput (FakeWinmm::Completion completion)
    {
        driver.completion = completion;
        port = std::make_unique<WindowsMidiOutput> (driver);
        EXPECT_TRUE (port->open (0));
    }

    /** Sends the probe bytes and returns how long the send took, in milliseconds. */
    juce::uint32 timeSend()
    {
        const auto start = juce::Time::getMillisecondCounter();
        port->sendMessageNow (juce::MidiMessage (probe.data(), (int) probe.size()));
        return juce::Time::getMillisecondCounter() - start;
    }

    int count (const char* call)
    {
        int n = 0;

        for (const auto& c : driver.getCalls())
            n += c == call ? 1 : 0;

        return n;
    }

    FakeWinmm driver;
    std::unique_ptr<WindowsMidiOutput> port;
};
} // namespace

TEST (WindowsMidiOutput, SysExGoesOutExactlyAndTheSendAwaitsItsCompletion)
{
    OpenOutput out (FakeWinmm::Completion::soon);

    EXPECT_GE (out.timeSend(), 15u);
    EXPECT_GE (out.timeSend(), 15u);
    EXPECT_EQ (out.driver.getLongSent(), (std::vector<Bytes> { probe, probe }));
    EXPECT_EQ (out.count ("outUnprepareHeader"), 2);
    EXPECT_FALSE (out.port->isStuck());
}

TEST (WindowsMidiOutput, SendThatNeverCompletesEndsInTimeAndNothingMoreIsSent)
{
    OpenOutput out (FakeWinmm::Completion::never);

    const auto elapsed = out.timeSend();
    EXPECT_GE (elapsed, 2 * limitMs - 20);
    EXPECT_LT (elapsed, 2 * limitMs + 2000);
    EXPECT_TRUE (out.port->isStuck());
    EXPECT_EQ (out.count ("outReset"), 1);

    EXPECT_LT (out.timeSend(), 100u);
    EXPECT_EQ (out.driver.getLongSent().size(), 1u);

    // The buffer is still the driver's: closing must neither hang nor take it back.
    const auto start = juce::Time::getMillisecondCounter();
    out.port.reset();
    EXPECT_LT (juce::Time::getMillisecondCounter() - start, limitMs + 2000);
    EXPECT_EQ (out.count ("outUnprepareHeader"), 1) << "only the refused attempt while closing";
}

TEST (WindowsMidiOutput, SendCompletedOnlyByTheResetLeavesTheOutputUsable)
{
    OpenOutput out (FakeWinmm::Completion::atReset);

    const auto elapsed = out.timeSend();
    EXPECT_GE (elapsed, limitMs - 20);
    EXPECT_LT (elapsed, limitMs + 2000);
    EXPECT_FALSE (out.port->isStuck());

    out.driver.completion = FakeWinmm::Completion::soon;
    out.timeSend();
    EXPECT_EQ (out.driver.getLongSent().size(), 2u);
}

TEST (WindowsMidiOutput, RefusedSendReturnsAtOnceAndReleasesItsBuffer)
{
    OpenOutput out (FakeWinmm::Completion::refused);

    EXPECT_LT (out.timeSend(), 100u);
    EXPECT_EQ (out.count ("outUnprepareHeader"), 1);
    EXPECT_FALSE (out.port->isStuck());
    EXPECT_TRUE (out.driver.getLongSent().empty());
}

TEST (WindowsMidiOutput, ShortMessageIsPackedStatusFirst)
{
    OpenOutput out (FakeWinmm::Completion::soon);
    out.port->sendMessageNow (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 64));
    out.port->sendMessageNow (juce::MidiMessage::programChange (2, 5));

    EXPECT_EQ (out.driver.getShortSent(), (std::vector<DWORD> { 0x00403c90, 0x000005c1 }));
}

TEST (WindowsMidiOutput, OutputThatCannotBeOpenedYieldsNoPort)
{
    FakeWinmm driver;
    driver.outOpenResult = MMSYSERR_ALLOCATED;

    EXPECT_EQ (WindowsMidiPorts (driver).openOutput (0), nullptr);
}

TEST (WindowsMidiOutput, ProbeThatNeverGoesOutIsAFailedExchangeNotAHang)
{
    FakeWinmm driver;
    driver.completion = FakeWinmm::Completion::never;
    WindowsMidiPorts ports (driver);
    DeviceLink link;
    link.setPortSystem (&ports);

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_FALSE (link.detect());
    const auto elapsed = juce::Time::getMillisecondCounter() - start;

    EXPECT_GE (elapsed, 2 * limitMs + DeviceLink::replyTimeoutMs - 20);
    EXPECT_LT (elapsed, 2 * limitMs + DeviceLink::replyTimeoutMs + 3000);
    EXPECT_FALSE (link.isOpen());
}
