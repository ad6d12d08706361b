#include "alsa-standin/PortDriver.h"

#include <pthread.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace
{
/** The kernel's sequencer MIDI driver parses what a device sends with a buffer this large. */
constexpr int kernelEventBufferSize = 256;

snd_seq_event_t makeFixedEvent (snd_seq_event_type_t type)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    event.type = type;
    event.flags = SND_SEQ_EVENT_LENGTH_FIXED;
    return event;
}

/** Names the driver's threads, so that measurements can tell them from the program's own. */
void nameThisThread()
{
    pthread_setname_np (pthread_self(), "seq stand-in");
}
} // namespace

PortDriver::PortDriver (const PortDescription& descriptionToUse, Deliver deliverToUse, Unplug unplugToUse)
    : description (descriptionToUse)
    , deliver (std::move (deliverToUse))
    , unplug (std::move (unplugToUse))
{
    if (description.sensingIntervalMs > 0 || description.flood)
        generator = std::thread ([this] { sendPeriodically(); });

    if (description.kind == PortDescription::Kind::device)
        writer = std::thread ([this] { sendQueued(); });
}

PortDriver::Connection::~Connection()
{
    ::close (fd);
}

bool PortDriver::isPresent() const noexcept
{
    return isConnected() || description.behindCable;
}

bool PortDriver::isConnected() const noexcept
{
    return description.kind != PortDescription::Kind::device || connection != nullptr;
}

bool PortDriver::tryToPlugIn()
{
    if (isConnected())
        return true;

    sockaddr_un address {};
    address.sun_family = AF_UNIX;

    if (description.socketPath.size() >= sizeof (address.sun_path))
        return false;

    std::strcpy (address.sun_path, description.socketPath.c_str());
    const auto fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);

    if (fd < 0)
        return false;

    if (::connect (fd, reinterpret_cast<const sockaddr*> (&address), sizeof (address)) != 0)
    {
        ::close (fd);
        return false;
    }

    connection = std::make_shared<Connection> (fd);
    // Detached: a reader ends on its own once its connection closes, and touches
    // nothing of the driver after telling the sequencer (which is what lets a
    // new connection start), so nobody needs to wait for it.
    std::thread ([this, c = connection] { readUntilClosed (c); }).detach();
    return true;
}

void PortDriver::forget()
{
    connection.reset();
}

void PortDriver::write (const std::vector<unsigned char>& bytes)
{
    if (bytes.empty() || description.kind != PortDescription::Kind::device || ! tryToPlugIn())
        return;

    const std::lock_guard<std::mutex> guard (outgoingLock);
    outgoing.push_back ({ connection, bytes });
    outgoingQueued.notify_one();
}

void PortDriver::sendQueued()
{
    nameThisThread();
    std::unique_lock<std::mutex> guard (outgoingLock);

    for (;;)
    {
        outgoingQueued.wait (guard, [this] { return ! outgoing.empty(); });
        const auto next = std::move (outgoing.front());
        outgoing.pop_front();
        guard.unlock();

        // MSG_NOSIGNAL: a device that went away must not end the program with SIGPIPE.
        ::send (next.connection->fd, next.bytes.data(), next.bytes.size(), MSG_NOSIGNAL);
        guard.lock();
    }
}

void PortDriver::readUntilClosed (std::shared_ptr<Connection> connectionToRead)
{
    const auto fd = connectionToRead->fd;
    nameThisThread();
    snd_midi_event_t* encoder = nullptr;

    if (snd_midi_event_new (kernelEventBufferSize, &encoder) == 0)
    {
        snd_seq_event_t event;
        snd_seq_ev_clear (&event);
        unsigned char buffer[64];
        ssize_t count;

        while ((count = ::read (fd, buffer, sizeof (buffer))) > 0)
        {
            for (ssize_t i = 0; i < count; ++i)
            {
                if (snd_midi_event_encode_byte (encoder, buffer[i], &event) == 1)
                {
                    deliver (event);
                    snd_seq_ev_clear (&event);
                }
            }
        }

        snd_midi_event_free (encoder);
    }

    // Ends a pending send and tells the sequencer; the last user of the connection closes it.
    ::shutdown (fd, SHUT_RDWR);
    unplug();
}

void PortDriver::sendPeriodically()
{
    nameThisThread();
    const auto interval = description.flood ? std::chrono::microseconds (100)
                                            : std::chrono::microseconds (description.sensingIntervalMs * 1000);
    auto noteOn = false;

    for (;;)
    {
        std::this_thread::sleep_for (interval);

        if (! description.flood)
        {
            deliver (makeFixedEvent (SND_SEQ_EVENT_SENSING));
            continue;
        }

        noteOn = ! noteOn;
        auto event = makeFixedEvent (noteOn ? SND_SEQ_EVENT_NOTEON : SND_SEQ_EVENT_NOTEOFF);
        event.data.note.note = 60;
        event.data.note.velocity = 64;
        deliver (event);
    }
}
