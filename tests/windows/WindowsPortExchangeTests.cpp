#include "device/DeviceCommands.h"
#include "midi/windows/WindowsMidiPorts.h"
#include "tests/windows/RecordingListener.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <gtest/gtest.h>

#include <iostream>

// These run under Wine, over Wine's own winmm and ALSA MIDI driver, on the
// ALSA sequencer stand-in's machine with a simulated VT-5150 answering after
// 1 ms (tests/windows/wine_port_test.sh sets it up). Each reply is taken by a
// listener that needs a few milliseconds per message, as a busy program might.

namespace
{
constexpr int exchanges = 3000, listenerDelayMs = 3, maxLost = 5;

/**
    Wakes whoever waits for the device's acknowledgement at once, then takes
    its few milliseconds over the message: the next command, and its reply,
    can then come while this call still runs, as in a busy program.
*/
class AcknowledgementCounter final : public RecordingListener
{
public:
    AcknowledgementCounter()
        : RecordingListener (listenerDelayMs)
    {
    }

    void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) override
    {
        if (DeviceCommands::isStrictAcknowledgement (message))
            acknowledged.signal();

        RecordingListener::handleIncomingMidiMessage (source, message);
    }

    juce::WaitableEvent acknowledged;
};

/** Where the simulated VT-5150 sits in winmm's lists; Wine names a port "client - port". */
struct DevicePorts
{
    WindowsMidiPorts ports;
    const int input = ports.getInputNames().indexOf ("VT-5150 - VT-5150");
    const int output = ports.getOutputNames().indexOf ("VT-5150 - VT-5150");
};

/** Sends the probe and waits for its acknowledgement as the device link would; true if it came. */
bool exchange (MidiOutputPort& output, AcknowledgementCounter& listener)
{
    listener.acknowledged.reset();
    output.sendMessageNow (DeviceCommands::toMessage (DeviceCommands::probe.data(), DeviceCommands::probe.length));
    return listener.acknowledged.wait (1000);
}

struct Outcome
{
    int done = 0, lost = 0;
};

/** Runs the exchanges over our winmm ports, stopping early once maxLost replies are lost. */
Outcome runExchanges()
{
    WindowsMidiPorts ports;
    const DevicePorts device;
    AcknowledgementCounter listener;
    auto input = ports.openInput (device.input, listener);
    auto output = ports.openOutput (device.output);
    Outcome outcome;

    if (input == nullptr || output == nullptr)
    {
        ADD_FAILURE() << "the device's ports cannot be opened";
        return outcome;
    }

    input->start();

    for (; outcome.done < exchanges && outcome.lost < maxLost; ++outcome.done)
        if (! exchange (*output, listener))
            ++outcome.lost;

    input->stop();
    return outcome;
}

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
    WindowsMidiPorts ports;

    EXPECT_EQ (ports.getInputNames(), getNames (juce::MidiInput::getAvailableDevices()));
    EXPECT_EQ (ports.getOutputNames(), getNames (juce::MidiOutput::getAvailableDevices()));

    const DevicePorts device;
    EXPECT_GE (device.input, 0) << ports.getInputNames().joinIntoString (", ");
    EXPECT_GE (device.output, 0) << ports.getOutputNames().joinIntoString (", ");
}

TEST (WinmmOverWine, OurInputLosesNoReply)
{
    const auto outcome = runExchanges();

    std::cout << "Our winmm ports: " << outcome.lost << " replies lost in " << outcome.done << " exchanges\n";
    EXPECT_EQ (outcome.done, exchanges);
    EXPECT_EQ (outcome.lost, 0);
}

TEST (WinmmOverWine, PortHeldOpenYieldsNoSecondPort)
{
    const DevicePorts device;
    WindowsMidiPorts ports;
    RecordingListener listener;

    const auto input = ports.openInput (device.input, listener);
    const auto output = ports.openOutput (device.output);
    ASSERT_NE (input, nullptr);
    ASSERT_NE (output, nullptr);

    EXPECT_EQ (ports.openInput (device.input, listener), nullptr);
    EXPECT_EQ (ports.openOutput (device.output), nullptr);
}
