#include "bench/BareSender.h"

void BareSender::handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage&)
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        replied = true;
    }

    condition.notify_one();
}

void BareSender::exchange (MidiOutputPort& output, const juce::MidiMessage& message)
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        replied = false;
    }

    output.sendMessageNow (message);
    std::unique_lock<std::mutex> lock (mutex);
    condition.wait (lock, [this] { return replied; });
}
