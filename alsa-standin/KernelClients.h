#pragma once

#include "alsa-standin/ClientTable.h"
#include "alsa-standin/PortDescription.h"

#include <string>
#include <vector>

/**
    The sequencer's clients as the kernel and its drivers make them. Numbers:
    the system client is 0, the "Midi Through" client 14, the cards' clients
    from 20 on, four numbers to a card, and programs' clients from 128 up to
    191. Each driver's client has one port, numbered 0, with the type that
    the driver gives it. A port on a program's client (PortDescription's
    `user`) takes one of the highest numbers, in the order given, as if
    another program had made it; the program under test numbers its own
    clients below those.
*/
struct KernelClients
{
    static constexpr int system = 0, through = 14, firstCard = 20, perCard = 4;
    static constexpr int firstApplication = 128, end = 192, maxUserPorts = 16;

    /** Says why the kernel could not number these ports' clients so, or returns an empty string. */
    static std::string check (const std::vector<PortDescription>& descriptions);

    /** The number of each port's client, in the order given; check() must have passed. */
    static std::vector<int> assign (const std::vector<PortDescription>& descriptions);

    /** The number above the last that the program under test may give its own clients. */
    static int getApplicationsEnd (const std::vector<int>& numbers);

    /** Makes `client` the one that the kernel's driver makes for this port: its name and its port. */
    static void describe (const PortDescription& description, ClientTable::Client& client);

    /** Makes `client` the kernel's own system client, with its two ports. */
    static void describeSystem (ClientTable::Client& client);
};
