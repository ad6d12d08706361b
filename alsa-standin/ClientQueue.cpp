#include "alsa-standin/ClientQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace
{
/** The kernel's default pool of events for a client. */
constexpr size_t capacity = 200;
} // namespace

ClientQueue::ClientQueue()
    : pollDescriptor (eventfd (0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

ClientQueue::~ClientQueue()
{
    if (pollDescriptor >= 0)
        ::close (pollDescriptor);
}

bool ClientQueue::hasVariableLength (const snd_seq_event_t& event) noexcept
{
    return (event.flags & SND_SEQ_EVENT_LENGTH_MASK) == SND_SEQ_EVENT_LENGTH_VARIABLE;
}

void ClientQueue::push (const snd_seq_event_t& event)
{
    if (entries.size() >= capacity)
        return;

    Entry entry { event, {} };

    if (hasVariableLength (event))
    {
        const auto* bytes = static_cast<const unsigned char*> (event.data.ext.ptr);
        entry.data.assign (bytes, bytes + event.data.ext.len);
    }

    entries.push_back (std::move (entry));

    if (entries.size() == 1)
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write (pollDescriptor, &one, sizeof (one));
    }
}

int ClientQueue::pop (snd_seq_event_t** event)
{
    if (entries.empty())
        return -EAGAIN;

    current = std::move (entries.front());
    entries.pop_front();

    if (hasVariableLength (current.event))
        current.event.data.ext.ptr = current.data.data();

    if (entries.empty())
    {
        std::uint64_t count;
        [[maybe_unused]] const auto read = ::read (pollDescriptor, &count, sizeof (count));
    }

    *event = &current.event;
    return (int) entries.size();
}

int ClientQueue::size() const noexcept
{
    return (int) entries.size();
}

int ClientQueue::getPollDescriptor() const noexcept
{
    return pollDescriptor;
}
