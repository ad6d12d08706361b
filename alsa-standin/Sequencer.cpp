#include "alsa-standin/Sequencer.h"

#include <cerrno>

Sequencer::Sequencer (const std::vector<PortDescription>& descriptionsToUse, const std::string& tracePath)
    : descriptions (descriptionsToUse)
    , driverClients (KernelClients::assign (descriptions))
    , trace (tracePath)
{
    KernelClients::describeSystem (table.add (KernelClients::system));

    const std::lock_guard<std::mutex> guard (lock);

    for (size_t i = 0; i < descriptions.size(); ++i)
    {
        const auto driver = (int) i;
        drivers.push_back (new PortDriver (
            descriptions[i],
            [this, driver] (const snd_seq_event_t& event)
            {
                const std::lock_guard<std::mutex> g (lock);

                if (drivers[(size_t) driver]->isConnected())
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
    auto& client = table.add (driverClients[(size_t) driver]);
    KernelClients::describe (descriptions[(size_t) driver], client);
    client.driver = driver;
}

void Sequencer::plugInArrivedDevices()
{
    for (size_t i = 0; i < drivers.size(); ++i)
        if (! drivers[i]->isPresent() && drivers[i]->tryToPlugIn())
            addHardwareClient ((int) i);
}

void Sequencer::unplug (int driver)
{
    // As when the kernel removes a USB device: its client, port and subscriptions go,
    // announced; a device unplugged from an interface's cable leaves the interface's port.
    if (! descriptions[(size_t) driver].behindCable)
        table.remove (driverClients[(size_t) driver]);

    drivers[(size_t) driver]->forget();
    eventQueued.notify_all();
    trace.write ("UNPLUGGED", descriptions[(size_t) driver].name);
}

int Sequencer::openClient (bool blocking)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto number = table.findFreeNumber (KernelClients::firstApplication);

    if (number >= KernelClients::getApplicationsEnd (driverClients))
        return -ENOMEM;

    auto queue = std::make_unique<ClientQueue>();

    if (queue->getPollDescriptor() < 0)
        return -errno;

    auto& client = table.add (number);
    client.queue = std::move (queue);
    client.blocking = blocking;
    return number;
}

int Sequencer::closeClient (int client)
{
    return withApplication (client,
                            [&] (Client&)
                            {
                                table.remove (client);
                                // A read that waits on this client ends.
                                eventQueued.notify_all();
                                return 0;
                            });
}

int Sequencer::setBlocking (int client, bool blocking)
{
    return withApplication (client,
                            [&] (Client& application)
                            {
                                application.blocking = blocking;
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

int Sequencer::createPort (int client, const std::string& name, unsigned int capabilities, unsigned int type)
{
    return withApplication (client,
                            [&] (Client&)
                            {
                                // A program names its port after the device it opens; this is how
                                // a test makes the creation of the port for one device fail.
                                for (const auto& description : descriptions)
                                    if (description.refusesCreation && description.name == name)
                                        return -ENOMEM;

                                return table.addPort (client, { name, capabilities, type });
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

int Sequencer::unsubscribe (int requester, Address sender, Address destination)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (table.findPort (sender) == nullptr || table.findPort (destination) == nullptr)
        return -ENXIO;

    if (! table.unsubscribe (sender, destination))
        return -ENOENT;

    trace.write ("DISCONNECT",
                 sender.client == requester ? "OUT " + table.nameOf (destination) : "IN " + table.nameOf (sender));
    return 0;
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
        trace.write ("IN", table.nameOf (source), decoder.toBytes (event));
        auto routed = event;
        routed.source = { (unsigned char) source.client, (unsigned char) source.port };
        routed.dest = { (unsigned char) destination.client, (unsigned char) destination.port };
        client->queue->push (routed);
        eventQueued.notify_all();
        return;
    }

    if (client->driver < 0)
        return;

    trace.write ("OUT", table.nameOf (destination), decoder.toBytes (event));

    if (descriptions[(size_t) client->driver].kind != PortDescription::Kind::through)
        drivers[(size_t) client->driver]->write (decoder.toBytes (event));
    else if (hops < maxHops)
        deliverFrom (destination, event, hops + 1);
}

int Sequencer::input (int client, snd_seq_event_t** event)
{
    std::unique_lock<std::mutex> guard (lock);

    for (;;)
    {
        auto* application = table.find (client);

        if (application == nullptr || application->queue == nullptr)
            return -EBADFD;

        const auto result = application->queue->pop (event);

        if (result != -EAGAIN || ! application->blocking)
            return result;

        eventQueued.wait (guard);
    }
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
    plugInArrivedDevices();
    return table.size();
}

int Sequencer::findNextClient (int after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);

    // Wine walks the clients without asking for the system's information first.
    if (after < 0)
        plugInArrivedDevices();

    return table.findNextClient (after, entry);
}

int Sequencer::findNextPort (int client, unsigned char after, Entry& entry)
{
    const std::lock_guard<std::mutex> guard (lock);
    return table.findNextPort (client, after, entry);
}
