#pragma once

#include "alsa-standin/ClientTable.h"
#include "alsa-standin/EventDecoder.h"
#include "alsa-standin/KernelClients.h"
#include "alsa-standin/PortDriver.h"
#include "alsa-standin/SequencerTrace.h"

#include <condition_variable>
#include <mutex>

/**
    The ALSA sequencer as the kernel runs it, for the one program that the
    stand-in is loaded into: clients with their ports, subscriptions between
    ports, and an input queue with a poll descriptor for each of the
    program's clients.

    It copies the kernel's rules wherever JUCE relies on them: clients and
    ports are walked as ClientTable says, a new client or port takes the
    lowest free number, events go only along subscriptions and arrive with
    the subscriber's address as their destination, errors are negative errno
    values, and a queued event's bytes stay valid until the next input call.

    Every operation takes one lock, so the program's threads and the ports'
    drivers may call in at any time.
*/
class Sequencer
{
public:
    using Address = ClientTable::Address;
    using Entry = ClientTable::Entry;

    /** Builds the machine with these ports (which KernelClients::check() has passed), tracing to the file at
     * `tracePath` if it is not empty. */
    Sequencer (const std::vector<PortDescription>& descriptions, const std::string& tracePath);

    // Never destroyed: the program's static objects may still close their
    // MIDI ports while the process ends, and the drivers' threads run to the end.
    ~Sequencer() = delete;

    /** Opens one of the program's clients; its input blocks until an event comes unless `blocking` is false. */
    int openClient (bool blocking);
    int closeClient (int client);
    int setBlocking (int client, bool blocking);
    int setClientName (int client, const std::string& name);
    int createPort (int client, const std::string& name, unsigned int capabilities, unsigned int type);
    int deletePort (int client, int port);
    int subscribe (int requester, Address sender, Address destination);

    /** Ends a subscription: -ENXIO when a port is gone, -ENOENT when there was no such subscription. */
    int unsubscribe (int requester, Address sender, Address destination);

    int output (int client, const snd_seq_event_t& event);

    /** Takes the client's next event; a blocking client waits for one, as the kernel's read does. */
    int input (int client, snd_seq_event_t** event);
    int countPending (int client);
    int getPollDescriptor (int client);

    /** The number of clients now, after plugging in any device that has come. */
    int countClients();

    /** The first client numbered above `after`, or -ENOENT; a walk from the start first plugs in any device that has
     * come. */
    int findNextClient (int after, Entry& entry);

    /** The first port of `client` numbered `after` + 1 or above, counted in a byte; -ENXIO or -ENOENT. */
    int findNextPort (int client, unsigned char after, Entry& entry);

private:
    using Client = ClientTable::Client;

    /** Loops through "Midi Through" ports end here, as the kernel limits its hops. */
    static constexpr int maxHops = 4;

    void addHardwareClient (int driver);
    void plugInArrivedDevices();
    void deliverFrom (Address source, const snd_seq_event_t& event, int hops);
    void deliverTo (Address source, Address destination, const snd_seq_event_t& event, int hops);
    void unplug (int driver);
    int checkSubscription (int requester, Address sender, Address destination);

    /** Calls function (client) under the lock for one of the program's clients, or returns -EBADFD. */
    template <typename Function>
    int withApplication (int client, Function&& function)
    {
        const std::lock_guard<std::mutex> guard (lock);
        auto* found = table.find (client);
        return found != nullptr && found->queue != nullptr ? function (*found) : -EBADFD;
    }

    std::mutex lock;
    std::condition_variable eventQueued;
    ClientTable table;
    std::vector<PortDescription> descriptions;
    std::vector<int> driverClients;
    std::vector<PortDriver*> drivers;
    EventDecoder decoder;
    SequencerTrace trace;
};
