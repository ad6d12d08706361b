#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/**
    What the commands that reach a simulated VT-5150 would write into it.

    Decodes each command frame, collects the data bytes of the current block,
    writes a block at its address when it is committed, and records every
    violation of the protocol it sees. Not thread-safe: its owner guards it.
*/
class DeviceMemory
{
public:
    /** What a command asks of the device. */
    enum class Command
    {
        malformed,
        probe,
        query,
        start,
        initialAddress,
        blockAddress,
        data,
        commit
    };

    /** Flash the size of the whole 16-bit word address space, erased to 0xFF. */
    DeviceMemory();

    /** Decodes one command frame, updates the memory and returns what it was. */
    Command process (const juce::MidiMessage& frame);

    /** Number of data commands received since the last start command. */
    int getNumDataBytes() const noexcept
    {
        return numDataBytes;
    }

    /** Number of blocks committed since the last start command. */
    int getNumCommittedBlocks() const noexcept
    {
        return numCommittedBlocks;
    }

    /** True when the first payload.size() bytes of memory equal the payload and every block was committed. */
    bool matches (const std::vector<juce::uint8>& payload) const;

    /** Every protocol violation seen so far, in order. */
    const juce::StringArray& getViolations() const noexcept
    {
        return violations;
    }

private:
    Command processAddress (const juce::uint8* arguments);
    Command processData (juce::uint8 letter, const juce::uint8* arguments);
    Command processCommit();
    Command violation (const juce::String& what);

    std::vector<juce::uint8> flash;
    std::vector<juce::uint8> block;
    juce::StringArray violations;
    int pendingAddress = -1;
    int numDataBytes = 0;
    int numCommittedBlocks = 0;
    bool started = false;
    bool initialAddressSeen = false;
};
