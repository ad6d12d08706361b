#include "device/DeviceCommands.h"

namespace
{
constexpr juce::uint8 header[] = { 0x4e, 0x7f, 0x0d };

DeviceCommands::Body makeBody (juce::uint8 letter, std::initializer_list<juce::uint8> arguments) noexcept
{
    DeviceCommands::Body body;
    auto* out = std::copy (std::begin (header), std::end (header), body.bytes.begin());
    *out++ = letter;
    out = std::copy (arguments.begin(), arguments.end(), out);
    body.length = (int) (out - body.bytes.begin());
    return body;
}

constexpr juce::uint8 low7 (juce::uint8 value) noexcept
{
    return (juce::uint8) (value & 0x7f);
}

constexpr bool topBit (juce::uint8 value) noexcept
{
    return (value & 0x80) != 0;
}
} // namespace

const DeviceCommands::Body DeviceCommands::probe = makeBody ('x', {});
const DeviceCommands::Body DeviceCommands::query = makeBody ('V', {});
const DeviceCommands::Body DeviceCommands::start = makeBody ('e', {});
const DeviceCommands::Body DeviceCommands::commit = makeBody ('m', {});

DeviceCommands::Body DeviceCommands::address (juce::uint8 high, juce::uint8 low) noexcept
{
    const auto flags = (juce::uint8) ((topBit (high) ? 1 : 0) + (topBit (low) ? 2 : 0));
    return makeBody ('A', { low7 (high), low7 (low), flags });
}

DeviceCommands::Body DeviceCommands::data (char letter, juce::uint8 value) noexcept
{
    jassert (letter == evenDataLetter || letter == oddDataLetter);
    return makeBody ((juce::uint8) letter, { low7 (value), (juce::uint8) (topBit (value) ? 1 : 0) });
}

juce::MidiMessage DeviceCommands::toMessage (const juce::uint8* body, int length)
{
    // Framed on the stack rather than in a heap block, as JUCE's createSysExMessage
    // does: a message of up to eight bytes keeps them inside itself, so sending any
    // command but an address allocates nothing.
    jassert (juce::isPositiveAndNotGreaterThan (length, maxBodyLength));
    const auto bodyLength = juce::jlimit (0, maxBodyLength, length);
    std::array<juce::uint8, maxBodyLength + 2> frame {};
    frame[0] = 0xf0;
    std::copy (body, body + bodyLength, frame.begin() + 1);
    frame[(size_t) bodyLength + 1] = 0xf7;
    return juce::MidiMessage (frame.data(), bodyLength + 2);
}

bool DeviceCommands::isLenientReply (const juce::MidiMessage& message) noexcept
{
    if (! message.isSysEx() || message.getSysExDataSize() < bodyHeaderLength)
        return false;

    return std::equal (std::begin (header), std::end (header), message.getSysExData());
}

bool DeviceCommands::isStrictAcknowledgement (const juce::MidiMessage& message) noexcept
{
    return isLenientReply (message) && message.getSysExDataSize() > bodyHeaderLength &&
           message.getSysExData()[bodyHeaderLength] == acknowledgeByte;
}

bool DeviceCommands::isSystemRealTime (const juce::MidiMessage& message) noexcept
{
    return message.getRawDataSize() == 1 && message.getRawData()[0] >= 0xf8;
}
