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
    // Each row: a reply; whether it acknowledges (F0, the header 4E 7F 0D, then
    // 0D); and what the query reads of it (byte 4 of a reply with the header, else 0).
    struct Row
    {
        Bytes reply;
        bool acknowledges;
        juce::uint8 queried;
    };

    const Row rows[] = {
        { ack, true, 0x0d },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0x01, 0x02, 0xf7 }, true, 0x0d },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0xf7 }, false, 0xf7 },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0x2a, 0xf7 }, false, 0x2a },
        { { 0xf0, 0x4e, 0x7f, 0xf7 }, false, 0 },
        { { 0xf0, 0x4f, 0x7f, 0x0d, 0x0d, 0xf7 }, false, 0 },
        { { 0xf0, 0x4e, 0x7e, 0x0d, 0x0d, 0xf7 }, false, 0 },
        { { 0xf0, 0x4e, 0x7f, 0x0c, 0x0d, 0xf7 }, false, 0 },
        { { 0x90, 0x4e, 0x7f }, false, 0 },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (juce::String::toHexString (row.reply.data(), (int) row.reply.size()).toStdString());
        nextReplies = { row.reply };
        EXPECT_EQ (link.sendStart(), row.acknowledges);
        EXPECT_EQ (link.sendAddress (0x80, 0xff), row.acknowledges);
        EXPECT_EQ (link.queryDevice(), row.queried);
    }
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
