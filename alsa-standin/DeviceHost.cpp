// vt5150-seq-device: a simulated VT-5150 for the ALSA sequencer stand-in. It
// listens on a Unix socket; while the stand-in is connected there, the device
// is plugged in, and the MIDI bytes that the program under test sends it
// travel over the socket to the simulated device, its replies back. When the
// connection ends or the process is told to stop (SIGTERM: the device is
// unplugged), it writes what the device received and holds to the report.
//
// With --raw-midi instead of --socket it serves a kernel's raw MIDI device
// (the raw side of an snd-virmidi card) in the same way, until it is told to
// stop: the kernel's sequencer then carries the bytes to the program.

#include "alsa-standin/DeviceConnection.h"
#include "device/DeviceCommands.h"
#include "device/FirmwareImage.h"
#include "sim/SimulatedDevice.h"
#include "sim/SimulationOptions.h"
#include "sim/WireTrace.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>

namespace
{
constexpr int exitSuccess = 0, exitFailure = 1, exitUsage = 64;

int stopPipe[2] = { -1, -1 };

void requestStop (int)
{
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write (stopPipe[1], &byte, 1);
}

/** Where the device is plugged in, and how. */
struct HostSettings
{
    juce::String socketPath, rawMidiPath, reportPath, tracePath;

    /** Active sensing that the device sends every so many milliseconds; 0 for none. */
    int sensingIntervalMs = 0;
};

/**
    Times a transfer as the device sees it: from the arrival of its start
    command to the arrival of the last command. The mean gap between commands
    is what one exchange costs the program under test plus the device's
    latency, measured alike for any program on any system, which is what lets
    the benchmarks compare the updater with a bare client.
*/
struct TransferClock
{
    std::mutex mutex;
    double startMs = 0, lastMs = 0;
    int numCommands = 0;

    void observe (const juce::MidiMessage& frame)
    {
        const auto now = juce::Time::getMillisecondCounterHiRes();
        const std::lock_guard<std::mutex> lock (mutex);
        const auto* body = frame.getSysExData();

        if (frame.getSysExDataSize() == DeviceCommands::start.length &&
            std::equal (body, body + frame.getSysExDataSize(), DeviceCommands::start.data()))
        {
            startMs = now;
            numCommands = 0;
        }

        lastMs = now;
        ++numCommands;
    }

