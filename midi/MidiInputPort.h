#pragma once

/**
    One MIDI input that the port layer has opened.

    Messages are delivered to the listener given when the input was opened,
    on a thread of the port layer's own, between start() and stop().
    Destroying the object closes the input; it stops first if still started.
*/
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    /** Starts delivering incoming messages to the listener. */
    virtual void start() = 0;

    /** Stops delivery; returns only once no callback is running or can still arrive. */
    virtual void stop() = 0;
};
