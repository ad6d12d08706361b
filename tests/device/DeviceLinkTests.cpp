#include "device/DeviceLink.h"
#include "sim/VirtualMidiPorts.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;

juce::MidiMessage wire (const Bytes& bytes)
{
    return juce::MidiMessage (bytes.data(), (int) bytes.size());
}

const Bytes ack { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7 };

juce::uint32 millisecondsSince (juce::uint32 start)
{
    return juce::Time::getMillisecondCounter() - start;
}

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
                               for (const auto& reply : nextReplies)
                                   ports.sendToInput (0, wire (reply));
                           });

        link.setPortSystem (&ports);
        ASSERT_TRUE (link.detect());
    }

    void TearDown() override
    {
        link.close();
    }

    /** Sends a command and lets the input's delivery thread hand over what the device sent. */
    void sendAndLetDeliveryHappen()
    {
        link.sendCommand (DeviceCommands::start);
        juce::Thread::sleep (50);
    }

    VirtualMidiPorts ports { 1, 1 };
    DeviceLink link;
    std::vector<Bytes> nextReplies { ack };
};
} // namespace

TEST_F (ScriptedLink, AwaitReplyGivesUpNoEarlierThanOneSecond)
{
    nextReplies = {};
    link.sendCommand (DeviceCommands::start);

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_FALSE (link.awaitReply (true));
    const auto elapsed = millisecondsSince (start);

    EXPECT_GE (elapsed, DeviceLink::replyTimeoutMs);
    EXPECT_LT (elapsed, DeviceLink::replyTimeoutMs + 250);
}

TEST_F (ScriptedLink, StoredMessageIsJudgedWithoutWaitingAndKept)
{
    // An acknowledgement passes, also with System Real-Time bytes around it
    // (clock, active sensing); any other message that follows it replaces it.
    const Bytes noteOff { 0x80, 0x3c, 0x00 }, clock { 0xf8 }, sensing { 0xfe }, reset { 0xff };

    for (const auto& [replies, accepted] : { std::pair { std::vector<Bytes> { ack }, true },
                                             std::pair { std::vector<Bytes> { clock, ack, sensing, reset }, true },
                                             std::pair { std::vector<Bytes> { sensing }, false },
                                             std::pair { std::vector<Bytes> { ack, noteOff }, false },
                                             std::pair { std::vector<Bytes> { ack, { 0xf6 } }, false } })
    {
        nextReplies = replies;
        sendAndLetDeliveryHappen();

        const auto start = juce::Time::getMillisecondCounter();
        EXPECT_EQ (link.awaitReply (true), accepted);
        EXPECT_EQ (link.awaitReply (true), accepted);
        EXPECT_LT (millisecondsSince (start), 200u);
    }
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

TEST_F (ScriptedLink, MessageFromAnotherSourceEmptiesTheStore)
{
    sendAndLetDeliveryHappen();

    struct ForeignInput : MidiInputPort
    {
        void start() override {}
        void stop() override {}
    } foreign;

    link.handleIncomingMidiMessage (&foreign, wire (ack));
    EXPECT_FALSE (link.awaitReply (true));
}
