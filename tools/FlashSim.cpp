// vt5150-flashsim: runs the updater's own detection and transfer, on the path
// the wizard takes, against a simulated VT-5150 on virtual MIDI ports, and
// reports what happened as "key: value" lines.

#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "sim/SimulatedSetup.h"
#include "sim/WireTrace.h"
#include "tools/CpuTime.h"
#include "tools/PayloadFile.h"
#include "tools/ToolOptions.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
constexpr int exitSuccess = 0, exitTransferFailed = 1, exitNotFound = 2, exitTraceNotWritten = 3, exitUsage = 64;

void printHelp()
{
    std::cout << "Usage: vt5150-flashsim [options]\n\n"
                 "Finds a simulated VT-5150 on virtual MIDI ports and writes the firmware into it,\n"
                 "with the updater's own code, then reports as key: value lines.\n\n"
              << ToolOptions::getHelp()
              << "\nExit status: 0 success, 1 transfer failed, 2 device not found, 3 trace not written,\n"
                 "64 bad usage.\n";
}

/** Receives the transfer's notice as the wizard window does. */
struct NoticeReceiver final : juce::Component
{
    void handleCommandMessage (int commandId) override
    {
        destroyTransferThread();
        notice = commandId;
    }

    int notice = 0;
};

void report (const char* key, const juce::String& value)
{
    std::cout << key << ": " << value << std::endl;
}

int runTransfer (SimulatedSetup& setup, const FirmwareImage& image)
{
    NoticeReceiver receiver;
    auto* device = setup.getDevice();
    const auto commandsBefore = device != nullptr ? device->getNumReceivedCommands() : 0;

    const auto cpuStart = CpuTime::processMilliseconds();
    const auto start = juce::Time::getMillisecondCounterHiRes();

    transferProgress = 0.0;
    startTransferThread (receiver);

    while (receiver.notice == 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);

    const auto transferMs = juce::Time::getMillisecondCounterHiRes() - start;
    const auto cpuMs = CpuTime::processMilliseconds() - cpuStart;
    const auto succeeded = receiver.notice == TransferSucceeded;
    const auto exchanges = device != nullptr ? device->getNumReceivedCommands() - commandsBefore : 0;
    const auto matches = device != nullptr && device->memoryMatches (image.getPayloadCopy());

    report ("exchanges", juce::String (exchanges));
    report ("transfer_ms", juce::String (juce::roundToInt (transferMs)));
    report ("cpu_ms", juce::String (juce::roundToInt (cpuMs)));
    report ("image", matches ? "match" : "mismatch");
    report ("result", succeeded ? "success" : "failure");
    return succeeded ? exitSuccess : exitTransferFailed;
}

int run (const ToolOptions& options, const FirmwareImage& image)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    SimulatedSetup setup (options.simulation, 0);
    std::unique_ptr<WireTrace> trace;

    if (options.traceFile != juce::File())
        trace = std::make_unique<WireTrace> (setup.getPorts());

    deviceLink().setFirmwareImage (&image);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    deviceLink().detect();
    report ("detect_ms", juce::String (juce::roundToInt (juce::Time::getMillisecondCounterHiRes() - start)));

    int status = exitNotFound;

    if (deviceLink().isOpen())
        status = runTransfer (setup, image);
    else
        report ("result", "not-found");

    deviceLink().setFirmwareImage (nullptr);

    const auto traceProblem = trace != nullptr ? trace->writeTo (options.traceFile) : juce::String();

    if (traceProblem.isEmpty())
        return status;

    std::cerr << "vt5150-flashsim: " << traceProblem << std::endl;
    return exitTraceNotWritten;
}
} // namespace

int main (int argc, char* argv[])
{
    ToolOptions options;
    const auto error = options.parse (SimulationOptions::getArguments (argc, argv));

    if (error.isNotEmpty())
    {
        std::cerr << "vt5150-flashsim: " << error << "\nTry vt5150-flashsim --help" << std::endl;
        return exitUsage;
    }

    if (options.showHelp)
    {
        printHelp();
        return exitSuccess;
    }

    std::vector<juce::uint8> payload = FirmwareImage::getBuiltIn().getPayloadCopy();

    if (options.payloadFile != juce::File())
    {
        const auto problem = PayloadFile::read (options.payloadFile, payload);

        if (problem.isNotEmpty())
        {
            std::cerr << "vt5150-flashsim: " << problem << std::endl;
            return exitUsage;
        }
    }

    return run (options, FirmwareImage (payload));
}
