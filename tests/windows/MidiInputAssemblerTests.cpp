#include "midi/windows/MidiInputAssembler.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<juce::uint8>;

/** What the assembler passed on after the pieces of a SysEx buffer, short messages, or drops it was given. */
struct Assembled
{
    std::vector<Bytes> messages;
    MidiInputAssembler assembler { [this] (const juce::MidiMessage& message) {
        messages.emplace_back (message.getRawData(), message.getRawData() + message.getRawDataSize());
    } };

    Assembled& push (const Bytes& bytes)
    {
        assembler.pushSysExBytes (bytes.data(), (int) bytes.size());
        return *this;
    }

    Assembled& pushShort (juce::uint32 packed)
    {
        assembler.pushShortMessage (packed);
        return *this;
    }
};

Bytes sysExOfLength (size_t length)
{
    Bytes bytes (length, 0x11);
    bytes.front() = 0xf0;
    bytes.back() = 0xf7;
    return bytes;
}
} // namespace

TEST (MidiInputAssembler, SysExArrivesWholeAndOnceWithRealTimeBytesPassedAtOnceAndShortMessagesWithTheirOwnLength)
{
    Assembled in;
    in.push ({ 0xf0, 0x00, 0x20 }).push ({ 0x30, 0x0d });
    EXPECT_TRUE (in.messages.empty());

    in.push ({ 0x01, 0xf7 }).push ({ 0xf0, 0x7e, 0xf7 });
    in.push ({ 0xf0, 0x01, 0xf8 }).pushShort (0xfe).push ({ 0xfa, 0x02, 0xf7 });
    in.push (sysExOfLength ((size_t) MidiInputAssembler::maxSysExLength)).pushShort (0x000005c1);

    EXPECT_EQ (in.messages, (std::vector<Bytes> { { 0xf0, 0x00, 0x20, 0x30, 0x0d, 0x01, 0xf7 },
                                                  { 0xf0, 0x7e, 0xf7 },
                                                  { 0xf8 },
                                                  { 0xfe },
                                                  { 0xfa },
                                                  { 0xf0, 0x01, 0x02, 0xf7 },
                                                  sysExOfLength ((size_t) MidiInputAssembler::maxSysExLength),
                                                  { 0xc1, 0x05 } }));
}

TEST (MidiInputAssembler, BrokenIncompleteOrOverlongSysExAndMalformedShortMessagesAreNeverPassedOn)
{
    Assembled in;
    in.push ({ 0x20, 0x30, 0xf7 });             // a tail without its start
    in.push ({ 0xf0, 0x01, 0x90, 0x02, 0xf7 }); // broken by a status byte
    in.push ({ 0xf0, 0x01 });
    in.push ({ 0xf0, 0x02, 0xf7 }); // a new start ends the one before without its end
    in.push ({ 0xf0, 0x05 }).pushShort (0x00403c90).push ({ 0x06, 0xf7 }); // a channel message breaks it
    in.push (sysExOfLength ((size_t) MidiInputAssembler::maxSysExLength + 1));
    // A status byte where data belongs, no status byte, a SysEx start alone.
    in.pushShort (0x00fff6b0).pushShort (0x42).pushShort (0xf0);

    EXPECT_EQ (in.messages, (std::vector<Bytes> { { 0xf0, 0x02, 0xf7 }, { 0x90, 0x3c, 0x40 } }));
}
