#pragma once

/** The benchmarks' command line: [--blocks N] [--runs R], each at least 1 when given. */
struct BenchOptions
{
    /** Reads the command line; an option that is missing keeps its default here. */
    static BenchOptions parse (int argc, char** argv);

    /** Blocks of the built-in payload to send, or 0 for each benchmark's own choice. */
    int blocks = 0;

    /** Runs of each measurement, whose median is reported. */
    int runs = 5;
};
