#include "sim/DeviceMemory.h"

namespace
{
constexpr int blockSize = 128;
constexpr int flashSize = 65536 * 2;
constexpr juce::uint8 header[] = { 0x4e, 0x7f, 0x0d };

int expectedLength (juce::uint8 letter)
{
    switch (letter)
    {
        case 'x':
        case 'V':
        case 'e':
        case 'm':
            return 4;
        case 'A':
            return 7;
        case 'c':
        case 'C':
            return 6;
        default:
            return -1;
    }
}

bool argumentsAreSevenBit (const juce::uint8* body, int length)
{
    return std::all_of (body + 4, body + length, [] (juce::uint8 b) { return b < 0x80; });
}
} // namespace

DeviceMemory::DeviceMemory()
    : flash ((size_t) flashSize, 0xff)
{
}

DeviceMemory::Command DeviceMemory::process (const juce::MidiMessage& frame)
{
    if (! frame.isSysEx() || frame.getSysExDataSize() < 4)
        return violation ("malformed frame: " + juce::String::toHexString (frame.getRawData(), frame.getRawDataSize()));

    const auto* body = frame.getSysExData();
    const auto length = frame.getSysExDataSize();
    const auto letter = body[3];

    if (! std::equal (std::begin (header), std::end (header), body) || expectedLength (letter) != length ||
        ! argumentsAreSevenBit (body, length))
        return violation ("malformed frame: " + juce::String::toHexString (frame.getRawData(), frame.getRawDataSize()));

    switch (letter)
    {
        case 'x':
            return Command::probe;
        case 'V':
            return Command::query;
        case 'e':
            started = true;
            initialAddressSeen = false;
            pendingAddress = -1;
            numDataBytes = 0;
            numCommittedBlocks = 0;
            block.clear();
            return Command::start;
        case 'A':
            return processAddress (body + 4);
        case 'm':
            return processCommit();
        default:
            return processData (letter, body + 4);
    }
}

DeviceMemory::Command DeviceMemory::processAddress (const juce::uint8* arguments)
{
    if (! started)
        return violation ("address before start");

    if (arguments[2] > 3)
        return violation ("address flags out of range");

    const auto high = arguments[0] | ((arguments[2] & 1) != 0 ? 0x80 : 0);
    const auto low = arguments[1] | ((arguments[2] & 2) != 0 ? 0x80 : 0);
    const auto address = (high << 8) | low;

    if (! initialAddressSeen && block.empty())
    {
        initialAddressSeen = true;
        return Command::initialAddress;
    }

    if (address * 2 + blockSize > flashSize)
        return violation ("address beyond the end of the flash");

    if ((int) block.size() != blockSize)
        return violation ("address command inside a block, after " + juce::String ((int) block.size()) + " bytes");

    pendingAddress = address;
    return Command::blockAddress;
}

DeviceMemory::Command DeviceMemory::processData (juce::uint8 letter, const juce::uint8* arguments)
{
    if (! started)
        return violation ("data before start");

    if (arguments[1] > 1)
        return violation ("data flag out of range");

    if ((int) block.size() == blockSize)
        return violation ("more than 128 data bytes in a block");

    const auto expectedLetter = block.size() % 2 == 0 ? 'c' : 'C';

    if (letter != expectedLetter)
        violation ("block " + juce::String (numCommittedBlocks) + " byte " + juce::String ((int) block.size()) +
                   " sent with '" + juce::String::charToString ((juce::juce_wchar) letter) + "'");

    block.push_back ((juce::uint8) (arguments[0] | (arguments[1] != 0 ? 0x80 : 0)));
    ++numDataBytes;
    return Command::data;
}

DeviceMemory::Command DeviceMemory::processCommit()
{
    if (! started)
        return violation ("commit before start");

    if ((int) block.size() != blockSize || pendingAddress < 0)
        return violation ("commit of an incomplete block");

    std::copy (block.begin(), block.end(), flash.begin() + pendingAddress * 2);
    block.clear();
    pendingAddress = -1;
    ++numCommittedBlocks;
    return Command::commit;
}

DeviceMemory::Command DeviceMemory::violation (const juce::String& what)
{
    violations.add (what);
    return Command::malformed;
}

bool DeviceMemory::matches (const std::vector<juce::uint8>& payload) const
{
    return payload.size() <= flash.size() && numCommittedBlocks == (int) (payload.size() / blockSize) &&
           std::equal (payload.begin(), payload.end(), flash.begin());
}
