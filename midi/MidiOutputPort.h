#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** One MIDI output that the port layer has opened; destroying it closes the output. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends the message at once and returns when the driver has finished with it. */
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;
};
