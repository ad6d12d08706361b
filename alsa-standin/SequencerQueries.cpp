// The ALSA library's calls that walk the sequencer's clients and ports, and
// read what the walk found, answered by the stand-in Sequencer (see
// SequencerFunctions.cpp for the other calls and for what Wine does with them).
// Chromium asks for one client and one port by number as well, and lists a
// kernel client numbered 16 or above only for a sound card that udev shows it.

#include "alsa-standin/SequencerInstance.h"

#include <cerrno>
#include <cstring>

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
void copyName (char (&target)[64], const std::string& name)
{
    std::strncpy (target, name.c_str(), sizeof (target) - 1);
    target[sizeof (target) - 1] = 0;
}

/** Fills in the client that a walk found. */
void describeClient (const Sequencer::Entry& entry, _snd_seq_client_info& info)
{
    info.client = entry.number;
    info.numPorts = entry.numPorts;
    info.type = entry.isApplication ? SND_SEQ_USER_CLIENT : SND_SEQ_KERNEL_CLIENT;
    copyName (info.name, entry.name);
}

/** Fills in the port that a walk over `info.client`'s ports found. */
void describePort (const Sequencer::Entry& entry, _snd_seq_port_info& info)
{
    info.port = (unsigned char) entry.number;
    info.capability = entry.capabilities;
    info.type = entry.type;
    info.address = { (unsigned char) info.client, info.port };
    copyName (info.name, entry.name);
}
} // namespace

STANDIN_API size_t snd_seq_system_info_sizeof()
{
    return sizeof (_snd_seq_system_info);
}

STANDIN_API int snd_seq_system_info (snd_seq_t*, snd_seq_system_info_t* info)
{
    info->clients = getSequencer().countClients();
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
    const auto result = getSequencer().findNextClient (info->client, entry);

    if (result == 0)
        describeClient (entry, *info);

    return result;
}

STANDIN_API int snd_seq_get_any_client_info (snd_seq_t*, int client, snd_seq_client_info_t* info)
{
    Sequencer::Entry entry;
    const auto result = getSequencer().findNextClient (client - 1, entry);

    if (result != 0 || entry.number != client)
        return -ENOENT;

    describeClient (entry, *info);
    return 0;
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
    const auto result = getSequencer().findNextPort (info->client, info->port, entry);

    if (result == 0)
        describePort (entry, *info);

    return result;
}

STANDIN_API int snd_seq_get_any_port_info (snd_seq_t*, int client, int port, snd_seq_port_info_t* info)
{
    Sequencer::Entry entry;
    const auto result = getSequencer().findNextPort (client, (unsigned char) (port - 1), entry);

    if (result != 0 || entry.number != port)
        return result == -ENXIO ? -ENXIO : -ENOENT;

    info->client = client;
    describePort (entry, *info);
    return 0;
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
