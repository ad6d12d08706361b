#include "sim/alsa/Sequencer.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>

namespace
{
constexpr int systemClient = 0, throughClient = 14, firstCardClient = 20, clientsPerCard = 4;
constexpr int firstApplicationClient = 128, maxClients = 192;

/** The kernel gives each client a pool of this many events; what does not fit is lost. */
constexpr size_t queueLimit = 200;

/** Loops through "Midi Through" ports end here, as the kernel limits its hops. */
constexpr int maxHops = 4;

constexpr unsigned int readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

bool isVariable (const snd_seq_event_t& event)
{
    return (event.flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE;
}

std::string toHex (const std::vector<unsigned char>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;

    for (const auto byte : bytes)
    {
        text += text.empty() ? "" : " ";
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }

    return text;
}
} // namespace

Sequencer& Sequencer::getInstance()
{
    static Sequencer* const instance = []
    {
        const auto* text = std::getenv ("VT5150_ALSA_SEQ");
        std::vector<PortSpec> specs;
        std::string error;

        if (! PortSpec::parseList (text != nullptr ? text : "", specs, error))
        {
            std::cerr << "ALSA sequencer stand-in: VT5150_ALSA_SEQ: " << error << std::endl;
            std::abort();
        }

        return new Sequencer (specs, std::getenv ("VT5150_ALSA_SEQ_TRACE"));
    }();

    return *instance;
}

Sequencer::Sequencer (const std::vector<PortSpec>& specsToUse, const char* tracePath)
    : specs (specsToUse)
{
    snd_midi_event_new (256, &decoder);
    snd_midi_event_no_status (decoder, 1);

    if (tracePath != nullptr && *tracePath != 0)
        traceFile = std::fopen (tracePath, "w");

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
    trace ("UNPLUGGED " + specs[(size_t) driver].name);
}

int Sequencer::openClient()
{
    const std::lock_guard<std::mutex> guard (lock);
    auto number = firstApplicationClient;

    while (clients.count (number) != 0)
        ++number;

    if (number >= maxClients)
        return -ENOMEM;

    auto& client = clients[number];
    client.application = true;
    client.pollDescriptor = eventfd (0, EFD_NONBLOCK | EFD_CLOEXEC);
    return number;
}

int Sequencer::closeClient (int client)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (findApplication (client) == nullptr)
        return -EBADFD;

    removeClient (client);
    return 0;
}

void Sequencer::removeClient (int number)
{
    const auto found = clients.find (number);

    if (found == clients.end())
        return;

    for (const auto& port : found->second.ports)
        removeSubscriptionsOf ({ number, port.first });

    if (found->second.pollDescriptor >= 0)
        ::close (found->second.pollDescriptor);

    clients.erase (found);
}

void Sequencer::removeSubscriptionsOf (Address port)
{
    for (auto i = subscriptions.begin(); i != subscriptions.end();)
        i = i->first == port || i->second == port ? subscriptions.erase (i) : i + 1;
}

int Sequencer::setClientName (int client, const std::string& name)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);

    if (application == nullptr)
        return -EBADFD;

    application->name = name;
    return 0;
}

int Sequencer::createPort (int client, const std::string& name, unsigned int capabilities)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);

    if (application == nullptr)
        return -EBADFD;

    // A program names its port after the device it opens; this is how a test
    // makes the creation of the port for one device fail.
    for (const auto& spec : specs)
        if (spec.refusesCreation && spec.name == name)
            return -ENOMEM;

    auto number = 0;

    while (application->ports.count (number) != 0)
        ++number;

    application->ports[number] = { name, capabilities };
    return number;
}

int Sequencer::deletePort (int client, int port)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);

    if (application == nullptr || application->ports.erase (port) == 0)
        return -EINVAL;

    removeSubscriptionsOf ({ client, port });
    return 0;
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
    trace (sender.client == requester ? "CONNECT OUT " + destinationPort.name : "CONNECT IN " + senderPort.name);
    return 0;
}

int Sequencer::output (int client, const snd_seq_event_t& event)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);

    if (application == nullptr || application->ports.count (event.source.port) == 0)
        return -EINVAL;

    const Address source { client, event.source.port };

    if (event.dest.client == SND_SEQ_ADDRESS_SUBSCRIBERS)
        deliverFrom (source, event, 0);
    else
        deliverTo (source, { event.dest.client, event.dest.port }, event, 0);

    return (int) (sizeof (event) + (isVariable (event) ? event.data.ext.len : 0));
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

    if (client.application)
    {
        trace ("IN " + nameOf (source) + " " + toHex (toBytes (event)));
        enqueue (client, source, destination, event);
        return;
    }

    if (client.driver < 0)
        return;

    trace ("OUT " + nameOf (destination) + " " + toHex (toBytes (event)));

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

void Sequencer::enqueue (Client& client, Address source, Address destination, const snd_seq_event_t& event)
{
    if (client.queue.size() >= queueLimit)
        return;

    Queued queued;
    queued.event = event;
    queued.event.source.client = (unsigned char) source.client;
    queued.event.source.port = (unsigned char) source.port;
    queued.event.dest.client = (unsigned char) destination.client;
    queued.event.dest.port = (unsigned char) destination.port;

    if (isVariable (event))
    {
        const auto* bytes = static_cast<const unsigned char*> (event.data.ext.ptr);
        queued.data.assign (bytes, bytes + event.data.ext.len);
    }

    client.queue.push_back (std::move (queued));

    // The poll descriptor stays readable while events wait.
    if (client.queue.size() == 1)
    {
        const uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write (client.pollDescriptor, &one, sizeof (one));
    }
}

int Sequencer::input (int client, snd_seq_event_t** event)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);

    if (application == nullptr)
        return -EBADFD;

    if (application->queue.empty())
        return -EAGAIN;

    // Held until the next call, as the library's read buffer is.
    application->current = std::move (application->queue.front());
    application->queue.pop_front();

    if (isVariable (application->current.event))
        application->current.event.data.ext.ptr = application->current.data.data();

    if (application->queue.empty())
    {
        uint64_t count;
        [[maybe_unused]] const auto read = ::read (application->pollDescriptor, &count, sizeof (count));
    }

    *event = &application->current.event;
    return (int) application->queue.size();
}

int Sequencer::countPending (int client)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);
    return application != nullptr ? (int) application->queue.size() : -EBADFD;
}

int Sequencer::getPollDescriptor (int client)
{
    const std::lock_guard<std::mutex> guard (lock);
    auto* application = findApplication (client);
    return application != nullptr ? application->pollDescriptor : -EBADFD;
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

Sequencer::Client* Sequencer::findApplication (int client)
{
    const auto found = clients.find (client);
    return found != clients.end() && found->second.application ? &found->second : nullptr;
}

std::vector<unsigned char> Sequencer::toBytes (const snd_seq_event_t& event)
{
    if (isVariable (event))
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

void Sequencer::trace (const std::string& line)
{
    if (traceFile == nullptr)
        return;

    std::fputs ((line + "\n").c_str(), traceFile);
    std::fflush (traceFile);
}
