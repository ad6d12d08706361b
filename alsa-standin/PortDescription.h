#pragma once

#include <string>
#include <vector>

/**
    One MIDI port of the machine that the ALSA sequencer stand-in pretends to
    have, each on a client of its own, as one USB MIDI device or the kernel's
    "Midi Through" client shows in the sequencer.

    Written as a list in the environment variable VT5150_ALSA_SEQ, entries
    separated by ',', fields by ':': the kind, then the name, then options:

        through                     the kernel's loop-back port, "Midi Through Port-0"
        silent:NAME                 a device that reads and writes MIDI but sends nothing
        input:NAME                  a device that only sends (an input of the computer)
        output:NAME                 a device that only receives (an output of the computer)
        device:NAME:socket=PATH     a device whose MIDI bytes travel over the Unix socket
                                    at PATH; it is plugged in while something listens there

    Options: sense=MS (sends active sensing every MS milliseconds, 1 to
    60000), flood (sends note messages without pause), nocreate (an
    application's port for this one cannot be created), noconnect
    (subscribing to it fails as when another program holds the device),
    cable (a device plugged into a USB MIDI interface's cable: the port is
    the interface's and stays while the device is away; the device is
    plugged in when something is sent to it while its host listens), user
    (the port is on a program's client, not a kernel driver's, as a virtual
    device that another program makes; Chromium lists a kernel client's port
    only for a sound card that udev shows it).
*/
struct PortDescription
{
    enum class Kind
    {
        through,
        silent,
        input,
        output,
        device
    };

    Kind kind = Kind::silent;
    std::string name;
    std::string socketPath;
    int sensingIntervalMs = 0;
    bool flood = false;
    bool refusesCreation = false;
    bool refusesSubscription = false;
    bool behindCable = false;
    bool onUserClient = false;

    /** True when the computer can read from this port. */
    bool canBeRead() const noexcept
    {
        return kind != Kind::output;
    }

    /** True when the computer can write to this port. */
    bool canBeWritten() const noexcept
    {
        return kind != Kind::input;
    }

    /** Parses the list; on a mistake, returns false and says what is wrong in `error`. */
    static bool parseList (const std::string& text, std::vector<PortDescription>& descriptions, std::string& error);
};
