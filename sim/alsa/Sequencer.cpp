#include "sim/alsa/Sequencer.h"

#include <cerrno>

namespace
{
constexpr int systemClient = 0, throughClient = 14, firstCardClient = 20, clientsPerCard = 4;
constexpr int firstApplicationClient = 128, maxClients = 192;

/** Loops through "Midi Through" ports end here, as the kernel limits its hops. */
constexpr int maxHops = 4;

constexpr unsigned int readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

} // namespace

Sequencer::Sequencer (const std::vector<PortSpec>& specsToUse, const std::string& tracePath)
    : specs (specsToUse)
    , trace (tracePath)
{
    snd_midi_event_new (256, &decoder);
    snd_midi_event_no_status (decoder, 1);

    auto& system = clients[systemClient];
    system.name = "System";
    system.ports[0] = { "Timer", SND_SEQ_PORT_CAP_WRITE | readable };
    system.ports[1] = { "Announce", readable };

    const std::lock_guard<std::mutex> guard (lock);
    auto nextCard = firstCardClient;

    for (size_t i = 0; i < specs.size(); ++i)
    {
        const auto driver = (int) i;
        const auto number = specs[i].kind == PortSpec::Kind::through ? throughClient : nextCard;
        nextCard += specs[i].kind == PortSpec::Kind::through ? 0 : clientsPerCard;
        driverClients.push_back (number);

        drivers.push_back (new PortDriver (
            specs[i],
            [this, driver] (const snd_seq_event_t& event)
            {
                const std::lock_guard<std::mutex> g (lock);

                if (drivers[(size_t) driver]->isPresent())
                    deliverFrom ({ driverClients[(size_t) driver], 0 }, event, 0);
            },
            [this, driver]
            {
                const std::lock_guard<std::mutex> g (lock);
                unplug (driver);
            }));

        if (drivers.back()->isPresent())
            addHardwareClient (number, driver);
    }
}

void Sequencer::addHardwareClient (int number, int driver)
{
    const auto& spec = specs[(size_t) driver];
    auto& client = clients[number];
    client.name = spec.kind == PortSpec::Kind::through ? "Midi Through" : spec.name;
    client.driver = driver;
    client.ports[0] = { spec.name, (spec.canBeRead() ? readable : 0u) | (spec.canBeWritten() ? writable : 0u) };
}

void Sequencer::unplug (int driver)
{
    // As when the kernel removes a USB device: its client, port and subscriptions go.
    removeClient (driverClients[(size_t) driver]);
    drivers[(size_t) driver]->forget();
    trace.write ("UNPLUGGED", specs[(size_t) driver].name);
}

int Sequencer::openClient()
{
    const std::lock_guard<std::mutex> guard (lock);
    auto number = firstApplicationClient;

    while (clients.count (number) != 0)
        ++number;

    if (number >= maxClients)
        return -ENOMEM;

    clients[number].queue = std::make_unique<ClientQueue>();
    return number;
}

int Sequencer::closeClient (int client)
{
    return withApplication (client,
                            [&] (Client&)
                            {
                                removeClient (client);
                                return 0;
                            });
}

void Sequencer::removeClient (int number)
{
    const auto found = clients.find (number);

    if (found == clients.end())
        return;

    for (const auto& port : found->second.ports)
        removeSubscriptionsOf ({ number, port.first });

    clients.erase (found);
}

void Sequencer::removeSubscriptionsOf (Address port)
{
    for (auto i = subscriptions.begin(); i != subscriptions.end();)
        i = i->first == port || i->second == port ? subscriptions.erase (i) : i + 1;
}

int Sequencer::setClientName (int client, const std::string& name)
{
    return withApplication (client,
                            [&] (Client& application)
                            {
                                application.name = name;
                                return 0;
                            });
}

int Sequencer::createPort (int client, const std::string& name, unsigned int capabilities)
{
    return withApplication (client,
                            [&] (Client& application)
                            {
                                // A program names its port after the device it opens; this is how
                                // a test makes the creation of the port for one device fail.
                                for (const auto& spec : specs)
                                    if (spec.refusesCreation && spec.name == name)
                                        return -ENOMEM;

                                auto number = 0;

                                while (application.ports.count (number) != 0)
                                    ++number;

                                application.ports[number] = { name, capabilities };
                                return number;
                            });
}

int Sequencer::deletePort (int client, int port)
{
    return withApplication (client,
                            [&] (Client& application)
                            {
                                if (application.ports.erase (port) == 0)
                                    return -EINVAL;

                                removeSubscriptionsOf ({ client, port });
                                return 0;
                            });
}

