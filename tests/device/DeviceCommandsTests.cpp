#include "device/DeviceCommands.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using Bytes = std::vector<juce::uint8>;

Bytes bodyBytes (const DeviceCommands::Body& body)
{
    return Bytes (body.data(), body.data() + body.length);
}

Bytes wireBytes (const DeviceCommands::Body& body)
{
    const auto message = DeviceCommands::toMessage (body.data(), body.length);
    return Bytes (message.getRawData(), message.getRawData() + message.getRawDataSize());
}

juce::MidiMessage fromWire (const Bytes& bytes)
{
    return juce::MidiMessage (bytes.data(), (int) bytes.size());
}
} // namespace

TEST (DeviceCommands, FixedCommandsGoOnTheWireExactly)
{
    EXPECT_EQ (wireBytes (DeviceCommands::probe), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x78, 0xf7 }));
    EXPECT_EQ (wireBytes (DeviceCommands::query), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x56, 0xf7 }));
    EXPECT_EQ (wireBytes (DeviceCommands::start), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x65, 0xf7 }));
    EXPECT_EQ (wireBytes (DeviceCommands::commit), (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x6d, 0xf7 }));
}

TEST (DeviceCommands, AddressSplitsEachByteIntoSevenBitsAndAFlag)
{
    EXPECT_EQ (bodyBytes (DeviceCommands::address (0x00, 0xc0)), (Bytes { 0x4e, 0x7f, 0x0d, 0x41, 0x00, 0x40, 0x02 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::address (0x01, 0x40)), (Bytes { 0x4e, 0x7f, 0x0d, 0x41, 0x01, 0x40, 0x00 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::address (0xff, 0xff)), (Bytes { 0x4e, 0x7f, 0x0d, 0x41, 0x7f, 0x7f, 0x03 }));

    // The longest frame, nine bytes, is the only one too long to live inside the message itself.
    EXPECT_EQ (wireBytes (DeviceCommands::address (0x30, 0x40)),
               (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x41, 0x30, 0x40, 0x00, 0xf7 }));
}

TEST (DeviceCommands, DataCarriesLowSevenBitsAndTopBitFlag)
{
    EXPECT_EQ (wireBytes (DeviceCommands::data ('c', 0xa5)),
               (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x63, 0x25, 0x01, 0xf7 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('C', 0x7f)), (Bytes { 0x4e, 0x7f, 0x0d, 0x43, 0x7f, 0x00 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('c', 0x80)), (Bytes { 0x4e, 0x7f, 0x0d, 0x63, 0x00, 0x01 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('C', 0xff)), (Bytes { 0x4e, 0x7f, 0x0d, 0x43, 0x7f, 0x01 }));
}

TEST (DeviceCommands, ReplyRules)
{
    struct Case
    {
        Bytes wire;
        bool lenient, strict;
    };

    const Case cases[] = {
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7 }, true, true },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0x01, 0x02, 0xf7 }, true, true },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0xf7 }, true, false },
        { { 0xf0, 0x4e, 0x7f, 0x0d, 0x0e, 0xf7 }, true, false },
        { { 0xf0, 0x4e, 0x7f, 0xf7 }, false, false },
        { { 0xf0, 0x4f, 0x7f, 0x0d, 0x0d, 0xf7 }, false, false },
        { { 0xf0, 0x4e, 0x7e, 0x0d, 0x0d, 0xf7 }, false, false },
        { { 0xf0, 0x4e, 0x7f, 0x0c, 0x0d, 0xf7 }, false, false },
        { { 0xfe }, false, false },
        { { 0x90, 0x4e, 0x7f }, false, false },
    };

    for (const auto& c : cases)
    {
        const auto message = fromWire (c.wire);
        EXPECT_EQ (DeviceCommands::isLenientReply (message), c.lenient)
            << juce::String::toHexString (c.wire.data(), (int) c.wire.size());
        EXPECT_EQ (DeviceCommands::isStrictAcknowledgement (message), c.strict)
            << juce::String::toHexString (c.wire.data(), (int) c.wire.size());
    }
}
