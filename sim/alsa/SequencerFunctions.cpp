// The ALSA library's sequencer calls that JUCE's Linux MIDI code makes, answered
// by the stand-in Sequencer instead of the kernel. Preloaded into a program,
// these take the place of the library's own; the library's MIDI event encoder
// and decoder stay the real ones. Only these functions are exported.

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

struct _snd_seq_system_info
{
    int clients;
};

struct _snd_seq_client_info
{
    int client;
    int numPorts;
    char name[64];
};

struct _snd_seq_port_info
{
    int client;
    unsigned char port; // the kernel's own type: stepping past 255 wraps to 0
    unsigned int capability;
    char name[64];
};

namespace
{
/** The machine that VT5150_ALSA_SEQ describes, tracing to VT5150_ALSA_SEQ_TRACE if set; made at first use. */
Sequencer& sequencer()
{
    static Sequencer* const instance = []
    {
        const auto* ports = std::getenv ("VT5150_ALSA_SEQ");
        const auto* tracePath = std::getenv ("VT5150_ALSA_SEQ_TRACE");
        std::vector<PortDescription> descriptions;
        std::string error;

        if (! PortDescription::parseList (ports != nullptr ? ports : "", descriptions, error))
        {
            std::cerr << "ALSA sequencer stand-in: VT5150_ALSA_SEQ: " << error << std::endl;
            std::abort();
        }

        return new Sequencer (descriptions, tracePath != nullptr ? tracePath : "");
    }();

    return *instance;
}

void copyName (char (&target)[64], const std::string& name)
{
    std::strncpy (target, name.c_str(), sizeof (target) - 1);
    target[sizeof (target) - 1] = 0;
}
} // namespace

STANDIN_API int snd_seq_open (snd_seq_t** handle, const char*, int, int)
{
    *handle = nullptr;
    const auto client = sequencer().openClient();

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

STANDIN_API int snd_seq_nonblock (snd_seq_t*, int)
{
    // Input never blocks here; JUCE asks for exactly that.
    return 0;
}

STANDIN_API int snd_seq_set_client_name (snd_seq_t* handle, const char* name)
{
    return sequencer().setClientName (handle->client, name != nullptr ? name : "");
}

STANDIN_API int snd_seq_client_id (snd_seq_t* handle)
{
    return handle->client;
}

STANDIN_API int snd_seq_create_simple_port (snd_seq_t* handle, const char* name, unsigned int caps, unsigned int)
{
    return sequencer().createPort (handle->client, name != nullptr ? name : "", caps);
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

STANDIN_API int snd_seq_event_output_direct (snd_seq_t* handle, snd_seq_event_t* event)
{
    return sequencer().output (handle->client, *event);
}

STANDIN_API int snd_seq_event_input (snd_seq_t* handle, snd_seq_event_t** event)
{
    return sequencer().input (handle->client, event);
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
        copyName (info->name, entry.name);
    }

    return result;
}

STANDIN_API int snd_seq_client_info_get_client (const snd_seq_client_info_t* info)
{
    return info->client;
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
        copyName (info->name, entry.name);
    }

    return result;
}

STANDIN_API int snd_seq_port_info_get_port (const snd_seq_port_info_t* info)
{
    return info->port;
}

STANDIN_API unsigned int snd_seq_port_info_get_capability (const snd_seq_port_info_t* info)
{
    return info->capability;
}

STANDIN_API const char* snd_seq_port_info_get_name (const snd_seq_port_info_t* info)
{
    return info->name;
}
