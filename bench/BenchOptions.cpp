#include "bench/BenchOptions.h"

#include <juce_core/juce_core.h>

BenchOptions BenchOptions::parse (int argc, char** argv)
{
    const juce::StringArray args (argv + 1, argc - 1);
    const auto valueAfter = [&args] (const char* name, int fallback)
    {
        const auto index = args.indexOf (name);
        return index >= 0 && index + 1 < args.size() ? juce::jmax (1, args[index + 1].getIntValue()) : fallback;
    };

    BenchOptions options;
    options.blocks = valueAfter ("--blocks", options.blocks);
    options.runs = valueAfter ("--runs", options.runs);
    return options;
}
