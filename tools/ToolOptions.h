#pragma once

#include "sim/SimulationOptions.h"

/**
    The command line of vt5150-flashsim: the device options that the demo
    shares, plus a payload file to send and a file for the wire trace.
*/
struct ToolOptions
{
    SimulationOptions simulation;
    juce::File payloadFile, traceFile;
    bool showHelp = false;

    /**
        Reads every argument; returns an error message for a bad or unknown
        option, or an empty string. Relative file names are taken from the
        working directory.
    */
    juce::String parse (juce::StringArray arguments);

    /** The lines of help text that describe the tool's own options. */
    static juce::String getHelp();
};
