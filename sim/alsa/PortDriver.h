#pragma once

#include "sim/alsa/PortDescription.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

/**
    The driver behind one port of the ALSA sequencer stand-in: what a USB MIDI
    device's driver is to the kernel's sequencer.

    For a device it keeps the connection to the program that hosts the
    simulated VT-5150: the device is plugged in while connected. Bytes that
    the device sends are encoded into sequencer events as the kernel does (a
    SysEx message in events of at most 256 bytes) and handed to `deliver` on
    the driver's own thread; the end of the connection is handed to `unplug`.
    Ports with sense= or flood send their messages from a thread of their own.
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

    /** True when the port is there: always, but for a device only while it is connected. */
    bool isPresent() const noexcept;

    /** For an absent device, tries to connect, and starts reading when that works. Returns isPresent(). */
    bool tryToPlugIn();

    /** Marks the device absent and closes its connection; called from the unplug handler. */
    void forget();

    /** Sends the MIDI bytes of one event to the device; other ports drop them. */
    void write (const std::vector<unsigned char>& bytes);

private:
    void readUntilClosed (int fd);
    void sendPeriodically();

    const PortDescription description;
    const Deliver deliver;
    const Unplug unplug;
    int socket = -1;
    std::thread reader, generator;
};
