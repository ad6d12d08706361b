// Made-up firmware layouts and payload files: an image never claims more
// bytes than it holds, and a payload is taken exactly when its size can be
// sent, never read past one byte more than the largest image.

#include "device/FirmwareImage.h"
#include "tests/fuzz/FuzzInput.h"
#include "tools/PayloadFile.h"

namespace
{
void checkLayout (const juce::uint8* data, size_t size)
{
    const FirmwareImage image (data, size);
    const auto length = image.getLength();

    fuzzCheck (length >= 0 && (size_t) length + 8 <= std::max (size, (size_t) 8), "the length fits the layout");
    fuzzCheck (image.getPayloadCopy().size() == (size_t) length, "the payload is the length's bytes");
}

/** The bytes given, read one run of `run` bytes at a time, as a file read returns what it has. */
class RunsStream final : public juce::MemoryInputStream
{
public:
    RunsStream (const std::vector<juce::uint8>& bytes, size_t runToUse)
        : juce::MemoryInputStream (bytes.data(), bytes.size(), false)
        , run (runToUse)
    {
    }

    int read (void* destination, int maxBytes) override
    {
        const auto left = run - (size_t) getPosition() % run;
        return juce::MemoryInputStream::read (destination, (int) std::min ((size_t) maxBytes, left));
    }

private:
    const size_t run;
};

void checkPayload (const juce::uint8* data, size_t size)
{
    if (size == 0)
        return;

    // Often repeated to more than the largest image.
    constexpr auto largest = (size_t) FirmwareImage::maxBlocks * FirmwareImage::blockSize;
    const auto repeats = data[0] % 4 == 0 ? largest / size + 2 : 1;
    std::vector<juce::uint8> bytes;

    for (size_t i = 0; i < repeats; ++i)
        bytes.insert (bytes.end(), data, data + size);

    RunsStream stream (bytes, size);
    std::vector<juce::uint8> payload;
    const auto problem = PayloadFile::read (stream, payload);

    fuzzCheck (stream.getPosition() <= (juce::int64) largest + 1,
               "never more read than one byte past the largest image");
    fuzzCheck (problem.isEmpty() ==
                   (bytes.size() <= largest && FirmwareImage::checkPayloadSize (bytes.size()).isEmpty()),
               "taken exactly when its size can be sent");
    fuzzCheck (problem.isNotEmpty() || payload == bytes, "the whole payload is taken");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    checkLayout (data, size);
    checkPayload (data, size);
    return 0;
}
