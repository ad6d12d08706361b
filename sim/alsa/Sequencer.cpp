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

Sequencer::Sequencer (const std::vector<PortDescription>& descriptionsToUse, const std::string& tracePath)
    : descriptions (descriptionsToUse)
    , trace (tracePath)
{
    snd_midi_event_new (256, &decoder);
    snd_midi_event_no_status (decoder, 1);

    auto& system = table.add (systemClient);
    system.name = "System";
    system.ports[0] = { "Timer", SND_SEQ_PORT_CAP_WRITE | readable };
    system.ports[1] = { "Announce", readable };

    const std::lock_guard<std::mutex> guard (lock);
    auto nextCard = firstCardClient;

    for (size_t i = 0; i < descriptions.size(); ++i)
    {
        const auto driver = (int) i;
        const auto through = descriptions[i].kind == PortDescription::Kind::through;
        driverClients.push_back (through ? throughClient : nextCard);
        nextCard += through ? 0 : clientsPerCard;

        drivers.push_back (new PortDriver (
            descriptions[i],
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
            addHardwareClient (driver);
    }
}

void Sequencer::addHardwareClient (int driver)
{
    const auto& description = descriptions[(size_t) driver];
    auto& client = table.add (driverClients[(size_t) driver]);
    client.name = description.kind == PortDescription::Kind::through ? "Midi Through" : description.name;
    client.driver = driver;
    client.ports[0] = { description.name,
                        (description.canBeRead() ? readable : 0u) | (description.canBeWritten() ? writable : 0u) };
}

void Sequencer::unplug (int driver)
{
    // As when the kernel removes a USB device: its client, port and subscriptions go.
    table.remove (driverClients[(size_t) driver]);
    drivers[(size_t) driver]->forget();
    trace.write ("UNPLUGGED", descriptions[(size_t) driver].name);
}

int Sequencer::openClient()
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto number = table.findFreeNumber (firstApplicationClient);

    if (number >= maxClients)
        return -ENOMEM;

    table.add (number).queue = std::make_unique<ClientQueue>();
    return number;
}

int Sequencer::closeClient (int client)
{
    return withApplication (client,
                            [&] (Client&)
                            {
                                table.remove (client);
                                return 0;
                            });
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
                                for (const auto& description : descriptions)
                                    if (description.refusesCreation && description.name == name)
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
    return withApplication (client, [&] (Client&) { return table.removePort ({ client, port }) ? 0 : -EINVAL; });
}

int Sequencer::subscribe (int requester, Address sender, Address destination)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto result = checkSubscription (requester, sender, destination);

    if (result == 0)
    {
        table.subscribe (sender, destination);
        trace.write ("CONNECT",
                     sender.client == requester ? "OUT " + table.nameOf (destination) : "IN " + table.nameOf (sender));
    }

    return result;
}

int Sequencer::checkSubscription (int requester, Address sender, Address destination)
{
    const auto* senderPort = table.findPort (sender);
    const auto* destinationPort = table.findPort (destination);

    if (senderPort == nullptr || destinationPort == nullptr)
        return -EINVAL;

    // Another client's port must allow subscriptions in that direction.
    if ((sender.client != requester && (senderPort->capabilities & SND_SEQ_PORT_CAP_SUBS_READ) == 0) ||
        (destination.client != requester && (destinationPort->capabilities & SND_SEQ_PORT_CAP_SUBS_WRITE) == 0))
        return -EPERM;

    // A device's driver opens the device when subscribed to; while another
    // program holds its raw MIDI stream, the kernel's raw MIDI layer finds no
    // free stream and the subscription fails with its EAGAIN.
    for (const auto number : { sender.client, destination.client })
        if (const auto driver = table.find (number)->driver;
            driver >= 0 && descriptions[(size_t) driver].refusesSubscription)
            return -EAGAIN;

    return table.isSubscribed (sender, destination) ? -EBUSY : 0;
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
    for (const auto& destination : table.getSubscribersOf (source))
        deliverTo (source, destination, event, hops);
}

void Sequencer::deliverTo (Address source, Address destination, const snd_seq_event_t& event, int hops)
{
    auto* client = table.find (destination.client);

    if (client == nullptr || table.findPort (destination) == nullptr)
        return;

    if (client->queue != nullptr)
    {
        trace.write ("IN", table.nameOf (source), toBytes (event));
        auto routed = event;
        routed.source = { (unsigned char) source.client, (unsigned char) source.port };
        routed.dest = { (unsigned char) destination.client, (unsigned char) destination.port };
        client->queue->push (routed);
        return;
    }

    if (client->driver < 0)
        return;

    trace.write ("OUT", table.nameOf (destination), toBytes (event));

    if (descriptions[(size_t) client->driver].kind != PortDescription::Kind::through)
        drivers[(size_t) client->driver]->write (toBytes (event));
    else if (hops < maxHops)
        deliverFrom (destination, event, hops + 1);
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
            addHardwareClient ((int) i);

    return table.size();
}

int Sequencer::findNextClient (int after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);
    return table.findNextClient (after, entry);
}

int Sequencer::findNextPort (int client, unsigned char after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);
    return table.findNextPort (client, after, entry);
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
