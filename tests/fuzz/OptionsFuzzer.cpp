// The command line of the tools and the demo: whatever the arguments, the
// parser either names a problem or leaves options that describe a setup
// that can be built.

#include "tests/fuzz/FuzzInput.h"
#include "tools/ToolOptions.h"

namespace
{
/**
    The arguments: the fuzzer's bytes split at every zero byte into the
    zero-terminated strings that main receives, read as the programs read them.
*/
juce::StringArray toArguments (const juce::uint8* data, size_t size)
{
    std::vector<std::string> words { "program" };
    const auto* end = data + size;

    for (auto* start = data; words.size() <= 32;)
    {
        const auto* stop = std::find (start, end, (juce::uint8) 0);
        words.emplace_back (start, stop);

        if (stop == end)
            break;

        start = stop + 1;
    }

    std::vector<const char*> argv;

    for (const auto& word : words)
        argv.push_back (word.c_str());

    return SimulationOptions::getArguments ((int) argv.size(), argv.data());
}

void checkUsable (const SimulationOptions& options)
{
    fuzzCheck (options.numInputs >= 0 && options.numInputs <= 64, "inputs within 0 to 64");
    fuzzCheck (options.numOutputs >= 0 && options.numOutputs <= 64, "outputs within 0 to 64");
    fuzzCheck (! options.withDevice || (options.deviceInput >= 0 && options.deviceInput < options.numInputs &&
                                        options.deviceOutput >= 0 && options.deviceOutput < options.numOutputs),
               "the device sits on ports that exist");
    fuzzCheck (options.latencyMicroseconds.value_or (0) >= 0 && options.latencyMicroseconds.value_or (0) <= 10000000,
               "latency within 0 to 10 s");
    fuzzCheck (options.faults.silentAfter >= -1 && options.faults.silentAtBlock >= -1 &&
                   options.faults.silentFirst >= 0,
               "fault counts are never below their 'off' values");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    const auto arguments = toArguments (data, size);

    // The demo's way: its device options, and anything left over is refused.
    auto left = arguments;
    SimulationOptions simulation;

    if (simulation.parse (left).isEmpty())
    {
        checkUsable (simulation);
        fuzzCheck (left.size() <= arguments.size(), "parsing only removes arguments");
    }

    // The flash tool's way: its own file options as well.
    ToolOptions tool;
    const auto error = tool.parse (arguments);

    if (error.isEmpty() && ! tool.showHelp)
    {
        checkUsable (tool.simulation);
        fuzzCheck (tool.payloadFile == juce::File() || arguments.contains ("--payload"), "a payload only when asked");
        fuzzCheck (tool.traceFile == juce::File() || arguments.contains ("--trace"), "a trace only when asked");
    }

    fuzzCheck (error.isNotEmpty() || tool.showHelp || left.isEmpty() || left.contains ("--payload") ||
                   left.contains ("--trace"),
               "the tool refuses what neither parser knows");
    return 0;
}
