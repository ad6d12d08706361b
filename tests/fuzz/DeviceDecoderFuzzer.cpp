// The simulated device judges every test's transfer, so its decoder must
// never crash on any frame, and must refuse exactly what it records as a
// violation. That it stores the updater's own commands exactly and without a
// complaint, Transfer.BuiltInImageArrivesByteForByteInTheDocumentedOrder and
// the flash tool's payload cases check.

#include "sim/DeviceMemory.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    using Command = DeviceMemory::Command;
    FuzzInput input (data, size);
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

    return 0;
}
