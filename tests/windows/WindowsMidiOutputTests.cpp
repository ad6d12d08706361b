#include "midi/windows/WindowsMidiOutput.h"
#include "tests/windows/FakeWinmm.h"

#include <gtest/gtest.h>

#include <tuple>

namespace
{
using Bytes = std::vector<juce::uint8>;
constexpr DWORD limitMs = 100;

const Bytes probe { 0xf0, 0x00, 0x20, 0x30, 0x01, 0xf7 };

struct OpenOutput
{
    explicit OpenOutput (FakeWinmm::Completion completion, DWORD limit = limitMs)
    {
        driver.completion = completion;
        port = std::make_unique<WindowsMidiOutput> (driver, limit);
        EXPECT_TRUE (port->open (0));
    }

    /** Sends the bytes and returns how long the send took, in milliseconds. */
    juce::uint32 timeSend (const Bytes& bytes = probe)
    {
        const auto start = juce::Time::getMillisecondCounter();
        port->sendMessageNow (juce::MidiMessage (bytes.data(), (int) bytes.size()));
        return juce::Time::getMillisecondCounter() - start;
    }

    FakeWinmm driver;
    std::unique_ptr<WindowsMidiOutput> port;
};
} // namespace

TEST (WindowsMidiOutput, MessagesGoOutExactlySysExFromABufferPreparedOnceAndTheSendAwaitsItsCompletion)
{
    OpenOutput out (FakeWinmm::Completion::soon);
    const Bytes longer { 0xf0, 0x00, 0x20, 0x30, 0x01, 0x02, 0x03, 0xf7 };

    // The fake completes each send after 20 ms, and signals the event at once
    // as well, as another notice would.
    EXPECT_GE (out.timeSend(), 15u);
    EXPECT_GE (out.timeSend(), 15u);
    out.timeSend (longer);
    out.timeSend();
    out.timeSend ({ 0x90, 0x3c, 0x40 });
    out.timeSend ({ 0xc1, 0x05 });

    EXPECT_EQ (out.driver.getState().longSent, (std::vector<Bytes> { probe, probe, longer, probe }));
    EXPECT_EQ (out.driver.getState().shortSent, (std::vector<DWORD> { 0x00403c90, 0x000005c1 }));
    EXPECT_EQ (out.driver.countCalls ("outPrepareHeader"), 2) << "prepared again although the buffer was large enough";
    EXPECT_EQ (out.driver.countCalls ("outUnprepareHeader"), 1);
    EXPECT_FALSE (out.port->isStuck());

    out.port.reset();
    EXPECT_EQ (out.driver.countCalls ("outUnprepareHeader"), 2);
    EXPECT_EQ (out.driver.getState().openedOutput, ~0u);
}

TEST (WindowsMidiOutput, SendNotCompletedInTimeIsResetARefusedOneIsNotAwaitedAndOnlyOneStillUndoneLeavesTheOutputStuck)
{
    // Each row: how the driver takes a send; the send's time limit; how many
    // limits the send then waits (one, then the reset, and one more after it;
    // none for a refused send); whether the output is then stuck, sending
    // nothing more; how many resets it made; how many sends went out once the
    // driver completes them again.
    for (const auto& [completion, limit, waits, stuck, resets, sentInAll] :
         { std::tuple { FakeWinmm::Completion::atReset, limitMs, 1, false, 1, 2 },
           std::tuple { FakeWinmm::Completion::never, limitMs, 2, true, 1, 1 },
           std::tuple { FakeWinmm::Completion::refused, (DWORD) 2000, 0, false, 0, 1 } })
    {
        OpenOutput out (completion, limit);

        const auto elapsed = (int) out.timeSend();
        EXPECT_GE (elapsed, waits * (int) limit - 20);
        EXPECT_LT (elapsed, waits * (int) limit + 1000);
        EXPECT_EQ (out.port->isStuck(), stuck);
        EXPECT_EQ (out.driver.countCalls ("outReset"), resets);

        out.driver.completion = FakeWinmm::Completion::soon;
        out.timeSend();
        EXPECT_EQ ((int) out.driver.getState().longSent.size(), sentInAll);

        // Closing never hangs and unprepares the buffer once: for a buffer still
        // the driver's, that attempt is refused and the buffer left to it.
        const auto start = juce::Time::getMillisecondCounter();
        out.port.reset();
        EXPECT_LT (juce::Time::getMillisecondCounter() - start, limit + 1000);
        EXPECT_EQ (out.driver.countCalls ("outUnprepareHeader"), 1);
        EXPECT_EQ (out.driver.getState().openedOutput == ~0u, ! stuck);
    }
}
