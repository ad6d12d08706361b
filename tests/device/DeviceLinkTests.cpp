#include "device/DeviceLink.h"
#include "sim/VirtualMidiPorts.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
using Bytes = std::vector<juce::uint8>;

juce::MidiMessage wire (const Bytes& bytes)
{
    return juce::MidiMessage (bytes.data(), (int) bytes.size());
}

const Bytes ack{ 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7 };

/**
    A device link on one virtual input/output pair whose answers the test
    scripts itself: each command is answered with the replies queued for it.
*/
class ScriptedLink : public testing::Test
{
protected:
    void SetUp() override
    {
        ports.setReceiver (0,
                           [this] (const juce::MidiMessage&)
                           {
                               ++commandsSeen;

                               for (const auto& reply : nextReplies)
                                   ports.sendToInput (0, wire (reply));
                           });

        link.setPortSystem (&ports);
        nextReplies = { ack };
        ASSERT_TRUE (link.detect());
    }

    void TearDown() override
    {
        link.close();
    }

    /** Lets the input's delivery thread hand over what the device sent. */
    static void letDeliveryHappen()
    {
        juce::Thread::sleep (50);
    }

    VirtualMidiPorts ports{ 1, 1 };
    DeviceLink link;
    std::vector<Bytes> nextReplies;
    std::atomic<int> commandsSeen{ 0 };
};

juce::uint32 millisecondsSince (juce::uint32 start)
{
    return juce::Time::getMillisecondCounter() - start;
}
} // namespace

TEST_F (ScriptedLink, AwaitReplyGivesUpNoEarlierThanOneSecond)
{
    nextReplies = {};

    for (auto strict : { true, false })
    {
        link.sendCommand (DeviceCommands::start);
        const auto start = juce::Time::getMillisecondCounter();
        EXPECT_FALSE (link.awaitReply (strict));
        const auto elapsed = millisecondsSince (start);

        EXPECT_GE (elapsed, DeviceLink::replyTimeoutMs);
        EXPECT_LT (elapsed, DeviceLink::replyTimeoutMs + 250);
    }
}

TEST_F (ScriptedLink, ReplyAlreadyStoredIsJudgedWithoutWaiting)
{
    link.sendCommand (DeviceCommands::start);
    letDeliveryHappen();

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_TRUE (link.awaitReply (true));
    EXPECT_LT (millisecondsSince (start), 200u);

    // Judging does not empty the store.
    EXPECT_TRUE (link.awaitReply (true));
}

TEST_F (ScriptedLink, ExchangesJudgeTheirRepliesByTheirRules)
{
    nextReplies = { { 0xf0, 0x4e, 0x7f, 0x0d, 0xf7 } };
    EXPECT_FALSE (link.sendStart());
    EXPECT_FALSE (link.sendAddress (0, 0));
    EXPECT_EQ (link.queryDevice(), 0xf7);

    nextReplies = { { 0xf0, 0x4e, 0x7f, 0x0d, 0x2a, 0xf7 } };
    EXPECT_FALSE (link.sendStart());
    EXPECT_EQ (link.queryDevice(), 0x2a);

    nextReplies = { { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0x01, 0x02, 0xf7 } };
    EXPECT_TRUE (link.sendStart());
    EXPECT_TRUE (link.sendAddress (0x80, 0xff));

    nextReplies = { { 0xf0, 0x4f, 0x7f, 0x0d, 0x2a, 0xf7 } };
    EXPECT_EQ (link.queryDevice(), 0);
}

TEST_F (ScriptedLink, NonSysExMessageAfterTheReplyReplacesIt)
{
    nextReplies = { ack, { 0xfe } };
    link.sendCommand (DeviceCommands::start);
    letDeliveryHappen();

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_FALSE (link.awaitReply (true));
    EXPECT_LT (millisecondsSince (start), 200u);
}

TEST_F (ScriptedLink, MessageFromAnotherSourceEmptiesTheStore)
{
    link.sendCommand (DeviceCommands::start);
    letDeliveryHappen();

    struct ForeignInput : MidiInputPort
    {
        void start() override {}
        void stop() override {}
    } foreign;

    link.handleIncomingMidiMessage (&foreign, wire (ack));
    EXPECT_FALSE (link.awaitReply (true));

    link.sendCommand (DeviceCommands::start);
    letDeliveryHappen();
    link.handleIncomingMidiMessage (nullptr, wire (ack));
    EXPECT_FALSE (link.awaitReply (true));
}

TEST_F (ScriptedLink, LateReplyIsDiscardedByTheNextSend)
{
    nextReplies = {};
    link.sendCommand (DeviceCommands::start);
    EXPECT_FALSE (link.awaitReply (true));

    // The answer to the first command arrives after its wait has ended...
    ports.sendToInput (0, wire (ack));
    letDeliveryHappen();

    // ...and must not be taken as the answer to the next one.
    link.sendCommand (DeviceCommands::commit);
    EXPECT_FALSE (link.awaitReply (true));
}

TEST_F (ScriptedLink, WithoutAnOutputNothingIsSentAndNothingStaleIsJudged)
{
    link.sendCommand (DeviceCommands::start);
    letDeliveryHappen();
    const int sentBefore = commandsSeen;

    link.close();
    EXPECT_FALSE (link.isOpen());
    EXPECT_FALSE (link.sendStart());
    EXPECT_EQ (commandsSeen, sentBefore);
}
