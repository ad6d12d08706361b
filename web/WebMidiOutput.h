#pragma once

#include "midi/MidiOutputPort.h"

/** A Web MIDI output that the page has opened, known to the compiled code by the page's handle. */
class WebMidiOutput final : public MidiOutputPort
{
public:
    /** Takes over the page's output with this handle. */
    explicit WebMidiOutput (int handle);

    /** Closes the output in the page. */
    ~WebMidiOutput() override;

    /**
        Hands the message to the browser, which sends it on its own; the
        browser tells nobody when it has gone, so this returns at once.
    */
    void sendMessageNow (const juce::MidiMessage& message) override;

private:
    int handle;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WebMidiOutput)
};
