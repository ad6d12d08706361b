// Measures what a firmware transfer costs the updater, beside a bare sender
// measured in the same run, against the simulated VT-5150 answering on a
// thread of its own as a real device does, so that the sending thread's CPU
// time is the sender's alone.
//
// For a device that answers at once and one that answers after 1 ms, it runs
// a whole transfer with the device link, and the same messages sent by a bare
// sender (one thread that sends each ready-made message and sleeps until the
// reply comes, with none of the device link's code) over the same virtual
// ports, alternately, and reports per exchange the medians of the wall time,
// the sending thread's CPU time and the CPU time of the input callback on the
// delivery thread, from per-thread CPU clocks.
//
// Usage: vt5150-transfer-bench [--blocks N] [--runs R]. By default the built-in
// image with the immediate device and 16 blocks with the 1-ms one, 5 runs of
// each; --blocks sends N blocks of the built-in payload in both, which keeps a
// run under valgrind short.

#include "bench/BareSender.h"
#include "bench/BenchOptions.h"
#include "bench/CallbackTimedPorts.h"
#include "bench/IdleThread.h"
#include "bench/TransferMessages.h"
#include "device/DeviceLink.h"
#include "sim/SimulatedDevice.h"
#include "tools/CpuTime.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

namespace
{
/** Microseconds per exchange. */
struct Costs
{
    double wall = 0, sender = 0, callback = 0;
};

/** Virtual ports with a simulated device that decodes and answers on its own thread. */
struct Rig
{
    explicit Rig (int latencyMicroseconds)
        : ports (1, 1)
        , timedPorts (ports)
        , device (ports, { 0, 0, latencyMicroseconds, {}, true })
    {
    }

    VirtualMidiPorts ports;
    CallbackTimedPorts timedPorts;
    SimulatedDevice device;
};

/** Runs the exchanges on this thread and divides what they cost by their number. */
template <typename Exchanges>
Costs measure (Rig& rig, size_t numExchanges, Exchanges&& runExchanges)
{
    const auto callbackStart = rig.timedPorts.getCallbackMilliseconds();
    const auto threadStart = CpuTime::threadMilliseconds();
    const auto start = juce::Time::getMillisecondCounterHiRes();
    runExchanges();
    const auto perExchange = 1000.0 / (double) numExchanges;

    return { (juce::Time::getMillisecondCounterHiRes() - start) * perExchange,
             (CpuTime::threadMilliseconds() - threadStart) * perExchange,
             (rig.timedPorts.getCallbackMilliseconds() - callbackStart) * perExchange };
}

void checkMemory (const Rig& rig, const FirmwareImage& image, bool succeeded)
{
    if (! succeeded || ! rig.device.memoryMatches (image.getPayloadCopy()))
        std::cerr << "the transfer failed\n";
}

Costs bareRun (const FirmwareImage& image, const std::vector<juce::MidiMessage>& messages, int latencyMicroseconds)
{
    Rig rig (latencyMicroseconds);
    BareSender sender;
    auto input = rig.timedPorts.openInput (0, sender);
    auto output = rig.timedPorts.openOutput (0);
    input->start();

    const auto costs = measure (rig, messages.size(),
                                [&]
                                {
                                    for (const auto& message : messages)
                                        sender.exchange (*output, message);
                                });
    input->stop();
    checkMemory (rig, image, true);
    return costs;
}

Costs linkRun (const FirmwareImage& image, size_t numExchanges, int latencyMicroseconds)
{
    Rig rig (latencyMicroseconds);
    DeviceLink link;
    IdleThread thread;
    link.setPortSystem (&rig.timedPorts);
    link.setFirmwareImage (&image);
    link.detect();

    auto succeeded = false;
    const auto costs = measure (rig, numExchanges, [&] { succeeded = link.transferFirmware (&thread); });
    link.close();
    checkMemory (rig, image, succeeded);
    return costs;
}

Costs median (std::vector<Costs> runs)
{
    const auto middle = [&runs] (double Costs::*field)
    {
        std::vector<double> values;

        for (const auto& run : runs)
            values.push_back (run.*field);

        std::sort (values.begin(), values.end());
        return values[values.size() / 2];
    };

    return { middle (&Costs::wall), middle (&Costs::sender), middle (&Costs::callback) };
}

void printRow (const char* name, double wall, double sender, double callback, double together)
{
    std::cout << "  " << std::left << std::setw (20) << name << std::right << std::fixed << std::setprecision (2)
              << std::setw (8) << wall << std::setw (16) << sender << std::setw (16) << callback << std::setw (12)
              << together << "\n";
}

void compare (const FirmwareImage& image, int latencyMicroseconds, int numRuns)
{
    const auto messages = TransferMessages::forImage (image);
    std::vector<Costs> bareRuns, linkRuns;

    for (int run = 0; run < numRuns; ++run)
    {
        bareRuns.push_back (bareRun (image, messages, latencyMicroseconds));
        linkRuns.push_back (linkRun (image, messages.size(), latencyMicroseconds));
    }

    const auto bare = median (bareRuns), link = median (linkRuns);
    const auto bareCpu = bare.sender + bare.callback, linkCpu = link.sender + link.callback;
    std::cout << "device latency " << latencyMicroseconds << " us, " << messages.size() << " exchanges, median of "
              << numRuns << " runs, us per exchange:\n"
              << "                          wall  sending thread  input callback  CPU of both\n";
    printRow ("bare sender", bare.wall, bare.sender, bare.callback, bareCpu);
    printRow ("device link", link.wall, link.sender, link.callback, linkCpu);
    printRow ("device link / bare", link.wall / bare.wall, link.sender / bare.sender, link.callback / bare.callback,
              linkCpu / bareCpu);
    std::cout << "  (target with 1 ms latency: CPU of both at most 2 times the bare sender's)\n\n";
}

} // namespace

int main (int argc, char** argv)
{
    const auto options = BenchOptions::parse (argc, argv);
    const auto blocks = options.blocks;

    compare (TransferMessages::firstBlocks (blocks > 0 ? blocks : FirmwareImage::getBuiltIn().getNumBlocks()), 0,
             options.runs);
    compare (TransferMessages::firstBlocks (blocks > 0 ? blocks : 16), 1000, options.runs);
    return 0;
}
