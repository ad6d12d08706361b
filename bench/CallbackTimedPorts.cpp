#include "bench/CallbackTimedPorts.h"

#include "tools/CpuTime.h"

CallbackTimedPorts::CallbackTimedPorts (MidiPortSystem& portsToWrap)
    : ports (portsToWrap)
{
}

int CallbackTimedPorts::getNumInputs()
{
    return ports.getNumInputs();
}

int CallbackTimedPorts::getNumOutputs()
{
    return ports.getNumOutputs();
}

std::unique_ptr<MidiInputPort> CallbackTimedPorts::openInput (int index, MidiPortListener& listener)
{
    timedListener.target = &listener;
    return ports.openInput (index, timedListener);
}

std::unique_ptr<MidiOutputPort> CallbackTimedPorts::openOutput (int index)
{
    return ports.openOutput (index);
}

double CallbackTimedPorts::getCallbackMilliseconds() const
{
    return (double) timedListener.nanoseconds.load() / 1.0e6;
}

void CallbackTimedPorts::TimedListener::handleIncomingMidiMessage (MidiInputPort* source,
                                                                   const juce::MidiMessage& message)
{
    const auto start = CpuTime::threadMilliseconds();
    target->handleIncomingMidiMessage (source, message);
    nanoseconds += (long long) ((CpuTime::threadMilliseconds() - start) * 1.0e6);
}
