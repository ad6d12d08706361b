#include "alsa-standin/KernelClients.h"

#include <algorithm>
#include <utility>

namespace
{
constexpr unsigned int readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// The types the kernel's drivers give their ports: a card's MIDI port (seq_midi),
// the loop-back client's (seq_dummy), and a program's virtual port. The system client's ports have none.
// Wine lists only ports with a type, and those with TYPE_PORT after all others.
constexpr unsigned int hardwareType =
    SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE | SND_SEQ_PORT_TYPE_PORT;
constexpr unsigned int throughType =
    SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SOFTWARE | SND_SEQ_PORT_TYPE_PORT;
constexpr unsigned int programType = SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION;

bool isThrough (const PortDescription& description)
{
    return description.kind == PortDescription::Kind::through;
}

bool isOnCard (const PortDescription& description)
{
    return ! isThrough (description) && ! description.onUserClient;
}
} // namespace

std::string KernelClients::check (const std::vector<PortDescription>& descriptions)
{
    const auto throughs = std::count_if (descriptions.begin(), descriptions.end(), isThrough);
    const auto cards = std::count_if (descriptions.begin(), descriptions.end(), isOnCard);
    const auto users = (long) descriptions.size() - throughs - cards;
    constexpr long maxCards = (firstApplication - firstCard) / perCard;

    if (throughs > 1)
        return "the kernel has one \"Midi Through\" client; this machine has " + std::to_string (throughs);

    if (cards > maxCards)
        return "the kernel numbers at most " + std::to_string (maxCards) +
               " cards below the programs' clients; this machine has " + std::to_string (cards);

    if (users > maxUserPorts)
        return "at most " + std::to_string (maxUserPorts) + " ports on programs' clients; this machine has " +
               std::to_string (users);

    return {};
}

std::vector<int> KernelClients::assign (const std::vector<PortDescription>& descriptions)
{
    std::vector<int> numbers;
    const auto users = std::count_if (descriptions.begin(), descriptions.end(),
                                      [] (const auto& description) { return description.onUserClient; });
    auto nextCard = firstCard, nextUser = end - (int) users;

    for (const auto& description : descriptions)
    {
        if (isThrough (description))
            numbers.push_back (through);
        else if (description.onUserClient)
            numbers.push_back (nextUser++);
        else
            numbers.push_back (std::exchange (nextCard, nextCard + perCard));
    }

    return numbers;
}

int KernelClients::getApplicationsEnd (const std::vector<int>& numbers)
{
    auto applicationsEnd = end;

    for (const auto number : numbers)
        if (number >= firstApplication)
            applicationsEnd = std::min (applicationsEnd, number);

    return applicationsEnd;
}

void KernelClients::describe (const PortDescription& description, ClientTable::Client& client)
{
    client.name = isThrough (description) ? "Midi Through" : description.name;
    client.ports[0] = { description.name,
                        (description.canBeRead() ? readable : 0u) | (description.canBeWritten() ? writable : 0u),
                        isThrough (description)  ? throughType
                        : isOnCard (description) ? hardwareType
                                                 : programType };
    client.isUser = description.onUserClient;
}

void KernelClients::describeSystem (ClientTable::Client& client)
{
    client.name = "System";
    client.ports[0] = { "Timer", SND_SEQ_PORT_CAP_WRITE | readable, 0 };
    client.ports[1] = { "Announce", readable, 0 };
}
