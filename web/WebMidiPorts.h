#pragma once

#include "midi/MidiPortSystem.h"

/**
    The browser's MIDI ports, through the page's Web MIDI access: the inputs
    and the outputs each in the order in which the browser lists them. Opening
    a port waits for the browser to open it, handing the page's thread back
    to the browser meanwhile.
*/
class WebMidiPorts final : public MidiPortSystem
{
public:
    WebMidiPorts() = default;

    /** The number of inputs that the browser lists. */
    int getNumInputs() override;

    /** The number of outputs that the browser lists. */
    int getNumOutputs() override;

    /** Opens input `index`, or nullptr if the browser cannot open it. */
    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override;

    /** Opens output `index`, or nullptr if the browser cannot open it. */
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WebMidiPorts)
};
