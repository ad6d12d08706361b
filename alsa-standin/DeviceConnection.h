#pragma once

#include "sim/VirtualMidiPorts.h"

#include <vector>

/**
    Carries MIDI bytes between a file descriptor (a socket from the ALSA
    sequencer stand-in, or a kernel's raw MIDI device) and a simulated
    device's virtual ports: what arrives is gathered into whole messages for
    the device, and what the device answers is written back as raw bytes.
*/
class DeviceConnection
{
public:
    /**
        Takes the descriptor to serve and a descriptor that becomes readable
        when the host is told to stop; neither is closed here.
    */
    DeviceConnection (int connectionFd, int stopFd);

    /**
        Serves the connection until it ends or a stop is requested, sending
        active sensing every `sensingIntervalMs` milliseconds unless that is 0.
    */
    void serve (VirtualMidiPorts& ports, int sensingIntervalMs);

    /**
        Waits until `fd` is readable, a stop is requested or the timeout (-1
        for none) passes; false for the stop.
    */
    static bool waitForInput (int fd, int stopFd, int timeoutMs = -1);

private:
    /**
        Gathers bytes into whole MIDI messages, as a device's MIDI input does,
        and hands each to the device's output: System Real-Time bytes at once,
        wherever they come, SysEx from F0 to F7, other messages by their status
        byte's length. Data bytes without a status before them, and an F7
        outside SysEx, are dropped.
    */
    class MessageGatherer
    {
    public:
        explicit MessageGatherer (MidiOutputPort& deviceOutput);

        void push (juce::uint8 byte);

    private:
        bool isComplete() const;

        MidiOutputPort& output;
        std::vector<juce::uint8> pending;
    };

    int senseWhenDue (int intervalMs, juce::uint32& due) const;

    const int connection, stop;
};
