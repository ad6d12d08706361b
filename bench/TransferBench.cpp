// Measures the cost of a firmware transfer against the simulated VT-5150.
//
// 1. The whole built-in transfer (25,222 exchanges) with no device latency,
//    in microseconds per exchange, beside a floor measured in the same run:
//    the same messages bounced over the same virtual ports to the same
//    simulated device, waited for with a bare listener and none of the
//    device link's code. The link's overhead is the ratio of the two.
// 2. With 1 ms of device latency, CPU time during a transfer as a share of
//    its wall time: the whole process's, and the updater's own threads'
//    (the transfer thread, and the input callback's work on the delivery
//    thread), from per-thread CPU clocks. A wait that spun would take a core.

#include "device/DeviceLink.h"
#include "sim/SimulatedDevice.h"
#include "tools/CpuTime.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
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

/**
    The virtual ports, with every input's listener wrapped so that the CPU
    time that the listener's callback takes on the delivery thread is summed.
*/
class CallbackTimedPorts final : public MidiPortSystem
{
public:
    explicit CallbackTimedPorts (MidiPortSystem& portsToWrap)
        : ports (portsToWrap)
    {
    }

    int getNumInputs() override
    {
        return ports.getNumInputs();
    }

    int getNumOutputs() override
    {
        return ports.getNumOutputs();
    }

    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override
    {
        timedListener.target = &listener;
        return ports.openInput (index, timedListener);
    }

    std::unique_ptr<MidiOutputPort> openOutput (int index) override
    {
        return ports.openOutput (index);
    }

    double getCallbackMilliseconds() const
    {
        return timedListener.microseconds.load() / 1000.0;
    }

private:
    struct TimedListener final : MidiPortListener
    {
        void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) override
        {
            const auto start = CpuTime::threadMilliseconds();
            target->handleIncomingMidiMessage (source, message);
            microseconds += (long long) ((CpuTime::threadMilliseconds() - start) * 1000.0);
        }

        MidiPortListener* target = nullptr;
        std::atomic<long long> microseconds { 0 };
    };

    MidiPortSystem& ports;
    TimedListener timedListener;
};

void measureIdleCpu()
{
    const FirmwareImage image (std::vector<juce::uint8> (16 * FirmwareImage::blockSize, 0xa5));
    VirtualMidiPorts ports (1, 1);
    CallbackTimedPorts timedPorts (ports);
    SimulatedDevice::Settings settings;
    settings.latencyMicroseconds = 1000;
    SimulatedDevice device (ports, settings);
    DeviceLink link;
    TransferThreadStandIn thread;
    link.setPortSystem (&timedPorts);
    link.setFirmwareImage (&image);
    link.detect();

    // This thread runs the transfer, as the transfer thread does in the program.
    const auto callbackBefore = timedPorts.getCallbackMilliseconds();
    const auto processStart = CpuTime::processMilliseconds();
    const auto threadStart = CpuTime::threadMilliseconds();
    const auto start = juce::Time::getMillisecondCounterHiRes();
    link.transferFirmware (&thread);
    const auto wallMs = juce::Time::getMillisecondCounterHiRes() - start;
    const auto threadMs = CpuTime::threadMilliseconds() - threadStart;
    const auto processMs = CpuTime::processMilliseconds() - processStart;
    const auto callbackMs = timedPorts.getCallbackMilliseconds() - callbackBefore;
    link.close();

    const auto share = [wallMs] (double ms) { return juce::String (100.0 * ms / wallMs, 2) + "%"; };
    std::cout << "with 1 ms device latency, wall " << wallMs << " ms; CPU time as a share of it:\n"
              << "  whole process:                  " << share (processMs) << "\n"
              << "  transfer thread:                " << share (threadMs) << "\n"
              << "  input callback:                 " << share (callbackMs) << "\n"
              << "  the updater's own, together:    " << share (threadMs + callbackMs) << "  (target: under 2%)\n";
}
} // namespace

int main()
{
    measureOverhead();
    measureIdleCpu();
    return 0;
}
