// The system MIDI port layer over JUCE's own Linux MIDI code, with the ALSA
// sequencer stand-in preloaded in place of the kernel's sequencer. The test
// machine (tests/vm) runs the flooding case over the kernel's own sequencer
// too, naming its flooding port in VT5150_FLOOD_PORT. That the other ports
// still open and deliver after a failed open (which pins JUCE's sequencer
// client and its input thread for good) the real updater shows in
// tests/app/system_midi_gui_test.sh, which finds the device past such ports.

#include "midi/SystemMidiPorts.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
/**
    The machine that the stand-in pretends to be, set before anything opens
    MIDI: a device "Flood" that sends notes without pause, and a port of each
    direction that JUCE cannot open.
*/
struct StandInMachine final : testing::Environment
{
    void SetUp() override
    {
        setenv ("VT5150_ALSA_SEQ", "input:Flood:flood,input:Broken In:nocreate,output:Broken Out:nocreate", 1);
    }
};

[[maybe_unused]] const auto* const machine = testing::AddGlobalTestEnvironment (new StandInMachine);

template <typename DeviceClass>
int indexOf (const juce::String& name)
{
    const auto devices = DeviceClass::getAvailableDevices();

    for (int i = 0; i < devices.size(); ++i)
        if (devices.getReference (i).name == name)
            return i;

    ADD_FAILURE() << "no MIDI port \"" << name << "\": is the ALSA sequencer stand-in preloaded?";
    return -1;
}

/** The port of a device that sends notes without pause. */
juce::String floodPort()
{
    return juce::SystemStats::getEnvironmentVariable ("VT5150_FLOOD_PORT", "Flood");
}

/** Counts the messages delivered, and those delivered or still being delivered after stop() returned. */
struct CountingListener final : MidiPortListener
{
    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage&) override
    {
        // A callback that takes a while widens the window in which a stop could overtake it.
        ++count;
        std::this_thread::sleep_for (std::chrono::microseconds (200));

        if (stopped)
            ++lateCallbacks;
    }

    std::atomic<int> count { 0 }, lateCallbacks { 0 };
    std::atomic<bool> stopped { false };
};
} // namespace

TEST (SystemMidiPorts, APortThatCannotBeOpenedYieldsNoPort)
{
    SystemMidiPorts ports;
    CountingListener listener;

    EXPECT_EQ (ports.openInput (indexOf<juce::MidiInput> ("Broken In"), listener), nullptr);
    EXPECT_EQ (ports.openOutput (indexOf<juce::MidiOutput> ("Broken Out")), nullptr);
    EXPECT_EQ (ports.openInput (ports.getNumInputs(), listener), nullptr);
    EXPECT_EQ (ports.openOutput (-1), nullptr);
}

TEST (SystemMidiPorts, NoCallbackRunsOrArrivesOnceStopHasReturned)
{
    SystemMidiPorts ports;
    CountingListener listener;
    auto input = ports.openInput (indexOf<juce::MidiInput> (floodPort()), listener);
    ASSERT_NE (input, nullptr);

    // Each cycle's own check: between stop() returning and a wait after it, no
    // callback is still running and none begins.
    for (int cycle = 0; cycle < 100; ++cycle)
    {
        listener.stopped = false;
        const int seen = listener.count;
        input->start();

        for (const auto start = juce::Time::getMillisecondCounter(); listener.count == seen;
             std::this_thread::sleep_for (std::chrono::microseconds (100)))
            ASSERT_LT (juce::Time::getMillisecondCounter() - start, 1000u) << "nothing delivered, cycle " << cycle;

        input->stop();
        listener.stopped = true;
        const int deliveredBeforeStopReturned = listener.count;

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
        ASSERT_EQ (listener.lateCallbacks, 0) << "a callback ran on after stop() returned, cycle " << cycle;
        ASSERT_EQ (listener.count, deliveredBeforeStopReturned) << "a callback began after stop(), cycle " << cycle;
    }
}
