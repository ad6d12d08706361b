// The ALSA library's sequencer calls that JUCE's Linux MIDI code and Wine's
// ALSA MIDI driver (winealsa.drv) make, answered by the stand-in Sequencer
// instead of the kernel. Preloaded into a program, these take the place of the
// library's own; the library's MIDI event encoder and decoder stay the real
// ones. Only these functions are exported.
//
// What Wine 8.0 does with the sequencer, and why the stand-in answers so:
// - Every Wine process loads the stand-in (LD_PRELOAD reaches winealsa.so,
//   which links the library directly), wineserver included; the machine is
//   made at a process's first sequencer call, so only a process that uses
//   MIDI has one, and each such process has its own.
// - Once per process, at its first MIDI call, Wine walks every client and
//   port twice: first the ports without SND_SEQ_PORT_TYPE_PORT, then those
//   with it, which is every port of a kernel driver. A port with type 0 (the
//   system client's) is never listed. A WRITE port becomes a MIDI output, a
//   READ port an input, in walking order, named "<client> - <port>" (the port
//   alone when that is 32 characters or more). Its list never changes after
//   that walk: a device plugged in later is not seen until the program starts
//   again, which is why a test plugs a late device in behind a cable.
// - It opens its client in blocking mode and reads events only after poll
//   says so, with its own lock held and no check of the result, so input
//   blocks until an event comes, as the kernel's read does.
// - Opening an output creates a port ("WINE ALSA Output", then "... #N") and
//   subscribes it to the device; closing deletes that port. Opening an input
//   subscribes the one "WINE ALSA Input" port to the device, and closing
//   unsubscribes it (snd_seq_disconnect_from, -ENOENT if it was not).
// - It hands on SysEx as the events bring it, and drops active sensing.
//
// Chromium's Web MIDI subscribes through snd_seq_subscribe_port, to the
// devices and to the system's announce port, and ends its event loop when the
// announcement that its own output client has gone arrives.

#include "alsa-standin/SequencerInstance.h"

#include <poll.h>

STANDIN_API int snd_seq_open (snd_seq_t** handle, const char*, int, int mode)
{
    *handle = nullptr;
    const auto client = getSequencer().openClient ((mode & SND_SEQ_NONBLOCK) == 0);

    if (client < 0)
        return client;

    *handle = new _snd_seq { client };
    return 0;
}

STANDIN_API int snd_seq_close (snd_seq_t* handle)
{
    const auto result = getSequencer().closeClient (handle->client);
    delete handle;
    return result;
}

STANDIN_API int snd_seq_nonblock (snd_seq_t* handle, int nonblock)
{
    return getSequencer().setBlocking (handle->client, nonblock == 0);
}

STANDIN_API int snd_seq_set_client_name (snd_seq_t* handle, const char* name)
{
    return getSequencer().setClientName (handle->client, name != nullptr ? name : "");
}

STANDIN_API int snd_seq_client_id (snd_seq_t* handle)
{
    return handle->client;
}

STANDIN_API int snd_seq_create_simple_port (snd_seq_t* handle, const char* name, unsigned int caps, unsigned int type)
{
    return getSequencer().createPort (handle->client, name != nullptr ? name : "", caps, type);
}

STANDIN_API int snd_seq_delete_simple_port (snd_seq_t* handle, int port)
{
    return getSequencer().deletePort (handle->client, port);
}

STANDIN_API int snd_seq_connect_from (snd_seq_t* handle, int myPort, int sourceClient, int sourcePort)
{
    return getSequencer().subscribe (handle->client, { sourceClient, sourcePort }, { handle->client, myPort });
}

STANDIN_API int snd_seq_connect_to (snd_seq_t* handle, int myPort, int destinationClient, int destinationPort)
{
    return getSequencer().subscribe (handle->client, { handle->client, myPort },
                                     { destinationClient, destinationPort });
}

STANDIN_API int snd_seq_subscribe_port (snd_seq_t* handle, snd_seq_port_subscribe_t* subscription)
{
    // The subscription's record is the library's own, read through its accessors.
    const auto* sender = snd_seq_port_subscribe_get_sender (subscription);
    const auto* destination = snd_seq_port_subscribe_get_dest (subscription);
    return getSequencer().subscribe (handle->client, { sender->client, sender->port },
                                     { destination->client, destination->port });
}

STANDIN_API int snd_seq_disconnect_from (snd_seq_t* handle, int myPort, int sourceClient, int sourcePort)
{
    return getSequencer().unsubscribe (handle->client, { sourceClient, sourcePort }, { handle->client, myPort });
}

STANDIN_API int snd_seq_disconnect_to (snd_seq_t* handle, int myPort, int destinationClient, int destinationPort)
{
    return getSequencer().unsubscribe (handle->client, { handle->client, myPort },
                                       { destinationClient, destinationPort });
}

STANDIN_API int snd_seq_event_output_direct (snd_seq_t* handle, snd_seq_event_t* event)
{
    return getSequencer().output (handle->client, *event);
}

STANDIN_API int snd_seq_event_input (snd_seq_t* handle, snd_seq_event_t** event)
{
    // As the library does: no event unless one was taken.
    *event = nullptr;
    return getSequencer().input (handle->client, event);
}

STANDIN_API int snd_seq_free_event (snd_seq_event_t*)
{
    // An event taken out stays the sequencer's, as in the library's read buffer.
    return 0;
}

STANDIN_API int snd_seq_event_input_pending (snd_seq_t* handle, int)
{
    return getSequencer().countPending (handle->client);
}

STANDIN_API int snd_seq_poll_descriptors_count (snd_seq_t*, short events)
{
    return (events & POLLIN) != 0 ? 1 : 0;
}

STANDIN_API int snd_seq_poll_descriptors (snd_seq_t* handle, struct pollfd* descriptors, unsigned int space,
                                          short events)
{
    if (space < 1 || (events & POLLIN) == 0)
        return 0;

    descriptors[0] = { getSequencer().getPollDescriptor (handle->client), POLLIN, 0 };
    return 1;
}
