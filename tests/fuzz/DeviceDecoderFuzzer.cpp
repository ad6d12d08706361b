// The simulated device judges every test's transfer, so its decoder must
// never crash on any frame and never misjudge the updater's own commands.
// First it decodes made-up frames, then a well-formed transfer of made-up
// payload bytes, built by the updater's command builders, which it must
// store exactly and without a complaint.

#include "device/DeviceCommands.h"
#include "device/FirmwareImage.h"
#include "sim/DeviceMemory.h"
#include "tests/fuzz/FuzzInput.h"

namespace
{
using Command = DeviceMemory::Command;

void decodeMadeUpFrames (FuzzInput& input)
{
    DeviceMemory memory;

    for (auto count = input.takeByte() % 16; count > 0; --count)
    {
        const auto violationsBefore = memory.getViolations().size();
        const auto dataBefore = memory.getNumDataBytes();
        const auto command = memory.process (input.takeMessage());

        fuzzCheck ((command == Command::malformed) == (memory.getViolations().size() > violationsBefore) ||
                       command == Command::data,
                   "a frame is refused exactly when a violation is recorded (a data byte with the wrong letter "
                   "is both stored and recorded)");
        fuzzCheck (memory.getNumDataBytes() == dataBefore + (command == Command::data ? 1 : 0) ||
                       command == Command::start,
                   "only a data command adds a data byte");
    }
}

Command process (DeviceMemory& memory, const DeviceCommands::Body& body)
{
    return memory.process (DeviceCommands::toMessage (body.data(), body.length));
}

void decodeAWellFormedTransfer (FuzzInput& input)
{
    const auto numBlocks = (int) (input.takeByte() % 4);
    auto payload = input.takeBytes ((size_t) numBlocks * FirmwareImage::blockSize);
    payload.resize ((size_t) numBlocks * FirmwareImage::blockSize, 0xa5);

    DeviceMemory memory;
    fuzzCheck (process (memory, DeviceCommands::start) == Command::start, "start");
    fuzzCheck (process (memory, DeviceCommands::address (0, 0)) == Command::initialAddress, "initial address");

    for (int block = 0; block < numBlocks; ++block)
    {
        for (int i = 0; i < FirmwareImage::blockSize; ++i)
        {
            const auto letter = i % 2 == 0 ? 'c' : 'C';
            const auto value = payload[(size_t) (block * FirmwareImage::blockSize + i)];
            fuzzCheck (process (memory, DeviceCommands::data (letter, value)) == Command::data, "data");
        }

        const auto address = block * 64;
        fuzzCheck (process (memory, DeviceCommands::address ((juce::uint8) (address >> 8), (juce::uint8) address)) ==
                       Command::blockAddress,
                   "block address");
        fuzzCheck (process (memory, DeviceCommands::commit) == Command::commit, "commit");
    }

    fuzzCheck (memory.getViolations().isEmpty(), "a well-formed transfer has no violation");
    fuzzCheck (memory.matches (payload), "a well-formed transfer is stored exactly");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    FuzzInput input (data, size);
    decodeMadeUpFrames (input);
    decodeAWellFormedTransfer (input);
    return 0;
}
