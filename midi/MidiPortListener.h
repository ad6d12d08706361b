#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

class MidiInputPort;

/** Receives the messages of an opened MidiInputPort, on that input's delivery thread. */
class MidiPortListener
{
public:
    virtual ~MidiPortListener() = default;

    /** Called for every complete message; a SysEx message arrives whole, F0 through F7. */
    virtual void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) = 0;
};
