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

#include "sim/alsa/Sequencer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <poll.h>

#define STANDIN_API extern "C" __attribute__ ((visibility ("default")))

struct _snd_seq
{
    int client;
};

struct _snd_seq_client_info
{
    int client;
    int numPorts;
    int type;
    char name[64];
};

struct _snd_seq_system_info
{
    int clients;
};

struct _snd_seq_port_info
{
    int client;
    unsigned char port; // the kernel's own type: stepping past 255 wraps to 0
    unsigned int capability;
    unsigned int type;
    snd_seq_addr_t address;
    char name[64];
};

namespace
{
[[noreturn]] void refuse (const std::string& variable, const std::string& error)
{
    std::cerr << "ALSA sequencer stand-in: " << variable << ": " << error << std::endl;
    std::abort();
}

std::string getTracePath()
{
    const auto* path = std::getenv ("VT5150_ALSA_SEQ_TRACE");
    return path != nullptr ? path : "";
}

/** The machine that VT5150_ALSA_SEQ describes; ends the process with a message when it is wrong. */
std::vector<PortDescription> getMachine()
{
    const auto* ports = std::getenv ("VT5150_ALSA_SEQ");
    std::vector<PortDescription> descriptions;
    std::string error;

    if (! PortDescription::parseList (ports != nullptr ? ports : "", descriptions, error))
        refuse ("VT5150_ALSA_SEQ", error);

    if (error = Sequencer::checkMachine (descriptions); ! error.empty())
        refuse ("VT5150_ALSA_SEQ", error);

    return descriptions;
}

/** Checks the environment as the library is loaded, so that a mistake ends the program before it starts. */
__attribute__ ((constructor)) void checkEnvironment()
{
    getMachine();

    // Opened for appending, so that every process that loads the stand-in may
    // check it; only a process that uses the sequencer writes the trace.
    if (const auto path = getTracePath(); ! path.empty())
    {
        auto* file = std::fopen (path.c_str(), "a");

        if (file == nullptr)
            refuse ("VT5150_ALSA_SEQ_TRACE", "cannot write " + path + ": " + std::strerror (errno));

        std::fclose (file);
    }
}

/** The machine that VT5150_ALSA_SEQ describes, tracing to VT5150_ALSA_SEQ_TRACE if set; made at first use. */
Sequencer& sequencer()
{
    static Sequencer* const instance = new Sequencer (getMachine(), getTracePath());
    return *instance;
}

void copyName (char (&target)[64], const std::string& name)
{
    std::strncpy (target, name.c_str(), sizeof (target) - 1);
    target[sizeof (target) - 1] = 0;
}
} // namespace

STANDIN_API int snd_seq_open (snd_seq_t** handle, const char*, int, int mode)
{
    *handle = nullptr;
    const auto client = sequencer().openClient ((mode & SND_SEQ_NONBLOCK) == 0);

    if (client < 0)
        return client;

    *handle = new _snd_seq { client };
    return 0;
}

STANDIN_API int snd_seq_close (snd_seq_t* handle)
{
    const auto result = sequencer().closeClient (handle->client);
    delete handle;
    return result;
}

STANDIN_API int snd_seq_nonblock (snd_seq_t* handle, int nonblock)
{
    return sequencer().setBlocking (handle->client, nonblock == 0);
}

STANDIN_API int snd_seq_set_client_name (snd_seq_t* handle, const char* name)
{
    return sequencer().setClientName (handle->client, name != nullptr ? name : "");
}

STANDIN_API int snd_seq_client_id (snd_seq_t* handle)
{
    return handle->client;
}

STANDIN_API int snd_seq_create_simple_port (snd_seq_t* handle, const char* name, unsigned int caps, unsigned int type)
{
    return sequencer().createPort (handle->client, name != nullptr ? name : "", caps, type);
}

STANDIN_API int snd_seq_delete_simple_port (snd_seq_t* handle, int port)
{
    return sequencer().deletePort (handle->client, port);
}

STANDIN_API int snd_seq_connect_from (snd_seq_t* handle, int myPort, int sourceClient, int sourcePort)
{
    return sequencer().subscribe (handle->client, { sourceClient, sourcePort }, { handle->client, myPort });
}

STANDIN_API int snd_seq_connect_to (snd_seq_t* handle, int myPort, int destinationClient, int destinationPort)
{
    return sequencer().subscribe (handle->client, { handle->client, myPort }, { destinationClient, destinationPort });
}

