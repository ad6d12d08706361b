#pragma once

#include "midi/MidiInputPort.h"
#include "midi/MidiPortListener.h"

/**
    A Web MIDI input that the page has opened, known to the compiled code by
    the handle that the page gave it. The page delivers its messages through
    deliver(), on the page's one thread, while the input is started.
*/
class WebMidiInput final : public MidiInputPort
{
public:
    /** Takes over the page's input with this handle, delivering to `listener`. */
    WebMidiInput (int handle, MidiPortListener& listener);

    /** Closes the input in the page. */
    ~WebMidiInput() override;

    /** Asks the page to pass this input's messages on. */
    void start() override;

    /** Asks the page to stop passing them on; none arrives after this returns. */
    void stop() override;

    /** Hands one whole message from the page's input `handle` to its listener; ignored for an unknown handle. */
    static void deliver (int handle, const juce::uint8* bytes, int numBytes);

private:
    int handle;
    MidiPortListener& listener;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WebMidiInput)
};
