#pragma once

#include "midi/MidiPortSystem.h"

/** The operating system's MIDI devices, reached through JUCE's MidiInput and MidiOutput. */
class SystemMidiPorts final : public MidiPortSystem
{
public:
    /** Returns the number of MIDI inputs the system lists now. */
    int getNumInputs() override;

    /** Returns the number of MIDI outputs the system lists now. */
    int getNumOutputs() override;

    /** Opens the input at this position of juce::MidiInput::getAvailableDevices(). */
    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override;

    /** Opens the output at this position of juce::MidiOutput::getAvailableDevices(). */
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;
};