int Sequencer::subscribe (int requester, Address sender, Address destination)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto senderClient = clients.find (sender.client);
    const auto destinationClient = clients.find (destination.client);

    if (senderClient == clients.end() || destinationClient == clients.end() ||
        senderClient->second.ports.count (sender.port) == 0 ||
        destinationClient->second.ports.count (destination.port) == 0)
        return -EINVAL;

    // Another client's port must allow subscriptions in that direction.
    const auto& senderPort = senderClient->second.ports[sender.port];
    const auto& destinationPort = destinationClient->second.ports[destination.port];

    if ((sender.client != requester && (senderPort.capabilities & SND_SEQ_PORT_CAP_SUBS_READ) == 0) ||
        (destination.client != requester && (destinationPort.capabilities & SND_SEQ_PORT_CAP_SUBS_WRITE) == 0))
        return -EPERM;

    // A device's driver opens the device when subscribed to; that fails while another program holds it.
    for (const auto* client : { &senderClient->second, &destinationClient->second })
        if (client->driver >= 0 && specs[(size_t) client->driver].refusesSubscription)
            return -EBUSY;

    for (const auto& existing : subscriptions)
        if (existing.first == sender && existing.second == destination)
            return -EBUSY;

    subscriptions.emplace_back (sender, destination);
    trace.write ("CONNECT", sender.client == requester ? "OUT " + destinationPort.name : "IN " + senderPort.name);
    return 0;
}

int Sequencer::output (int client, const snd_seq_event_t& event)
{
    return withApplication (client,
                            [&] (Client& application)
                            {
                                if (application.ports.count (event.source.port) == 0)
                                    return -EINVAL;

                                const Address source { client, event.source.port };

                                if (event.dest.client == SND_SEQ_ADDRESS_SUBSCRIBERS)
                                    deliverFrom (source, event, 0);
                                else
                                    deliverTo (source, { event.dest.client, event.dest.port }, event, 0);

                                return (int) (sizeof (event) +
                                              (ClientQueue::hasVariableLength (event) ? event.data.ext.len : 0));
                            });
}

void Sequencer::deliverFrom (Address source, const snd_seq_event_t& event, int hops)
{
    for (const auto& [sender, destination] : subscriptions)
        if (sender == source)
            deliverTo (source, destination, event, hops);
}

void Sequencer::deliverTo (Address source, Address destination, const snd_seq_event_t& event, int hops)
{
    const auto found = clients.find (destination.client);

    if (found == clients.end() || found->second.ports.count (destination.port) == 0)
        return;

    auto& client = found->second;

    if (client.queue != nullptr)
    {
        trace.write ("IN", nameOf (source), toBytes (event));
        auto routed = event;
        routed.source = { (unsigned char) source.client, (unsigned char) source.port };
        routed.dest = { (unsigned char) destination.client, (unsigned char) destination.port };
        client.queue->push (routed);
        return;
    }

    if (client.driver < 0)
        return;

    trace.write ("OUT", nameOf (destination), toBytes (event));

    if (specs[(size_t) client.driver].kind == PortSpec::Kind::through)
    {
        if (hops < maxHops)
            deliverFrom (destination, event, hops + 1);
    }
    else
    {
        drivers[(size_t) client.driver]->write (toBytes (event));
    }
}

int Sequencer::input (int client, snd_seq_event_t** event)
{
    return withApplication (client, [&] (Client& application) { return application.queue->pop (event); });
}

int Sequencer::countPending (int client)
{
    return withApplication (client, [] (Client& application) { return application.queue->size(); });
}

int Sequencer::getPollDescriptor (int client)
{
    return withApplication (client, [] (Client& application) { return application.queue->getPollDescriptor(); });
}

int Sequencer::countClients()
{
    const std::lock_guard<std::mutex> guard (lock);

    for (size_t i = 0; i < drivers.size(); ++i)
        if (! drivers[i]->isPresent() && drivers[i]->tryToPlugIn())
            addHardwareClient (driverClients[i], (int) i);

    return (int) clients.size();
}

int Sequencer::findNextClient (int after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto found = clients.upper_bound (std::max (after, -1));

    if (found == clients.end())
        return -ENOENT;

    entry = { found->first, found->second.name, (int) found->second.ports.size(), 0 };
    return 0;
}

int Sequencer::findNextPort (int client, unsigned char after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto owner = clients.find (client);

    if (owner == clients.end())
        return -ENXIO;

    // The step is taken in the byte that holds the port number: 255 wraps to 0.
    const auto found = owner->second.ports.lower_bound ((unsigned char) (after + 1));

    if (found == owner->second.ports.end())
        return -ENOENT;

    entry = { found->first, found->second.name, 0, found->second.capabilities };
    return 0;
}

std::vector<unsigned char> Sequencer::toBytes (const snd_seq_event_t& event)
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

std::string Sequencer::nameOf (Address port) const
{
    const auto client = clients.find (port.client);

    if (client == clients.end() || client->second.ports.count (port.port) == 0)
        return "?";

    return client->second.ports.at (port.port).name;
}