STANDIN_API int snd_seq_disconnect_from (snd_seq_t* handle, int myPort, int sourceClient, int sourcePort)
{
    return sequencer().unsubscribe (handle->client, { sourceClient, sourcePort }, { handle->client, myPort });
}

STANDIN_API int snd_seq_disconnect_to (snd_seq_t* handle, int myPort, int destinationClient, int destinationPort)
{
    return sequencer().unsubscribe (handle->client, { handle->client, myPort }, { destinationClient, destinationPort });
}

STANDIN_API int snd_seq_event_output_direct (snd_seq_t* handle, snd_seq_event_t* event)
{
    return sequencer().output (handle->client, *event);
}

STANDIN_API int snd_seq_event_input (snd_seq_t* handle, snd_seq_event_t** event)
{
    // As the library does: no event unless one was taken.
    *event = nullptr;
    return sequencer().input (handle->client, event);
}

STANDIN_API int snd_seq_free_event (snd_seq_event_t*)
{
    // An event taken out stays the sequencer's, as in the library's read buffer.
    return 0;
}

STANDIN_API int snd_seq_event_input_pending (snd_seq_t* handle, int)
{
    return sequencer().countPending (handle->client);
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

    descriptors[0] = { sequencer().getPollDescriptor (handle->client), POLLIN, 0 };
    return 1;
}

STANDIN_API size_t snd_seq_system_info_sizeof()
{
    return sizeof (_snd_seq_system_info);
}

STANDIN_API int snd_seq_system_info (snd_seq_t*, snd_seq_system_info_t* info)
{
    info->clients = sequencer().countClients();
    return 0;
}

STANDIN_API int snd_seq_system_info_get_cur_clients (const snd_seq_system_info_t* info)
{
    return info->clients;
}

STANDIN_API size_t snd_seq_client_info_sizeof()
{
    return sizeof (_snd_seq_client_info);
}

STANDIN_API int snd_seq_query_next_client (snd_seq_t*, snd_seq_client_info_t* info)
{
    Sequencer::Entry entry;
    const auto result = sequencer().findNextClient (info->client, entry);

    if (result == 0)
    {
        info->client = entry.number;
        info->numPorts = entry.numPorts;
        info->type = entry.isApplication ? SND_SEQ_USER_CLIENT : SND_SEQ_KERNEL_CLIENT;
        copyName (info->name, entry.name);
    }

    return result;
}

STANDIN_API void snd_seq_client_info_set_client (snd_seq_client_info_t* info, int client)
{
    info->client = client;
}

STANDIN_API int snd_seq_client_info_get_client (const snd_seq_client_info_t* info)
{
    return info->client;
}

STANDIN_API const char* snd_seq_client_info_get_name (snd_seq_client_info_t* info)
{
    return info->name;
}

STANDIN_API snd_seq_client_type_t snd_seq_client_info_get_type (const snd_seq_client_info_t* info)
{
    return (snd_seq_client_type_t) info->type;
}

STANDIN_API int snd_seq_client_info_get_num_ports (const snd_seq_client_info_t* info)
{
    return info->numPorts;
}

STANDIN_API size_t snd_seq_port_info_sizeof()
{
    return sizeof (_snd_seq_port_info);
}

STANDIN_API void snd_seq_port_info_set_client (snd_seq_port_info_t* info, int client)
{
    info->client = client;
}

STANDIN_API void snd_seq_port_info_set_port (snd_seq_port_info_t* info, int port)
{
    info->port = (unsigned char) port;
}

STANDIN_API int snd_seq_query_next_port (snd_seq_t*, snd_seq_port_info_t* info)
{
    Sequencer::Entry entry;
    const auto result = sequencer().findNextPort (info->client, info->port, entry);

    if (result == 0)
    {
        info->port = (unsigned char) entry.number;
        info->capability = entry.capabilities;
        info->type = entry.type;
        info->address = { (unsigned char) info->client, info->port };
        copyName (info->name, entry.name);
    }

    return result;
}

STANDIN_API int snd_seq_port_info_get_port (const snd_seq_port_info_t* info)
{
    return info->port;
}

STANDIN_API unsigned int snd_seq_port_info_get_type (const snd_seq_port_info_t* info)
{
    return info->type;
}

STANDIN_API const snd_seq_addr_t* snd_seq_port_info_get_addr (const snd_seq_port_info_t* info)
{
    return &info->address;
}

STANDIN_API unsigned int snd_seq_port_info_get_capability (const snd_seq_port_info_t* info)
{
    return info->capability;
}

STANDIN_API const char* snd_seq_port_info_get_name (const snd_seq_port_info_t* info)
{
    return info->name;
}
