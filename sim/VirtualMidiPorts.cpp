#include "sim/VirtualMidiPorts.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <thread>

/** One opened input: queues what the device sends and delivers it on a thread of its own. */
class VirtualMidiPorts::InputInstance final : public MidiInputPort
{
public:
    InputInstance (VirtualMidiPorts& ownerToUse, int indexToUse, MidiPortListener& listenerToUse)
        : owner (ownerToUse)
        , index (indexToUse)
        , listener (listenerToUse)
    {
    }

    ~InputInstance() override
    {
        stop();
        owner.forgetInput (this);
    }

    int getIndex() const noexcept
    {
        return index;
    }

    void start() override
    {
        const std::lock_guard<std::mutex> lock (mutex);

        if (started)
            return;

        started = true;
        deliveryThread = std::thread ([this] { deliverUntilStopped(); });
    }

    void stop() override
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);

            if (! started)
                return;

            started = false;
            queue.clear();
        }

        wake.notify_all();
        deliveryThread.join();
    }

    /** Queues a message for delivery; an input that is not started drops it, as real MIDI does. */
    void enqueue (const juce::MidiMessage& message)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);

            if (! started)
                return;

            queue.push_back (message);
        }

        wake.notify_all();
    }

private:
    void deliverUntilStopped()
    {
        std::unique_lock<std::mutex> lock (mutex);

        for (;;)
        {
            wake.wait (lock, [this] { return ! started || ! queue.empty(); });

            if (! started)
                return;

            const auto message = std::move (queue.front());
            queue.pop_front();

            // The lock is released during the callback so that the device can
            // queue its next message meanwhile; stop() still waits for the
            // callback to return because it joins this thread.
            lock.unlock();
            owner.trace ("IN", index, message);
            listener.handleIncomingMidiMessage (this, message);
            lock.lock();
        }
    }

    VirtualMidiPorts& owner;
    const int index;
    MidiPortListener& listener;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<juce::MidiMessage> queue;
    bool started = false;
    std::thread deliveryThread;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InputInstance)
};

/** One opened output: hands every message to the receiver attached to its index. */
class VirtualMidiPorts::OutputInstance final : public MidiOutputPort
{
public:
    OutputInstance (VirtualMidiPorts& ownerToUse, int indexToUse)
        : owner (ownerToUse)
        , index (indexToUse)
    {
    }

    void sendMessageNow (const juce::MidiMessage& message) override
    {
        owner.deliverFromOutput (index, message);
    }

private:
    VirtualMidiPorts& owner;
    const int index;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputInstance)
};

VirtualMidiPorts::VirtualMidiPorts (int numInputsToUse, int numOutputsToUse)
    : receivers ((size_t) numOutputsToUse)
    , inputOpenable ((size_t) numInputsToUse, true)
    , outputOpenable ((size_t) numOutputsToUse, true)
    , numInputs (numInputsToUse)
    , numOutputs (numOutputsToUse)
{
}

VirtualMidiPorts::~VirtualMidiPorts()
{
    jassert (openInputs.empty());
}

int VirtualMidiPorts::getNumInputs()
{
    return numInputs;
}

int VirtualMidiPorts::getNumOutputs()
{
    return numOutputs;
}

std::unique_ptr<MidiInputPort> VirtualMidiPorts::openInput (int index, MidiPortListener& listener)
{
    const std::lock_guard<std::mutex> lock (mutex);

    if (! juce::isPositiveAndBelow (index, numInputs) || ! inputOpenable[(size_t) index])
        return {};

    auto instance = std::make_unique<InputInstance> (*this, index, listener);
    openInputs.push_back (instance.get());
    return instance;
}

std::unique_ptr<MidiOutputPort> VirtualMidiPorts::openOutput (int index)
{
    const std::lock_guard<std::mutex> lock (mutex);

    if (! juce::isPositiveAndBelow (index, numOutputs) || ! outputOpenable[(size_t) index])
        return {};

    return std::make_unique<OutputInstance> (*this, index);
}

void VirtualMidiPorts::setReceiver (int outputIndex, Receiver receiver)
{
    const std::lock_guard<std::mutex> lock (mutex);
    receivers.at ((size_t) outputIndex) = std::move (receiver);
}

void VirtualMidiPorts::sendToInput (int inputIndex, const juce::MidiMessage& message)
{
    const std::lock_guard<std::mutex> lock (mutex);

    for (auto* instance : openInputs)
        if (instance->getIndex() == inputIndex)
            instance->enqueue (message);
}

void VirtualMidiPorts::setInputOpenable (int inputIndex, bool canOpen)
{
    const std::lock_guard<std::mutex> lock (mutex);
    inputOpenable.at ((size_t) inputIndex) = canOpen;
}

void VirtualMidiPorts::setOutputOpenable (int outputIndex, bool canOpen)
{
    const std::lock_guard<std::mutex> lock (mutex);
    outputOpenable.at ((size_t) outputIndex) = canOpen;
}

int VirtualMidiPorts::getNumOpenInputs()
{
    const std::lock_guard<std::mutex> lock (mutex);
    return (int) openInputs.size();
}

void VirtualMidiPorts::setTraceListener (TraceListener listener)
{
    const std::lock_guard<std::mutex> lock (traceMutex);
    traceListener = std::move (listener);
}

juce::String VirtualMidiPorts::toHex (const juce::MidiMessage& message)
{
    return juce::String::toHexString (message.getRawData(), message.getRawDataSize()).toUpperCase();
}

void VirtualMidiPorts::deliverFromOutput (int outputIndex, const juce::MidiMessage& message)
{
    trace ("OUT", outputIndex, message);

    Receiver receiver;

    {
        const std::lock_guard<std::mutex> lock (mutex);
        receiver = receivers[(size_t) outputIndex];
    }

    // Called without the lock, so that the receiver may answer through sendToInput.
    if (receiver)
        receiver (message);
}

void VirtualMidiPorts::trace (const char* direction, int index, const juce::MidiMessage& message)
{
    const std::lock_guard<std::mutex> lock (traceMutex);

    if (traceListener)
        traceListener (juce::String (direction) + " " + juce::String (index) + " " + toHex (message));
}

void VirtualMidiPorts::forgetInput (InputInstance* instance)
{
    const std::lock_guard<std::mutex> lock (mutex);
    openInputs.erase (std::remove (openInputs.begin(), openInputs.end(), instance), openInputs.end());
}
