#pragma once

#include <alsa/asoundlib.h>

#include <deque>
#include <vector>

/**
    The events waiting for one of the program's sequencer clients, with the
    poll descriptor that is readable exactly while any wait.

    The kernel gives each client a pool of events; what does not fit is
    lost. An event taken out, and the bytes of its SysEx, stay valid until
    the next one is taken, as in the library's read buffer.
*/
class ClientQueue
{
public:
    ClientQueue();
    ~ClientQueue();

    ClientQueue (const ClientQueue&) = delete;
    ClientQueue& operator= (const ClientQueue&) = delete;

    /** Adds a copy of the event, and of the bytes it points to if it has variable length. */
    void push (const snd_seq_event_t& event);

    /** Takes the oldest event out; returns the number still waiting, or -EAGAIN if none waited. */
    int pop (snd_seq_event_t** event);

    /** The number of events waiting. */
    int size() const noexcept;

    /** The descriptor to poll for input. */
    int getPollDescriptor() const noexcept;

    /** True for an event whose bytes lie outside it (SysEx). */
    static bool hasVariableLength (const snd_seq_event_t& event) noexcept;

private:
    struct Entry
    {
        snd_seq_event_t event;
        std::vector<unsigned char> data;
    };

    std::deque<Entry> entries;
    Entry current;
    int pollDescriptor = -1;
};
