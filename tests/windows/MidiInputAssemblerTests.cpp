#include "midi/windows/MidiInputAssembler.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;

struct Assembled
{
    std::vector<Bytes> messages;
    MidiInputAssembler assembler { [this] (const juce::MidiMessage& message) {
        messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    } };

    void push (const Bytes& bytes)
    {
        assembler.pushSysExBytes (bytes.data(), (int) bytes.size());
    }
};
} // namespace

TEST (MidiInputAssembler, SysExSpanningBuffersArrivesWholeAndOnce)
{
    Assembled in;
    in.push ({ 0xf0, 0x00, 0x20 });
    in.push ({ 0x30, 0x0d });
    EXPECT_TRUE (in.messages.empty());

    in.push ({ 0x01, 0xf7 });
    in.push ({ 0xf0, 0x7e, 0xf7 });
    EXPECT_EQ (in.messages,
               (std::vector<Bytes> { { 0xf0, 0x00, 0x20, 0x30, 0x0d, 0x01, 0xf7 }, { 0xf0, 0x7e, 0xf7 } }));
}

TEST (MidiInputAssembler, BrokenOrIncompleteSysExIsNeverPassedOn)
{
    Assembled in;
    in.push ({ 0x20, 0x30, 0xf7 });             // a tail without its start
    in.push ({ 0xf0, 0x01, 0x90, 0x02, 0xf7 }); // broken by a status byte
    in.push ({ 0xf0, 0x01 });
    in.push ({ 0xf0, 0x02, 0xf7 }); // a new start ends the one before without its end
    in.push ({ 0xf0, 0x03 });
    in.assembler.dropPartialMessage(); // the driver's MIM_LONGERROR
    in.push ({ 0x04, 0xf7 });

    EXPECT_EQ (in.messages, (std::vector<Bytes> { { 0xf0, 0x02, 0xf7 } }));
}

TEST (MidiInputAssembler, OverlongSysExIsDropped)
{
    Assembled in;
    Bytes longest (MidiInputAssembler::maxSysExLength, 0x11);
    longest.front() = 0xf0;
    longest.back() = 0xf7;
    in.push (longest);
    ASSERT_EQ (in.messages.size(), 1u);

    Bytes tooLong (MidiInputAssembler::maxSysExLength + 1, 0x11);
    tooLong.front() = 0xf0;
    tooLong.back() = 0xf7;
    in.push (tooLong);
    EXPECT_EQ (in.messages.size(), 1u);
}

TEST (MidiInputAssembler, RealTimeBytesPassAtOnceAndLeaveSysExWhole)
{
    Assembled in;
    in.push ({ 0xf0, 0x01, 0xf8 });
    in.assembler.pushShortMessage (0xfe);
    in.push ({ 0xfa, 0x02, 0xf7 });

    EXPECT_EQ (in.messages, (std::vector<Bytes> { { 0xf8 }, { 0xfe }, { 0xfa }, { 0xf0, 0x01, 0x02, 0xf7 } }));
}

TEST (MidiInputAssembler, ChannelMessageBreaksSysExUnderWay)
{
    Assembled in;
    in.push ({ 0xf0, 0x01 });
    in.assembler.pushShortMessage (0x00403c90);
    in.push ({ 0x02, 0xf7 });

    EXPECT_EQ (in.messages, (std::vector<Bytes> { { 0x90, 0x3c, 0x40 } }));
}
