#include "device/FirmwareImage.h"

namespace EmbeddedResources
{
extern const unsigned char firmwareImage[];
extern const int firmwareImageSize;
} // namespace EmbeddedResources

const FirmwareImage& FirmwareImage::getBuiltIn()
{
    static const FirmwareImage builtIn (EmbeddedResources::firmwareImage,
                                        (size_t) EmbeddedResources::firmwareImageSize);
    return builtIn;
}

FirmwareImage::FirmwareImage (const juce::uint8* layoutToUse, size_t layoutSize)
    : layout (layoutToUse)
{
    const auto fits = layoutSize >= (size_t) headerSize && getLength() >= 0 &&
                      (size_t) getLength() <= layoutSize - (size_t) headerSize;

    // Reading past the end of the layout would send whatever lies behind it:
    // an image that does not fit becomes an empty one, which is never sent.
    if (! fits)
    {
        ownedLayout.assign ((size_t) headerSize, 0);
        layout = ownedLayout.data();
    }
}

FirmwareImage::FirmwareImage (const std::vector<juce::uint8>& payload)
    : ownedLayout ((size_t) headerSize + payload.size(), 0)
{
    const auto length = juce::ByteOrder::swapIfBigEndian ((juce::uint32) payload.size());
    std::memcpy (ownedLayout.data(), &length, sizeof (length));
    std::copy (payload.begin(), payload.end(), ownedLayout.begin() + headerSize);
    layout = ownedLayout.data();
}

juce::String FirmwareImage::checkPayloadSize (size_t numBytes)
{
    if (numBytes == 0)
        return "the firmware file is empty";

    if (numBytes % blockSize != 0)
        return "the firmware file holds " + juce::String ((juce::int64) numBytes) +
               " bytes, which is not a whole number of " + juce::String (blockSize) + "-byte blocks";

    if (numBytes > (size_t) (maxBlocks * blockSize))
        return "the firmware file holds " + juce::String ((juce::int64) numBytes) + " bytes, more than the " +
               juce::String (maxBlocks * blockSize) + " that the device can address";

    return {};
}

int FirmwareImage::getLength() const noexcept
{
    return (int) juce::ByteOrder::littleEndianInt (layout);
}

int FirmwareImage::getNumBlocks() const noexcept
{
    return getLength() / blockSize;
}

const juce::uint8* FirmwareImage::getPayload() const noexcept
{
    return layout + headerSize;
}

std::vector<juce::uint8> FirmwareImage::getPayloadCopy() const
{
    const auto length = (size_t) juce::jmax (0, getLength());
    return std::vector<juce::uint8> (getPayload(), getPayload() + length);
}
