#include "device/SystemMidiPorts.h"

#include <juce_audio_devices/juce_audio_devices.h>

namespace
{
/** A juce::MidiInput whose callback forwards each message, with this port as its source. */
class SystemInputPort final : public MidiInputPort, private juce::MidiInputCallback
{
public:
    SystemInputPort (const juce::String& identifier, MidiPortListener& listenerToUse)
        : listener (listenerToUse)
        , input (juce::MidiInput::openDevice (identifier, this))
    {
    }

    ~SystemInputPort() override
    {
        stop();
    }

    bool isValid() const noexcept
    {
        return input != nullptr;
    }

    void start() override
    {
        input->start();
    }

    void stop() override
    {
        input->stop();
    }

private:
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
    {
        listener.handleIncomingMidiMessage (this, message);
    }

    MidiPortListener& listener;
    std::unique_ptr<juce::MidiInput> input;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SystemInputPort)
};

class SystemOutputPort final : public MidiOutputPort
{
public:
    explicit SystemOutputPort (std::unique_ptr<juce::MidiOutput> outputToUse)
        : output (std::move (outputToUse))
    {
    }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        output->sendMessageNow (message);
    }

private:
    std::unique_ptr<juce::MidiOutput> output;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SystemOutputPort)
};
} // namespace

int SystemMidiPorts::getNumInputs()
{
    return juce::MidiInput::getAvailableDevices().size();
}

int SystemMidiPorts::getNumOutputs()
{
    return juce::MidiOutput::getAvailableDevices().size();
}

std::unique_ptr<MidiInputPort> SystemMidiPorts::openInput (int index, MidiPortListener& listener)
{
    const auto devices = juce::MidiInput::getAvailableDevices();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    auto port = std::make_unique<SystemInputPort> (devices.getReference (index).identifier, listener);

    if (! port->isValid())
        return {};

    return port;
}

std::unique_ptr<MidiOutputPort> SystemMidiPorts::openOutput (int index)
{
    const auto devices = juce::MidiOutput::getAvailableDevices();

    if (! juce::isPositiveAndBelow (index, devices.size()))
        return {};

    if (auto output = juce::MidiOutput::openDevice (devices.getReference (index).identifier))
        return std::make_unique<SystemOutputPort> (std::move (output));

    return {};
}
