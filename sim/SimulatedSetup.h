#pragma once

#include "sim/SimulatedDevice.h"
#include "sim/SimulationOptions.h"

/**
    Virtual MIDI ports with a simulated VT-5150 on them, as the options say,
    plugged into the process's device link for as long as this object lives.
*/
class SimulatedSetup
{
public:
    /** Builds the ports and the device, and makes the device link use them. */
    SimulatedSetup (const SimulationOptions& options, int defaultLatencyMicroseconds);

    /** Releases whatever the device link holds and returns it to system MIDI. */
    ~SimulatedSetup();

    /** The virtual ports. */
    VirtualMidiPorts& getPorts() noexcept
    {
        return ports;
    }

    /** The simulated device, or nullptr when there is none. */
    SimulatedDevice* getDevice() noexcept
    {
        return device.get();
    }

private:
    VirtualMidiPorts ports;
    std::unique_ptr<SimulatedDevice> device;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedSetup)
};
