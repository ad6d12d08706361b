#pragma once

#include "sim/alsa/PortDriver.h"

#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <string>

/**
    The ALSA sequencer as the kernel runs it, for the one program that the
    stand-in is loaded into: clients with their ports, subscriptions between
    ports, and an input queue with a poll descriptor for each of the
    program's clients.

    It copies the kernel's rules wherever JUCE relies on them: clients are
    walked from the one after a given number, ports from the one at the given
    number plus one in an unsigned byte (so -1 starts at 0), a new client or
    port takes the lowest free number, events go only along subscriptions and
    arrive with the subscriber's address as their destination, errors are
    negative errno values, and a queued event's bytes stay valid until the
    next input call.

    Every operation takes one lock, so the program's threads and the ports'
    drivers may call in at any time.
*/
class Sequencer
{
public:
    /** A client and port number. */
    struct Address
    {
        int client = 0, port = 0;

        bool operator== (const Address& other) const noexcept
        {
            return client == other.client && port == other.port;
        }
    };

    /** What a walk over the clients or ports reports of one. */
    struct Entry
    {
        int number = 0;
        std::string name;
        int numPorts = 0;
        unsigned int capabilities = 0;
    };

    /** Builds the machine that VT5150_ALSA_SEQ describes, tracing to VT5150_ALSA_SEQ_TRACE if set. */
    static Sequencer& getInstance();

    int openClient();
    int closeClient (int client);
    int setClientName (int client, const std::string& name);
    int createPort (int client, const std::string& name, unsigned int capabilities);
    int deletePort (int client, int port);
    int subscribe (int requester, Address sender, Address destination);
    int output (int client, const snd_seq_event_t& event);
    int input (int client, snd_seq_event_t** event);
    int countPending (int client);
    int getPollDescriptor (int client);

    /** The number of clients now, after plugging in any device that has come. */
    int countClients();

    /** The first client numbered above `after`, or -ENOENT. */
    int findNextClient (int after, Entry& entry);

    /** The first port of `client` numbered `after` + 1 or above, counted in a byte; -ENXIO or -ENOENT. */
    int findNextPort (int client, unsigned char after, Entry& entry);

private:
    struct Port
    {
        std::string name;
        unsigned int capabilities = 0;
    };

    struct Queued
    {
        snd_seq_event_t event;
        std::vector<unsigned char> data;
    };

    struct Client
    {
        std::string name;
        std::map<int, Port> ports;
        int driver = -1;
        bool application = false;
        int pollDescriptor = -1;
        std::deque<Queued> queue;
        Queued current;
    };

    Sequencer (const std::vector<PortSpec>& specs, const char* tracePath);

    // Never destroyed: the program's static objects may still close their
    // MIDI ports while the process ends, and the drivers' threads run to the end.
    ~Sequencer() = delete;

    void addHardwareClient (int number, int driver);
    void deliverFrom (Address source, const snd_seq_event_t& event, int hops);
    void deliverTo (Address source, Address destination, const snd_seq_event_t& event, int hops);
    void enqueue (Client& client, Address source, Address destination, const snd_seq_event_t& event);
    void removeClient (int client);
    void removeSubscriptionsOf (Address port);
    void unplug (int driver);
    Client* findApplication (int client);
    std::vector<unsigned char> toBytes (const snd_seq_event_t& event);
    std::string nameOf (Address port) const;
    void trace (const std::string& line);

    std::mutex lock;
    std::map<int, Client> clients;
    std::vector<std::pair<Address, Address>> subscriptions;
    std::vector<PortSpec> specs;
    std::vector<int> driverClients;
    std::vector<PortDriver*> drivers;
    snd_midi_event_t* decoder = nullptr;
    std::FILE* traceFile = nullptr;
};
