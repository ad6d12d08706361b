#include "device/DeviceCommands.h"
#include "midi/windows/WindowsMidiPorts.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <gtest/gtest.h>

#include <iostream>

// These run under Wine, over Wine's own winmm and ALSA MIDI driver, on the
// ALSA sequencer stand-in's machine with a simulated VT-5150 answering after
// 1 ms (tests/windows/wine_port_test.sh sets it up).

namespace
{
/**
    Wakes whoever waits for the device's acknowledgement at once, then takes
    3 ms over the message, as a busy program might: the next command, and its
    reply, can then come while this call still runs.
*/
struct AcknowledgementListener final : MidiPortListener
{
    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage& message) override
    {
        if (DeviceCommands::isStrictAcknowledgement (message))
            acknowledged.signal();

        juce::Thread::sleep (3);
    }

    juce::WaitableEvent acknowledged;
};

/** The updater's winmm ports, and where the simulated VT-5150 sits in their lists; Wine names a port "client - port".
 */
struct DevicePorts
{
    WindowsMidiPorts ports;
    const int input = ports.getInputNames().indexOf ("VT-5150 - VT-5150");
    const int output = ports.getOutputNames().indexOf ("VT-5150 - VT-5150");
};

juce::StringArray getNames (const juce::Array<juce::MidiDeviceInfo>& devices)
{
    juce::StringArray names;

    for (const auto& device : devices)
        names.add (device.name);

    return names;
}
} // namespace

TEST (WinmmOverWine, PortsAreListedAsJuceListsThem)
{
    const DevicePorts device;
    WindowsMidiPorts ports;

    EXPECT_EQ (ports.getInputNames(), getNames (juce::MidiInput::getAvailableDevices()));
    EXPECT_EQ (ports.getOutputNames(), getNames (juce::MidiOutput::getAvailableDevices()));
    EXPECT_GE (device.input, 0) << ports.getInputNames().joinIntoString (", ");
    EXPECT_GE (device.output, 0) << ports.getOutputNames().joinIntoString (", ");
}

// That each SysEx buffer goes back to Wine's driver only once its notice was
// handled: JUCE's own input, measured so during development, lost 5 replies
// in its first 10 exchanges. The run stops early once that many are lost.
TEST (WinmmOverWine, OurInputLosesNoReply)
{
    constexpr int exchanges = 3000, maxLost = 5;
    DevicePorts device;
    AcknowledgementListener listener;
    const auto input = device.ports.openInput (device.input, listener);
    const auto output = device.ports.openOutput (device.output);
    ASSERT_NE (input, nullptr);
    ASSERT_NE (output, nullptr);
    input->start();
    int done = 0, lost = 0;

    for (; done < exchanges && lost < maxLost; ++done)
    {
        listener.acknowledged.reset();
        output->sendMessageNow (DeviceCommands::toMessage (DeviceCommands::probe.data(), DeviceCommands::probe.length));

        if (! listener.acknowledged.wait (1000))
            ++lost;
    }

    input->stop();
    std::cout << "Our winmm ports: " << lost << " replies lost in " << done << " exchanges\n";
    EXPECT_EQ (done, exchanges);
    EXPECT_EQ (lost, 0);
}

TEST (WinmmOverWine, PortHeldOpenYieldsNoSecondPort)
{
    DevicePorts device;
    AcknowledgementListener listener;
    const auto input = device.ports.openInput (device.input, listener);
    const auto output = device.ports.openOutput (device.output);
    ASSERT_NE (input, nullptr);
    ASSERT_NE (output, nullptr);

    EXPECT_EQ (device.ports.openInput (device.input, listener), nullptr);
    EXPECT_EQ (device.ports.openOutput (device.output), nullptr);
}
