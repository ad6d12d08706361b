#pragma once

#include "alsa-standin/PortDescription.h"

#include <alsa/asoundlib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/**
    The driver behind one port of the ALSA sequencer stand-in: what a USB MIDI
    device's driver is to the kernel's sequencer.

    For a device it keeps the connection to the program that hosts the
    simulated VT-5150: the device is plugged in while connected (a device
    behind a cable is plugged into an interface whose port stays, and is
    connected when something is first sent to it). Bytes that the device
    sends are encoded into sequencer events as the kernel does (a SysEx
    message in events of at most 256 bytes) and handed to `deliver` on the
    driver's own thread; the end of the connection is handed to `unplug`.
    Bytes for the device are sent from a thread of the driver's own, so that
    a device that does not read never holds up the sequencer's callers. Ports
    with sense= or flood send their messages from a thread of their own.

    Its owner calls every member under one lock of its own.
*/
class PortDriver
{
public:
    /** Receives one event that the port sends; called on the driver's threads. */
    using Deliver = std::function<void (const snd_seq_event_t& event)>;

    /** Called on the reader thread when the device's connection has ended. */
    using Unplug = std::function<void()>;

    PortDriver (const PortDescription& description, Deliver deliver, Unplug unplug);

    /** The threads run until the process ends; the stand-in never destroys a driver. */
    ~PortDriver() = delete;

    /** True when the port is there: always, but for a device without a cable only while it is connected. */
    bool isPresent() const noexcept;

    /** True when what the port sends may reach the sequencer: a device's only while it is connected. */
    bool isConnected() const noexcept;

    /** For an unconnected device, tries to connect, and starts reading when that works. Returns isConnected(). */
    bool tryToPlugIn();

    /** Marks the device unconnected and lets go of its connection; called from the unplug handler. */
    void forget();

    /** Queues the MIDI bytes of one event for the device; other ports drop them. */
    void write (const std::vector<unsigned char>& bytes);

private:
    /** A socket, closed when the last of its users lets go of it. */
    struct Connection
    {
        explicit Connection (int fdToUse)
            : fd (fdToUse)
        {
        }
        ~Connection();
        const int fd;
    };

    struct Outgoing
    {
        std::shared_ptr<Connection> connection;
        std::vector<unsigned char> bytes;
    };

    void readUntilClosed (std::shared_ptr<Connection> connectionToRead);
    void sendPeriodically();
    void sendQueued();

    const PortDescription description;
    const Deliver deliver;
    const Unplug unplug;
    std::shared_ptr<Connection> connection;
    std::thread generator, writer;

    std::mutex outgoingLock;
    std::condition_variable outgoingQueued;
    std::deque<Outgoing> outgoing;
};
