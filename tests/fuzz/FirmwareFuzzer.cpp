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
    fuzzCheck (image.getNumBlocks() == length / FirmwareImage::blockSize, "whole blocks of the length");
    fuzzCheck (image.getPayloadCopy().size() == (size_t) length, "the payload is the length's bytes");
}

/** A stream of the fuzzer's bytes, repeated `repeats` times, that counts what is read of it. */
class RepeatingStream final : public juce::InputStream
{
public:
    RepeatingStream (const juce::uint8* dataToUse, size_t sizeToUse, juce::int64 repeatsToUse)
        : data (dataToUse)
        , size (sizeToUse)
        , total ((juce::int64) sizeToUse * repeatsToUse)
    {
    }

    juce::int64 getTotalLength() override
    {
        return total;
    }

    bool isExhausted() override
    {
        return position >= total;
    }

    int read (void* destination, int maxBytes) override
    {
        // One run of the bytes at a time, as a file read returns what it has.
        const auto offset = (size_t) (position % (juce::int64) size);
        const auto count = (int) std::min ({ (juce::int64) maxBytes, total - position, (juce::int64) (size - offset) });
        std::memcpy (destination, data + offset, (size_t) count);
        position += count;
        return count;
    }

    juce::int64 getPosition() override
    {
        return position;
    }

    bool setPosition (juce::int64) override
    {
        return false;
    }

    juce::int64 position = 0;

private:
    const juce::uint8* data;
    const size_t size;
    const juce::int64 total;
};

void checkPayload (const juce::uint8* data, size_t size)
{
    if (size == 0)
        return;

    constexpr auto largest = (juce::int64) FirmwareImage::maxBlocks * FirmwareImage::blockSize;
    const auto repeats = (juce::int64) data[0] % 4 == 0 ? (largest / (juce::int64) size + 2) : 1;
    RepeatingStream stream (data, size, repeats);
    std::vector<juce::uint8> payload;
    const auto problem = PayloadFile::read (stream, payload);
    const auto total = (juce::int64) size * repeats;

    fuzzCheck (stream.position <= largest + 1, "never more read than one byte past the largest image");
    fuzzCheck (problem.isEmpty() == (total <= largest && FirmwareImage::checkPayloadSize ((size_t) total).isEmpty()),
               "taken exactly when its size can be sent");
    fuzzCheck (problem.isNotEmpty() || (juce::int64) payload.size() == total, "the whole payload is taken");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    checkLayout (data, size);
    checkPayload (data, size);
    return 0;
}
