#pragma once

#include "device/DeviceCommands.h"

#include <juce_core/juce_core.h>

#include <vector>

/**
    A firmware image laid out as the updater carries it: the payload length as
    a little-endian signed 32-bit word, a reserved word, then the payload,
    which is opaque and sent exactly as stored, 128 bytes to a block.
*/
class FirmwareImage
{
public:
    /** Bytes per block; each block is committed on its own. */
    static constexpr int blockSize = 128;

    /** The 16-bit word address of a block's start reaches no further than this: 1024 blocks. */
    static constexpr int maxBlocks = DeviceCommands::addressCount * DeviceCommands::bytesPerAddress / blockSize;

    /** The image built into the program. */
    static const FirmwareImage& getBuiltIn();

    /** An image holding a copy of these payload bytes, of any length. */
    explicit FirmwareImage (const std::vector<juce::uint8>& payload);

    /**
        An image over this laid-out memory (length word, reserved word, payload),
        which must outlive it. A layout shorter than its header, or whose length
        word is negative or claims more payload than the layout holds, is refused:
        the image is then empty, and a transfer of it sends nothing.
    */
    FirmwareImage (const juce::uint8* layout, size_t layoutSize);

    /** Moving keeps the payload where it is, so the moved-to image stays valid. */
    FirmwareImage (FirmwareImage&&) noexcept = default;

    /**
        Why a payload of this many bytes cannot be sent as a whole, or an empty
        string if it can: it must be a whole number of blocks, at least one and
        at most maxBlocks.
    */
    static juce::String checkPayloadSize (size_t numBytes);

    /** The payload length that the image's length word gives. */
    int getLength() const noexcept;

    /** The number of whole blocks in the payload; bytes after the last whole block are never sent. */
    int getNumBlocks() const noexcept;

    /** The first payload byte. */
    const juce::uint8* getPayload() const noexcept;

    /** A copy of the payload bytes. */
    std::vector<juce::uint8> getPayloadCopy() const;

private:
    static constexpr int headerSize = 8;

    std::vector<juce::uint8> ownedLayout;
    const juce::uint8* layout = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareImage)
};
