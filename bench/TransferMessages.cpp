#include "bench/TransferMessages.h"

#include "device/DeviceCommands.h"

std::vector<juce::MidiMessage> TransferMessages::forImage (const FirmwareImage& image)
{
    std::vector<juce::MidiMessage> messages;
    const auto add = [&messages] (const DeviceCommands::Body& body)
    { messages.push_back (DeviceCommands::toMessage (body.data(), body.length)); };

    add (DeviceCommands::start);
    add (DeviceCommands::address (0, 0));

    for (int block = 0; block < image.getNumBlocks(); ++block)
    {
        for (int i = 0; i < FirmwareImage::blockSize; ++i)
            add (DeviceCommands::data (i % 2 == 0 ? 'c' : 'C',
                                       image.getPayload()[block * FirmwareImage::blockSize + i]));

        add (DeviceCommands::address ((juce::uint8) (block >> 2), (juce::uint8) ((block * 64) & 0xff)));
        add (DeviceCommands::commit);
    }

    return messages;
}

FirmwareImage TransferMessages::firstBlocks (int numBlocks)
{
    const auto payload = FirmwareImage::getBuiltIn().getPayloadCopy();
    const auto size = std::min (payload.size(), (size_t) juce::jmax (0, numBlocks) * FirmwareImage::blockSize);
    return FirmwareImage (std::vector<juce::uint8> (payload.begin(), payload.begin() + (std::ptrdiff_t) size));
}
