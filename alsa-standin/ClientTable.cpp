#include "alsa-standin/ClientTable.h"

#include <cerrno>

ClientTable::Client& ClientTable::add (int number)
{
    return clients[number];
}

int ClientTable::findFreeNumber (int first) const
{
    while (clients.count (first) != 0)
        ++first;

    return first;
}

ClientTable::Client* ClientTable::find (int number)
{
    const auto found = clients.find (number);
    return found != clients.end() ? &found->second : nullptr;
}

const ClientTable::Port* ClientTable::findPort (Address address) const
{
    const auto client = clients.find (address.client);

    if (client == clients.end())
        return nullptr;

    const auto port = client->second.ports.find (address.port);
    return port != client->second.ports.end() ? &port->second : nullptr;
}

std::string ClientTable::nameOf (Address address) const
{
    const auto* port = findPort (address);
    return port != nullptr ? port->name : "?";
}

void ClientTable::remove (int number)
{
    const auto found = clients.find (number);

    if (found == clients.end())
        return;

    while (! found->second.ports.empty())
        removePort ({ number, found->second.ports.begin()->first });

    clients.erase (found);
    announceExit (number);
}

void ClientTable::announceExit (int number)
{
    const Address announcer { SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE };
    snd_seq_event_t event {};
    event.type = SND_SEQ_EVENT_CLIENT_EXIT;
    event.source = { (unsigned char) announcer.client, (unsigned char) announcer.port };
    event.data.addr = { (unsigned char) number, 0 };

    for (const auto& destination : getSubscribersOf (announcer))
    {
        if (auto* subscriber = find (destination.client); subscriber != nullptr && subscriber->queue != nullptr)
        {
            event.dest = { (unsigned char) destination.client, (unsigned char) destination.port };
            subscriber->queue->push (event);
        }
    }
}

int ClientTable::addPort (int client, const Port& port)
{
    auto& ports = clients.at (client).ports;
    auto number = 0;

    while (ports.count (number) != 0)
        ++number;

    ports[number] = port;
    return number;
}

bool ClientTable::removePort (Address address)
{
    auto* client = find (address.client);

    if (client == nullptr || client->ports.erase (address.port) == 0)
        return false;

    for (auto i = subscriptions.begin(); i != subscriptions.end();)
        i = i->first == address || i->second == address ? subscriptions.erase (i) : i + 1;

    return true;
}

bool ClientTable::isSubscribed (Address sender, Address destination) const
{
    for (const auto& [from, to] : subscriptions)
        if (from == sender && to == destination)
            return true;

    return false;
}

void ClientTable::subscribe (Address sender, Address destination)
{
    subscriptions.emplace_back (sender, destination);
}

bool ClientTable::unsubscribe (Address sender, Address destination)
{
    for (auto i = subscriptions.begin(); i != subscriptions.end(); ++i)
    {
        if (i->first == sender && i->second == destination)
        {
            subscriptions.erase (i);
            return true;
        }
    }

    return false;
}

std::vector<ClientTable::Address> ClientTable::getSubscribersOf (Address sender) const
{
    std::vector<Address> subscribers;

    for (const auto& [from, to] : subscriptions)
        if (from == sender)
            subscribers.push_back (to);

    return subscribers;
}

int ClientTable::size() const noexcept
{
    return (int) clients.size();
}

int ClientTable::findNextClient (int after, Entry& entry) const
{
    const auto found = clients.upper_bound (std::max (after, -1));

    if (found == clients.end())
        return -ENOENT;

    entry = { found->first,
              found->second.name,
              (int) found->second.ports.size(),
              0,
              0,
              found->second.queue != nullptr || found->second.isUser };
    return 0;
}

int ClientTable::findNextPort (int client, unsigned char after, Entry& entry) const
{
    const auto owner = clients.find (client);

    if (owner == clients.end())
        return -ENXIO;

    // The step is taken in the byte that holds the port number: 255 wraps to 0.
    const auto found = owner->second.ports.lower_bound ((unsigned char) (after + 1));

    if (found == owner->second.ports.end())
        return -ENOENT;

    entry = { found->first, found->second.name, 0, found->second.capabilities, found->second.type, false };
    return 0;
}
