#pragma once

#include "midi/MidiPortSystem.h"

#include <atomic>

/**
    Wraps a port system so that the CPU time that each input's listener takes
    on the input's delivery thread is summed, from that thread's CPU clock.
*/
class CallbackTimedPorts final : public MidiPortSystem
{
public:
    /** Wraps these ports, which must outlive this object. */
    explicit CallbackTimedPorts (MidiPortSystem& portsToWrap);

    int getNumInputs() override;
    int getNumOutputs() override;
    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override;
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

    /** The CPU time that listener callbacks have taken so far, in milliseconds. */
    double getCallbackMilliseconds() const;

private:
    struct TimedListener final : MidiPortListener
    {
        void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) override;

        MidiPortListener* target = nullptr;
        std::atomic<long long> nanoseconds { 0 };
    };

    MidiPortSystem& ports;
    TimedListener timedListener;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CallbackTimedPorts)
};
