#pragma once

#include <alsa/asoundlib.h>

#include <vector>

/**
    Turns sequencer events back into the MIDI bytes they stand for, with the
    ALSA library's own decoder, as the kernel's MIDI drivers do before they
    send them to a device. Not locked: its owner locks.
*/
class EventDecoder
{
public:
    /** Makes the decoder; ends the process with a message if the library cannot. */
    EventDecoder();
    ~EventDecoder();

    EventDecoder (const EventDecoder&) = delete;
    EventDecoder& operator= (const EventDecoder&) = delete;

    /** The event's MIDI bytes: a SysEx event's own, any other's as decoded; none for an event without MIDI. */
    std::vector<unsigned char> toBytes (const snd_seq_event_t& event);

private:
    snd_midi_event_t* decoder = nullptr;
};
