// Measures the cost of a firmware transfer against the simulated VT-5150.
//
// 1. The whole built-in transfer (25,222 exchanges) with no device latency,
//    in microseconds per exchange, beside a floor measured in the same run:
//    the same messages bounced over the same virtual ports to the same
//    simulated device, waited for with a bare listener and none of the
//    device link's code. The link's overhead is the ratio of the two.
// 2. With 1 ms of device latency, the process's CPU time during a transfer
//    as a share of its wall time: a wait that spun would take a whole core.

#include "device/DeviceLink.h"
#include "sim/SimulatedDevice.h"

#include <algorithm>
#include <condition_variable>
#include <ctime>
#include <iostream>

namespace
{
constexpr int runs = 7;

struct TransferThreadStandIn : juce::Thread
{
    TransferThreadStandIn()
        : juce::Thread ("bench")
    {
    }
    void run() override {}
};

/** The commands of a whole transfer of this image, in order. */
std::vector<juce::MidiMessage> transferMessages (const FirmwareImage& image)
{
    std::vector<juce::MidiMessage> messages;
    const auto add = [&messages] (const DeviceCommands::Body& body)
    { messages.push_back (DeviceCommands::toMessage (body.data(), body.length)); };

    add (DeviceCommands::start);
    add (DeviceCommands::address (0, 0));

    for (int block = 0; block < image.getNumBlocks(); ++block)
    {
        for (int i = 0; i < FirmwareImage::blockSize; ++i)
            add (DeviceCommands::data (i % 2 == 0 ? 'c' : 'C',
                                       image.getPayload()[block * FirmwareImage::blockSize + i]));

        add (DeviceCommands::address ((juce::uint8) (block >> 2), (juce::uint8) ((block * 64) & 0xff)));
        add (DeviceCommands::commit);
    }

    return messages;
}

/** Waits for each reply with nothing but a flag, a lock and a condition variable. */
struct BareListener final : MidiPortListener
{
    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage&) override
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            replied = true;
        }

        condition.notify_one();
    }

    void exchange (MidiOutputPort& output, const juce::MidiMessage& message)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            replied = false;
        }

        output.sendMessageNow (message);
        std::unique_lock<std::mutex> lock (mutex);
        condition.wait (lock, [this] { return replied; });
    }

    std::mutex mutex;
    std::condition_variable condition;
    bool replied = false;
};

double floorMicroseconds (const std::vector<juce::MidiMessage>& messages)
{
    VirtualMidiPorts ports (1, 1);
    SimulatedDevice device (ports, {});
    BareListener listener;
    auto input = ports.openInput (0, listener);
    auto output = ports.openOutput (0);
    input->start();

    const auto start = juce::Time::getMillisecondCounterHiRes();

    for (const auto& message : messages)
        listener.exchange (*output, message);

    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    input->stop();
    return 1000.0 * elapsed / (double) messages.size();
}

double linkMicroseconds (const FirmwareImage& image, int numExchanges)
{
    VirtualMidiPorts ports (1, 1);
    SimulatedDevice device (ports, {});
    DeviceLink link;
    TransferThreadStandIn thread;
    link.setPortSystem (&ports);
    link.setFirmwareImage (&image);
    link.detect();

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto succeeded = link.transferFirmware (&thread);
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    link.close();

    if (! succeeded || ! device.memoryMatches (image.getPayloadCopy()))
        std::cerr << "the transfer failed\n";

    return 1000.0 * elapsed / (double) numExchanges;
}

double median (std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    return values[values.size() / 2];
}

void measureOverhead()
{
    const auto& image = FirmwareImage::getBuiltIn();
    const auto messages = transferMessages (image);
    std::vector<double> floors, links;

    for (int run = 0; run < runs; ++run)
    {
        floors.push_back (floorMicroseconds (messages));
        links.push_back (linkMicroseconds (image, (int) messages.size()));
    }

    const auto floor = median (floors), link = median (links);
    std::cout << "exchanges per transfer:           " << messages.size() << "\n"
              << "floor (bare bounce), us/exchange: " << floor << "\n"
              << "device link, us/exchange:         " << link << "\n"
              << "device link / floor:              " << link / floor << "  (target: at most 1.15)\n";
}

void measureIdleCpu()
{
    const FirmwareImage image (std::vector<juce::uint8> (16 * FirmwareImage::blockSize, 0xa5));
    VirtualMidiPorts ports (1, 1);
    SimulatedDevice::Settings settings;
    settings.latencyMicroseconds = 1000;
    SimulatedDevice device (ports, settings);
    DeviceLink link;
    TransferThreadStandIn thread;
    link.setPortSystem (&ports);
    link.setFirmwareImage (&image);
    link.detect();

    const auto cpuStart = std::clock();
    const auto start = juce::Time::getMillisecondCounterHiRes();
    link.transferFirmware (&thread);
    const auto wallMs = juce::Time::getMillisecondCounterHiRes() - start;
    const auto cpuMs = 1000.0 * (double) (std::clock() - cpuStart) / CLOCKS_PER_SEC;
    link.close();

    std::cout << "with 1 ms device latency: wall " << wallMs << " ms, CPU " << cpuMs << " ms, "
              << 100.0 * cpuMs / wallMs << "% of wall time  (target: under 5%)\n";
}
} // namespace

int main()
{
    measureOverhead();
    measureIdleCpu();
    return 0;
}
