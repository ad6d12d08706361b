#pragma once

#include "midi/MidiPortSystem.h"

#include <condition_variable>
#include <mutex>

/**
    The least that an exchange needs: send a ready-made message, then sleep
    until the input's delivery thread says that something came back, with a
    flag, a lock and a condition variable and none of the device link's code.
*/
class BareSender final : public MidiPortListener
{
public:
    BareSender() = default;

    /** Notes that a reply came and wakes the sending thread. */
    void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) override;

    /** Sends the message and waits, without a limit, until a reply comes back. */
    void exchange (MidiOutputPort& output, const juce::MidiMessage& message);

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool replied = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BareSender)
};
