#include "app/ProductFacts.h"
#include "app/UpdaterApplication.h"
#include "device/FirmwareImage.h"
#include "sim/SimulatedSetup.h"

#include <iostream>

// The updater's demo: the same application and window, with a simulated
// VT-5150 on virtual MIDI ports in place of system MIDI.
namespace
{
/** About a real device's pace: the whole update's 25,222 exchanges take about half a minute. */
constexpr int defaultLatencyMicroseconds = 1100;

/** The exit status for bad usage (EX_USAGE). */
constexpr int usageError = 64;

juce::String getUsage()
{
    return "Usage: vt5150-updater-demo [options]\n"
           "\n"
           "Runs the " +
           juce::String (ProductFacts::productName) +
           " against a simulated VT-5150 on virtual\n"
           "MIDI ports. System MIDI is never touched.\n"
           "\n"
           "Options:\n" +
           SimulationOptions::getHelp() + "  --help                show this help and exit\n";
}

juce::String describe (const SimulationOptions& options)
{
    auto device = options.withDevice
                      ? "a simulated VT-5150 on input " + juce::String (options.deviceInput) + " and output " +
                            juce::String (options.deviceOutput) + ", answering after " +
                            juce::String (options.latencyMicroseconds.value_or (defaultLatencyMicroseconds)) + " us"
                      : juce::String ("no device");

    return "vt5150-updater-demo: using " + device + ", on " + juce::String (options.numInputs) +
           " virtual MIDI inputs and " + juce::String (options.numOutputs) +
           " virtual MIDI outputs; system MIDI is never touched.";
}
} // namespace

int main (int argc, char* argv[])
{
    auto arguments = SimulationOptions::getArguments (argc, argv);

    if (arguments.contains ("--help"))
    {
        std::cout << getUsage();
        return 0;
    }

    SimulationOptions options;
    auto error = options.parse (arguments);

    if (error.isEmpty() && ! arguments.isEmpty())
        error = "unknown argument " + arguments[0];

    if (error.isNotEmpty())
    {
        std::cerr << "vt5150-updater-demo: " << error << "\nTry vt5150-updater-demo --help.\n";
        return usageError;
    }

    std::cout << describe (options) << std::endl;

    SimulatedSetup setup (options, defaultLatencyMicroseconds);
    const auto status = runUpdaterApplication (argc, argv);

    // What the simulated device holds when the program ends, for whoever watches the demo.
    if (auto* device = setup.getDevice())
        std::cout << "vt5150-updater-demo: the device "
                  << (device->memoryMatches (FirmwareImage::getBuiltIn().getPayloadCopy()) ? "holds" : "does not hold")
                  << " the built-in firmware image" << std::endl;

    return status;
}
