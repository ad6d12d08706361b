#include "alsa-standin/KernelClients.h"

#include <algorithm>

namespace
{
constexpr unsigned int readable = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned int writable = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// The types the kernel's drivers give their ports: a card's MIDI port (seq_midi),
// and the loop-back client's (seq_dummy). The system client's ports have none.
// Wine lists only ports with a type, and those with TYPE_PORT after all others.
constexpr unsigned int hardwareType =
    SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE | SND_SEQ_PORT_TYPE_PORT;
constexpr unsigned int throughType =
    SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SOFTWARE | SND_SEQ_PORT_TYPE_PORT;

bool isThrough (const PortDescription& description)
{
    return description.kind == PortDescription::Kind::through;
}
} // namespace

std::string KernelClients::check (const std::vector<PortDescription>& descriptions)
{
    const auto throughs = std::count_if (descriptions.begin(), descriptions.end(), isThrough);
    const auto cards = (long) descriptions.size() - throughs;
    constexpr long maxCards = (firstApplication - firstCard) / perCard;

    if (throughs > 1)
        return "the kernel has one \"Midi Through\" client; this machine has " + std::to_string (throughs);

    if (cards > maxCards)
        return "the kernel numbers at most " + std::to_string (maxCards) +
               " cards below the programs' clients; this machine has " + std::to_string (cards);

    return {};
}

std::vector<int> KernelClients::assign (const std::vector<PortDescription>& descriptions)
{
    std::vector<int> numbers;
    auto nextCard = firstCard;

    for (const auto& description : descriptions)
    {
        numbers.push_back (isThrough (description) ? through : nextCard);
        nextCard += isThrough (description) ? 0 : perCard;
    }

    return numbers;
}

void KernelClients::describe (const PortDescription& description, ClientTable::Client& client)
{
    client.name = isThrough (description) ? "Midi Through" : description.name;
    client.ports[0] = { description.name,
                        (description.canBeRead() ? readable : 0u) | (description.canBeWritten() ? writable : 0u),
                        isThrough (description) ? throughType : hardwareType };
}

void KernelClients::describeSystem (ClientTable::Client& client)
{
    client.name = "System";
    client.ports[0] = { "Timer", SND_SEQ_PORT_CAP_WRITE | readable, 0 };
    client.ports[1] = { "Announce", readable, 0 };
}
