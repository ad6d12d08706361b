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
} // namespace

// The whole commands on the wire are checked by TransferTests and DetectTests;
// here, how every byte is split into seven bits and a flag.
TEST (DeviceCommands, DataAndAddressCarryLowSevenBitsAndTopBitFlags)
{
    EXPECT_EQ (bodyBytes (DeviceCommands::address (0xff, 0xff)), (Bytes { 0x4e, 0x7f, 0x0d, 0x41, 0x7f, 0x7f, 0x03 }));

    EXPECT_EQ (wireBytes (DeviceCommands::data ('c', 0xa5)),
               (Bytes { 0xf0, 0x4e, 0x7f, 0x0d, 0x63, 0x25, 0x01, 0xf7 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('C', 0x7f)), (Bytes { 0x4e, 0x7f, 0x0d, 0x43, 0x7f, 0x00 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('c', 0x80)), (Bytes { 0x4e, 0x7f, 0x0d, 0x63, 0x00, 0x01 }));
    EXPECT_EQ (bodyBytes (DeviceCommands::data ('C', 0xff)), (Bytes { 0x4e, 0x7f, 0x0d, 0x43, 0x7f, 0x01 }));
}
