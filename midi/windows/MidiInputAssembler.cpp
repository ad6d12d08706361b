#include "midi/windows/MidiInputAssembler.h"

namespace
{
bool isRealTime (juce::uint8 byte)
{
    return byte >= 0xf8;
}
} // namespace

MidiInputAssembler::MidiInputAssembler (Output outputToUse)
    : output (std::move (outputToUse))
{
}

void MidiInputAssembler::pushShortMessage (juce::uint32 packed)
{
    const juce::uint8 bytes[] = { (juce::uint8) (packed & 0xff), (juce::uint8) ((packed >> 8) & 0xff),
                                  (juce::uint8) ((packed >> 16) & 0xff) };
    const auto status = bytes[0];

    if (isRealTime (status))
    {
        output (juce::MidiMessage (bytes, 1));
        return;
    }

    // Anything else that is not a status byte, or that only SysEx may carry, is no message.
    if (status < 0x80 || status == 0xf0 || status == 0xf7)
        return;

    dropPartialMessage();

    const auto length = juce::MidiMessage::getMessageLengthFromFirstByte (status);

    for (int i = 1; i < length; ++i)
        if (bytes[i] >= 0x80)
            return;

    output (juce::MidiMessage (bytes, length));
}

void MidiInputAssembler::pushSysExBytes (const juce::uint8* bytes, int length)
{
    for (int i = 0; i < length; ++i)
        pushSysExByte (bytes[i]);
}

void MidiInputAssembler::dropPartialMessage()
{
    partial.clear();
    inSysEx = false;
}

void MidiInputAssembler::pushSysExByte (juce::uint8 byte)
{
    if (isRealTime (byte))
    {
        output (juce::MidiMessage (&byte, 1));
        return;
    }

    if (byte == 0xf0)
    {
        dropPartialMessage();
        inSysEx = true;
    }
    else if (! inSysEx)
    {
        return;
    }
    else if (byte >= 0x80 && byte != 0xf7)
    {
        dropPartialMessage();
        return;
    }

    partial.push_back (byte);

    if (byte == 0xf7)
    {
        output (juce::MidiMessage (partial.data(), (int) partial.size()));
        dropPartialMessage();
    }
    else if (partial.size() >= (size_t) maxSysExLength)
    {
        dropPartialMessage();
    }
}