    /** "transfer: N commands, X ms apart" for the last transfer begun, or nothing before one. */
    std::string describe()
    {
        const std::lock_guard<std::mutex> lock (mutex);

        if (numCommands < 2 || startMs == 0)
            return {};

        return "transfer: " + std::to_string (numCommands) + " commands, " +
               juce::String ((lastMs - startMs) / (numCommands - 1), 4).toStdString() + " ms apart\n";
    }
};

int listenAt (const juce::String& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;

    if ((size_t) path.getNumBytesAsUTF8() >= sizeof (address.sun_path))
        return -1;

    std::strcpy (address.sun_path, path.toRawUTF8());
    const auto fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

    // bind refuses a path where something exists already, which is never replaced.
    if (fd < 0 || ::bind (fd, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) != 0 ||
        ::listen (fd, 1) != 0)
    {
        if (fd >= 0)
            ::close (fd);

        return -1;
    }

    return fd;
}

bool writeReport (const juce::String& path, const SimulatedDevice& device, TransferClock& clock)
{
    std::ofstream report (path.toRawUTF8());
    const auto violations = device.getViolations();
    report << "commands: " << device.getNumReceivedCommands() << "\n"
           << "image: " << (device.memoryMatches (FirmwareImage::getBuiltIn().getPayloadCopy()) ? "match" : "mismatch")
           << "\n"
           << "violations: " << violations.size() << "\n"
           << clock.describe();

    for (const auto& violation : violations)
        report << "violation: " << violation << "\n";

    return report.good();
}

/** Serves the stand-in's first connection to the socket, until it ends or a stop is requested. */
bool serveSocket (const HostSettings& settings, VirtualMidiPorts& ports)
{
    const auto listener = listenAt (settings.socketPath);

    if (listener < 0)
        return false;

    std::cout << "listening at " << settings.socketPath << std::endl;

    if (DeviceConnection::waitForInput (listener, stopPipe[0]))
    {
        const auto connection = ::accept4 (listener, nullptr, nullptr, SOCK_CLOEXEC);

        if (connection >= 0)
        {
            DeviceConnection (connection, stopPipe[0]).serve (ports, settings.sensingIntervalMs);
            ::close (connection);
        }
    }

    // Gone from the socket path: the stand-in finds the device unplugged from now on.
    ::unlink (settings.socketPath.toRawUTF8());
    ::close (listener);
    return true;
}

/** Serves the kernel's raw MIDI device until a stop is requested. */
bool serveRawMidi (const HostSettings& settings, VirtualMidiPorts& ports)
{
    const auto device = ::open (settings.rawMidiPath.toRawUTF8(), O_RDWR | O_NONBLOCK | O_CLOEXEC);

    if (device < 0)
        return false;

    // The kernel starts a raw MIDI input only at its first read, and nothing is
    // subscribed to the device yet: so one read comes before saying it is ready.
    juce::uint8 unused[16];
    [[maybe_unused]] const auto count = ::read (device, unused, sizeof (unused));
    std::cout << "plugged in at " << settings.rawMidiPath << std::endl;

    DeviceConnection (device, stopPipe[0]).serve (ports, settings.sensingIntervalMs);
    ::close (device);
    return true;
}

int run (const SimulationOptions& options, const HostSettings& settings)
{
    TransferClock clock;
    VirtualMidiPorts ports (1, 1);
    SimulatedDevice device (ports, { 0, 0, options.latencyMicroseconds.value_or (0), options.faults });
    WireTrace trace (ports);
    device.setCommandObserver ([&clock] (const juce::MidiMessage& frame) { clock.observe (frame); });

    const auto rawMidi = settings.rawMidiPath.isNotEmpty();

    if (! (rawMidi ? serveRawMidi (settings, ports) : serveSocket (settings, ports)))
    {
        std::cerr << "vt5150-seq-device: cannot " << (rawMidi ? "open " : "listen at ")
                  << (rawMidi ? settings.rawMidiPath : settings.socketPath) << ": " << std::strerror (errno)
                  << std::endl;
        return exitFailure;
    }

    const auto traced = settings.tracePath.isEmpty() || trace.writeTo (juce::File (settings.tracePath)).isEmpty();
    const auto reported = settings.reportPath.isEmpty() || writeReport (settings.reportPath, device, clock);
    return traced && reported ? exitSuccess : exitFailure;
}

juce::String parseArguments (juce::StringArray arguments, SimulationOptions& options, HostSettings& settings)
{
    const auto error = options.parse (arguments);

    if (error.isNotEmpty())
        return error;

    if (options.numInputs != 1 || options.numOutputs != 1 || ! options.withDevice)
        return "the device has one input and one output: --inputs, --outputs, --device-at and --no-device do not apply";

    const std::pair<const char*, juce::String*> paths[] = { { "--socket", &settings.socketPath },
                                                            { "--raw-midi", &settings.rawMidiPath },
                                                            { "--report", &settings.reportPath },
                                                            { "--trace", &settings.tracePath } };

    for (; arguments.size() >= 2; arguments.removeRange (0, 2))
    {
        if (arguments[0] == "--sense" && arguments[1].containsOnly ("0123456789") && arguments[1].length() <= 6)
        {
            settings.sensingIntervalMs = arguments[1].getIntValue();
            continue;
        }

        const auto path = std::find_if (std::begin (paths), std::end (paths),
                                        [&] (const auto& entry) { return arguments[0] == entry.first; });

        if (path == std::end (paths))
            break;

        *path->second = arguments[1];
    }

    if (! arguments.isEmpty())
        return "unknown option or bad value " + arguments[0];

    return settings.socketPath.isEmpty() == settings.rawMidiPath.isEmpty()
               ? "either --socket PATH or --raw-midi DEVICE is needed"
               : "";
}
} // namespace

int main (int argc, char* argv[])
{
    SimulationOptions options;
    HostSettings settings;
    const auto error = parseArguments (juce::StringArray (argv + 1, argc - 1), options, settings);

    if (error.isNotEmpty())
    {
        std::cerr << "vt5150-seq-device: " << error
                  << "\nUsage: vt5150-seq-device (--socket PATH | --raw-midi DEVICE) [--report FILE] [--trace FILE]"
                     " [--sense MS]\n"
                  << SimulationOptions::getHelp();
        return exitUsage;
    }

    if (::pipe2 (stopPipe, O_CLOEXEC) != 0)
        return exitFailure;

    // A reply written to a connection that has just ended is simply lost.
    std::signal (SIGPIPE, SIG_IGN);
    std::signal (SIGTERM, requestStop);
    std::signal (SIGINT, requestStop);
    return run (options, settings);
}
