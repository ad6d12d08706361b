#include "tools/PayloadFile.h"

#include "device/FirmwareImage.h"

#include <filesystem>

namespace
{
constexpr size_t largestPayload = (size_t) (FirmwareImage::maxBlocks * FirmwareImage::blockSize);
}

juce::String PayloadFile::read (const juce::File& file, std::vector<juce::uint8>& payload)
{
    const auto name = file.getFullPathName();
    const auto path = std::filesystem::u8path (name.toStdString());
    std::error_code error;
    const auto status = std::filesystem::status (path, error);

    if (error || ! std::filesystem::exists (status))
        return "cannot read the firmware file " + name;

    if (! std::filesystem::is_regular_file (status))
        return name + " is not a regular file";

    const auto size = std::filesystem::file_size (path, error);
    const auto sizeProblem = error ? juce::String ("cannot read its size") : FirmwareImage::checkPayloadSize (size);

    if (sizeProblem.isNotEmpty())
        return file.getFileName() + ": " + sizeProblem;

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return "cannot read the firmware file " + name;

    const auto problem = read (stream, payload);
    return problem.isEmpty() ? problem : file.getFileName() + ": " + problem;
}

juce::String PayloadFile::read (juce::InputStream& stream, std::vector<juce::uint8>& payload)
{
    std::vector<juce::uint8> bytes (largestPayload + 1);
    size_t numRead = 0;

    while (numRead < bytes.size())
    {
        const auto got = stream.read (bytes.data() + numRead, (int) (bytes.size() - numRead));

        if (got <= 0)
            break;

        numRead += (size_t) got;
    }

    if (numRead > largestPayload)
        return "the firmware file holds more than the " + juce::String ((juce::int64) largestPayload) +
               " bytes that the device can address";

    const auto problem = FirmwareImage::checkPayloadSize (numRead);

    if (problem.isNotEmpty())
        return problem;

    bytes.resize (numRead);
    payload = std::move (bytes);
    return {};
}
