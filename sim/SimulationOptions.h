#pragma once

#include "sim/DeviceFaults.h"

#include <juce_core/juce_core.h>

#include <optional>

/**
    The command-line options shared by the tools and the demo that run the
    updater against a simulated VT-5150: how many virtual ports there are,
    where the device sits (or that there is none), its latency and faults.
*/
struct SimulationOptions
{
    int numInputs = 1;
    int numOutputs = 1;
    int deviceInput = 0;
    int deviceOutput = 0;
    bool withDevice = true;
    std::optional<int> latencyMicroseconds;
    DeviceFaults faults;

    /**
        Reads the device options from the arguments and removes them, leaving
        any others for the caller. Returns an error message for a bad option
        value or an inconsistent combination, or an empty string.
    */
    juce::String parse (juce::StringArray& arguments);

    /**
        A program's arguments after its name, read as UTF-8 from the
        zero-terminated strings that main receives; in an argument that is not
        well-formed UTF-8, every byte outside ASCII becomes '?'.
    */
    static juce::StringArray getArguments (int argc, const char* const* argv);

    /** The lines of help text that describe the device options. */
    static juce::String getHelp();
};
