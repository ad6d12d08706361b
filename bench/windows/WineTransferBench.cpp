// vt5150-windows-transfer-bench: what a transfer costs the updater's Windows
// MIDI, beside a bare winmm client measured in the same run. Under Wine over
// the ALSA sequencer stand-in, with the simulated VT-5150 answering after 1 ms
// (bench/windows/wine_transfer_bench.sh sets it up), it alternates the same
// commands sent by BareWinmmClient with whole transfers by the device link
// over the updater's own winmm ports, and prints the medians of the wall
// time and the process's CPU time per exchange, and their ratios. It fails
// only when an exchange or a transfer does: the times are printed, not judged.
//
// With --bare it only sends the commands of one transfer through the bare
// client, once, for the device to time beside the real updater's transfer.
//
// Usage: vt5150-windows-transfer-bench.exe [--bare] [--blocks N] [--runs R]

#include "bench/BenchOptions.h"
#include "bench/IdleThread.h"
#include "bench/TransferMessages.h"
#include "bench/windows/BareWinmmClient.h"
#include "device/DeviceLink.h"
#include "tools/CpuTime.h"

#include <algorithm>
#include <cstdio>

namespace
{
/** Milliseconds per exchange, of wall time and of the process's CPU time; negative for a failed run. */
struct Costs
{
    double wall = -1, cpu = -1;
};

template <typename Exchanges>
Costs measure (size_t numExchanges, Exchanges&& runExchanges)
{
    const auto cpuStart = CpuTime::processMilliseconds();
    const auto start = juce::Time::getMillisecondCounterHiRes();

    if (! runExchanges())
        return {};

    return { (juce::Time::getMillisecondCounterHiRes() - start) / (double) numExchanges,
             (CpuTime::processMilliseconds() - cpuStart) / (double) numExchanges };
}

Costs bareRun (const std::vector<juce::MidiMessage>& messages)
{
    BareWinmmClient client ("VT-5150");

    if (! client.isOpen())
        return {};

    return measure (messages.size(),
                    [&]
                    {
                        return std::all_of (messages.begin(), messages.end(),
                                            [&client] (const auto& message) { return client.exchange (message); });
                    });
}

Costs linkRun (const FirmwareImage& image, size_t numExchanges)
{
    DeviceLink link;
    IdleThread thread;
    link.setFirmwareImage (&image);

    if (! link.detect())
        return {};

    const auto costs = measure (numExchanges, [&] { return link.transferFirmware (&thread); });
    link.close();
    return costs;
}

double median (std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main (int argc, char** argv)
{
    const auto options = BenchOptions::parse (argc, argv);

    // The bare client alone sends what the updater sends: the whole built-in image.
    if (juce::StringArray (argv + 1, argc - 1).contains ("--bare"))
    {
        const auto messages = options.blocks > 0
                                  ? TransferMessages::forImage (TransferMessages::firstBlocks (options.blocks))
                                  : TransferMessages::forImage (FirmwareImage::getBuiltIn());
        return bareRun (messages).wall < 0 ? 1 : 0;
    }

    const auto image = TransferMessages::firstBlocks (options.blocks > 0 ? options.blocks : 8);
    const auto numRuns = options.runs;
    const auto messages = TransferMessages::forImage (image);

    std::vector<double> bareWall, bareCpu, linkWall, linkCpu;

    for (int run = 0; run < numRuns; ++run)
    {
        const auto bare = bareRun (messages), link = linkRun (image, messages.size());

        if (bare.wall < 0 || link.wall < 0)
        {
            std::printf ("FAIL: the %s run %d did not complete\n", bare.wall < 0 ? "bare client's" : "device link's",
                         run + 1);
            return 1;
        }

        bareWall.push_back (bare.wall);
        bareCpu.push_back (bare.cpu);
        linkWall.push_back (link.wall);
        linkCpu.push_back (link.cpu);
    }

    std::printf ("%d exchanges, median of %d runs, ms per exchange:   wall   process CPU\n", (int) messages.size(),
                 numRuns);
    std::printf ("  bare winmm client                          %7.3f  %7.3f\n", median (bareWall), median (bareCpu));
    std::printf ("  device link on the updater's winmm ports   %7.3f  %7.3f\n", median (linkWall), median (linkCpu));
    std::printf ("  device link / bare                         %7.3f  %7.3f\n", median (linkWall) / median (bareWall),
                 median (linkCpu) / median (bareCpu));
    return 0;
}
