#include "sim/SimulatedSetup.h"

#include "device/DeviceLink.h"

SimulatedSetup::SimulatedSetup (const SimulationOptions& options, int defaultLatencyMicroseconds)
    : ports (options.numInputs, options.numOutputs)
{
    if (options.withDevice)
    {
        SimulatedDevice::Settings settings;
        settings.inputIndex = options.deviceInput;
        settings.outputIndex = options.deviceOutput;
        settings.latencyMicroseconds = options.latencyMicroseconds.value_or (defaultLatencyMicroseconds);
        settings.faults = options.faults;
        device = std::make_unique<SimulatedDevice> (ports, settings);
    }

    deviceLink().setPortSystem (&ports);
}

SimulatedSetup::~SimulatedSetup()
{
    deviceLink().close();
    deviceLink().setPortSystem (nullptr);
}
