#include "alsa-standin/EventDecoder.h"

#include "alsa-standin/ClientQueue.h"

#include <cstdio>
#include <cstdlib>

EventDecoder::EventDecoder()
{
    // The kernel's drivers decode with a buffer this large.
    if (snd_midi_event_new (256, &decoder) != 0)
    {
        std::fputs ("ALSA sequencer stand-in: the library cannot make a MIDI event decoder\n", stderr);
        std::abort();
    }

    snd_midi_event_no_status (decoder, 1);
}

EventDecoder::~EventDecoder()
{
    snd_midi_event_free (decoder);
}

std::vector<unsigned char> EventDecoder::toBytes (const snd_seq_event_t& event)
{
    if (ClientQueue::hasVariableLength (event))
    {
        const auto* bytes = static_cast<const unsigned char*> (event.data.ext.ptr);
        return { bytes, bytes + event.data.ext.len };
    }

    unsigned char buffer[16];
    auto copy = event;
    const auto length = snd_midi_event_decode (decoder, buffer, sizeof (buffer), &copy);
    return length > 0 ? std::vector<unsigned char> (buffer, buffer + length) : std::vector<unsigned char>();
}
