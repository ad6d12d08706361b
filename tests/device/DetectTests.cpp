#include "device/DeviceLink.h"
#include "midi/SystemMidiPorts.h"
#include "sim/SimulatedDevice.h"
#include "sim/WireTrace.h"

#include <gtest/gtest.h>

namespace
{
const juce::String probeOut = "F0 4E 7F 0D 78 F7";
const juce::String queryOut = "F0 4E 7F 0D 56 F7";

juce::uint32 millisecondsSince (juce::uint32 start)
{
    return juce::Time::getMillisecondCounter() - start;
}

/** A device link on virtual ports, with a simulated device on the pair (input, output) and a trace of the wire. */
struct Bench
{
    Bench (int numInputs, int numOutputs, int input, int output)
        : ports (numInputs, numOutputs)
        , trace (ports)
        , device (ports, { input, output })
    {
        link.setPortSystem (&ports);
    }

    ~Bench()
    {
        link.close();
    }

    VirtualMidiPorts ports;
    WireTrace trace;
    SimulatedDevice device;
    DeviceLink link;
};
} // namespace

// The search's order on the wire, pair by pair with the inputs outermost, and
// the pair kept for the transfer, tests/app/system_midi_gui_test.sh checks
// exactly on the real updater.

TEST (Detect, SearchingAgainReleasesTheHeldPairAndStartsFromTheFirstPair)
{
    Bench bench (1, 2, 0, 1);
    ASSERT_TRUE (bench.link.detect());
    bench.trace.clear();

    // With input 0 no longer openable the new search can only fail, and it
    // fails with nothing held: the pair from the first search was released.
    bench.ports.setInputOpenable (0, false);
    EXPECT_FALSE (bench.link.detect());
    EXPECT_FALSE (bench.link.isOpen());
    EXPECT_EQ (bench.ports.getNumOpenInputs(), 0);

    bench.ports.setInputOpenable (0, true);
    EXPECT_TRUE (bench.link.detect());
    EXPECT_EQ (bench.trace.getLinesStartingWith ("OUT ")[0], "OUT 0 " + probeOut);
}

TEST (Detect, PortsThatCannotBeOpenedAreSkippedWithoutWaiting)
{
    Bench bench (2, 2, 1, 1);
    bench.ports.setInputOpenable (0, false);
    bench.ports.setOutputOpenable (0, false);

    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_TRUE (bench.link.detect());

    EXPECT_LT (millisecondsSince (start), DeviceLink::replyTimeoutMs);
    EXPECT_EQ (bench.trace.getLinesStartingWith ("OUT "),
               (juce::StringArray { "OUT 1 " + probeOut, "OUT 1 " + queryOut }));
}

TEST (Detect, StaleAcknowledgementNeverMakesAnUnopenablePairCountAsFound)
{
    // The device answers on input 0 but listens on an output that cannot be
    // opened; an acknowledgement already waiting in the store must not count.
    Bench bench (1, 1, 0, 0);
    ASSERT_TRUE (bench.link.detect());
    bench.link.sendCommand (DeviceCommands::probe);
    juce::Thread::sleep (50);

    bench.ports.setOutputOpenable (0, false);
    EXPECT_FALSE (bench.link.detect());
    EXPECT_FALSE (bench.link.isOpen());
}

TEST (Detect, NoSystemMidiMeansNotFoundAtOnce)
{
    SystemMidiPorts system;

    if (system.getNumInputs() > 0 && system.getNumOutputs() > 0)
        GTEST_SKIP() << "this machine has MIDI ports";

    DeviceLink link;
    const auto start = juce::Time::getMillisecondCounter();
    EXPECT_FALSE (link.detect());
    EXPECT_LT (millisecondsSince (start), DeviceLink::replyTimeoutMs);
    EXPECT_FALSE (link.isOpen());
}
