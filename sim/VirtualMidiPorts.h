#pragma once

#include "midi/MidiPortSystem.h"

#include <functional>
#include <mutex>
#include <vector>

/**
    In-process MIDI inputs and outputs with no operating-system MIDI behind them.

    What the updater sends on an output goes to the receiver attached to that
    output (a simulated device), or nowhere. What a device sends to an input
    is delivered to every open, started instance of that input on the
    instance's own thread, as the framework delivers real MIDI. Ports can be
    made unopenable, and every message can be traced.
*/
class VirtualMidiPorts final : public MidiPortSystem
{
public:
    /** Receives what the updater sends on one output, on the sending thread. */
    using Receiver = std::function<void (const juce::MidiMessage&)>;

    /** Receives one line per message: "OUT <output> <bytes>" or "IN <input> <bytes>". */
    using TraceListener = std::function<void (const juce::String& line)>;

    /** Creates this many silent inputs and outputs. */
    VirtualMidiPorts (int numInputs, int numOutputs);

    /** All inputs opened from these ports must have been closed by now. */
    ~VirtualMidiPorts() override;

    int getNumInputs() override;
    int getNumOutputs() override;
    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

    /** Attaches the receiver of everything sent on this output; an empty function detaches it. */
    void setReceiver (int outputIndex, Receiver receiver);

    /** Delivers a message from the device side to every started instance of this input. */
    void sendToInput (int inputIndex, const juce::MidiMessage& message);

    /** Makes later attempts to open this input fail, or succeed again. */
    void setInputOpenable (int inputIndex, bool canOpen);

    /** Makes later attempts to open this output fail, or succeed again. */
    void setOutputOpenable (int outputIndex, bool canOpen);

    /** Number of inputs opened from these ports and not yet destroyed. */
    int getNumOpenInputs();

    /** Sets the listener that sees every message sent and delivered; empty for none. */
    void setTraceListener (TraceListener listener);

    /** Formats a message's bytes as two-digit uppercase hex separated by single spaces. */
    static juce::String toHex (const juce::MidiMessage& message);

private:
    class InputInstance;
    class OutputInstance;
    friend class InputInstance;
    friend class OutputInstance;

    void deliverFromOutput (int outputIndex, const juce::MidiMessage& message);
    void trace (const char* direction, int index, const juce::MidiMessage& message);
    void forgetInput (InputInstance* instance);

    std::mutex mutex;
    std::vector<Receiver> receivers;
    std::vector<bool> inputOpenable, outputOpenable;
    std::vector<InputInstance*> openInputs;
    TraceListener traceListener;
    std::mutex traceMutex;
    const int numInputs, numOutputs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualMidiPorts)
};
