#include "midi/SystemMidiPorts.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <mutex>

namespace
{
/** Inputs of this process started and not yet stopped. */
std::atomic<int> numStartedInputs { 0 };

#if JUCE_LINUX
/** True while a thread named as JUCE's ALSA input thread is alive in this process. */
bool alsaInputThreadAlive()
{
    for (const auto& task : juce::File ("/proc/self/task").findChildFiles (juce::File::findDirectories, false))
        if (task.getChildFile ("comm").loadFileAsString().trim() == "JUCE MIDI Input")
            return true;

    return false;
}
#endif

/**
    Waits, for three seconds at the most, until JUCE's ALSA input thread is
    alive or has ended, as asked.

    JUCE delivers every ALSA input from one shared thread, which is only told
    to exit when the last input stops and may poll on for a while; it refuses
    to start that thread again while the old one lives, and then no input
    delivers at all. Before the first of our inputs starts, the old thread
    must therefore have ended. Usually it has: JUCE joins it when nothing
    holds its sequencer client any more. But a port that JUCE failed to create
    keeps that client for good, and then only waiting helps.

    Threads are seen through /proc/self/task, which only Linux has; elsewhere
    this returns at once. Should the wait ever run out, the input opens but
    delivers nothing, so its pair stays silent to the probe: the search goes
    on to the other pairs and, if that was the device's, says that no device
    was found, and the user can try again.
*/
void waitForAlsaInputThread (bool alive)
{
#if JUCE_LINUX
    constexpr juce::uint32 limitMs = 3000;
    const auto start = juce::Time::getMillisecondCounter();

    while (alsaInputThreadAlive() != alive && juce::Time::getMillisecondCounter() - start < limitMs)
        juce::Thread::sleep (1);
#else
    juce::ignoreUnused (alive);
#endif
}

/**
    A juce::MidiInput whose callback forwards each message, with this port as
    its source, between start() and stop().

    JUCE's stop() only clears a flag, so a callback already under way may
    still run after it returns; the delivery lock makes stop() wait for it.
*/
class SystemInputPort final : public MidiInputPort, private juce::MidiInputCallback
{
public:
    explicit SystemInputPort (MidiPortListener& listenerToUse)
        : listener (listenerToUse)
    {
    }

    ~SystemInputPort() override
    {
        stop();
    }

    /** Opens the input with this identifier; false when JUCE yields none. */
    bool open (const juce::String& identifier)
    {
        input = juce::MidiInput::openDevice (identifier, this);
        return input != nullptr;
    }

    void start() override
    {
        if (started)
            return;

        if (numStartedInputs++ == 0)
            waitForAlsaInputThread (false);

        {
            const std::lock_guard<std::mutex> lock (deliveryLock);
            delivering = true;
        }

        started = true;
        input->start();

        // The thread takes its name only once it runs: waiting for that here
        // lets the next start after a stop see it, and wait for its end.
        waitForAlsaInputThread (true);
    }

    void stop() override
    {
        if (! started)
            return;

        input->stop();

        {
            const std::lock_guard<std::mutex> lock (deliveryLock);
            delivering = false;
        }

        started = false;
        --numStartedInputs;
    }

private:
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> lock (deliveryLock);

        if (delivering)
            listener.handleIncomingMidiMessage (this, message);
    }

    MidiPortListener& listener;
    std::mutex deliveryLock;
    bool delivering = false, started = false;

    // Declared last, so that it is closed first: JUCE waits for a callback under
    // way before it lets the port go, and that callback still needs the lock.
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

    // A port that went away since it was listed, or that JUCE cannot create, yields no input.
    auto port = std::make_unique<SystemInputPort> (listener);

    if (! port->open (devices.getReference (index).identifier))
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
