#pragma once

#include "alsa-standin/ClientQueue.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

/**
    The sequencer's clients with their ports, and the subscriptions between
    ports, walked as the kernel walks them: clients from the one after a
    given number, ports from the given number plus one counted in a byte (so
    that -1 starts at 0). Not locked: its owner locks.
*/
class ClientTable
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

    /** A port: its name, what it allows (SND_SEQ_PORT_CAP_*) and what it is (SND_SEQ_PORT_TYPE_*). */
    struct Port
    {
        std::string name;
        unsigned int capabilities = 0;
        unsigned int type = 0;
    };

    /**
        A client: a device's, whose driver is given, or one of the program's,
        which has a queue. A device's client is a user client when another
        program made it, as a virtual port's.
    */
    struct Client
    {
        std::string name;
        std::map<int, Port> ports;
        int driver = -1;
        std::unique_ptr<ClientQueue> queue;
        bool blocking = true;
        bool isUser = false;
    };

    /** What a walk over the clients or ports reports of one. */
    struct Entry
    {
        int number = 0;
        std::string name;
        int numPorts = 0;
        unsigned int capabilities = 0;
        unsigned int type = 0;
        bool isApplication = false;
    };

    /** Adds a client with this number, or returns the one there. */
    Client& add (int number);

    /** The lowest number from `first` on that no client has. */
    int findFreeNumber (int first) const;

    /** The client with this number, or nullptr. */
    Client* find (int number);

    /** The port at this address, or nullptr. */
    const Port* findPort (Address address) const;

    /** The port's name, or "?" for none. */
    std::string nameOf (Address address) const;

    /**
        Removes the client, its ports and their subscriptions, and queues
        SND_SEQ_EVENT_CLIENT_EXIT for the subscribers of the system's announce
        port, as the kernel does; its owner wakes any that wait.
    */
    void remove (int number);

    /** Adds a port to a client that exists, numbered as the lowest free number; returns the number. */
    int addPort (int client, const Port& port);

    /** Removes one port of a client and its subscriptions; false if there was none. */
    bool removePort (Address address);

    /** True when events from `sender` go to `destination`. */
    bool isSubscribed (Address sender, Address destination) const;

    /** Makes events from `sender` go to `destination`. */
    void subscribe (Address sender, Address destination);

    /** Stops events from `sender` going to `destination`; false if they did not. */
    bool unsubscribe (Address sender, Address destination);

    /** The subscribers of a port, in the order they subscribed. */
    std::vector<Address> getSubscribersOf (Address sender) const;

    /** The number of clients. */
    int size() const noexcept;

    /** The first client numbered above `after`, or -ENOENT. */
    int findNextClient (int after, Entry& entry) const;

    /** The first port of `client` numbered `after` + 1 or above, counted in a byte; -ENXIO or -ENOENT. */
    int findNextPort (int client, unsigned char after, Entry& entry) const;

private:
    void announceExit (int number);

    std::map<int, Client> clients;
    std::vector<std::pair<Address, Address>> subscriptions;
};
