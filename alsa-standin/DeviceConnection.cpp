#include "alsa-standin/DeviceConnection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace
{
/** Sends what the device answers, as raw MIDI bytes, to the connection. */
class ConnectionWriter final : public MidiPortListener
{
public:
    explicit ConnectionWriter (int fd)
        : connection (fd)
    {
    }

    void handleIncomingMidiMessage (MidiInputPort*, const juce::MidiMessage& message) override
    {
        [[maybe_unused]] const auto written =
            ::write (connection, message.getRawData(), (size_t) message.getRawDataSize());
    }

private:
    const int connection;
};
} // namespace

DeviceConnection::DeviceConnection (int connectionFd, int stopFd)
    : connection (connectionFd)
    , stop (stopFd)
{
}

void DeviceConnection::serve (VirtualMidiPorts& ports, int sensingIntervalMs)
{
    ConnectionWriter writer (connection);
    auto input = ports.openInput (0, writer);
    auto output = ports.openOutput (0);
    input->start();

    MessageGatherer gatherer (*output);
    juce::uint8 buffer[256];
    auto sensingDue = juce::Time::getMillisecondCounter();

    while (waitForInput (connection, stop, senseWhenDue (sensingIntervalMs, sensingDue)))
    {
        const auto count = ::read (connection, buffer, sizeof (buffer));

        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            continue;

        if (count <= 0)
            break;

        for (ssize_t i = 0; i < count; ++i)
            gatherer.push (buffer[i]);
    }

    ::shutdown (connection, SHUT_RDWR);
    input->stop();
}

bool DeviceConnection::waitForInput (int fd, int stopFd, int timeoutMs)
{
    pollfd descriptors[] = { { fd, POLLIN, 0 }, { stopFd, POLLIN, 0 } };

    while (::poll (descriptors, 2, timeoutMs) < 0)
        if (errno != EINTR)
            return false;

    return (descriptors[1].revents & POLLIN) == 0;
}

/** Sends active sensing when it is due, and says how long until the next is. */
int DeviceConnection::senseWhenDue (int intervalMs, juce::uint32& due) const
{
    if (intervalMs <= 0)
        return -1;

    const auto now = juce::Time::getMillisecondCounter();

    if ((int) (due - now) <= 0)
    {
        const juce::uint8 activeSensing = 0xfe;
        [[maybe_unused]] const auto written = ::write (connection, &activeSensing, 1);
        due = now + (juce::uint32) intervalMs;
    }

    return (int) (due - now);
}

DeviceConnection::MessageGatherer::MessageGatherer (MidiOutputPort& deviceOutput)
    : output (deviceOutput)
{
}

void DeviceConnection::MessageGatherer::push (juce::uint8 byte)
{
    if (byte >= 0xf8)
    {
        output.sendMessageNow (juce::MidiMessage (byte));
        return;
    }

    const auto inSysEx = ! pending.empty() && pending.front() == 0xf0;

    if (byte == 0xf7 && ! inSysEx)
        pending.clear();
    else if (byte >= 0x80 && byte != 0xf7)
        pending.assign (1, byte);
    else if (! pending.empty())
        pending.push_back (byte);

    if (! pending.empty() && isComplete())
    {
        output.sendMessageNow (juce::MidiMessage (pending.data(), (int) pending.size()));
        pending.clear();
    }
}

bool DeviceConnection::MessageGatherer::isComplete() const
{
    return pending.front() == 0xf0
               ? pending.back() == 0xf7
               : (int) pending.size() == juce::MidiMessage::getMessageLengthFromFirstByte (pending.front());
}
