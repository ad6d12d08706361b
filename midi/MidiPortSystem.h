#pragma once

#include "midi/MidiInputPort.h"
#include "midi/MidiOutputPort.h"
#include "midi/MidiPortListener.h"

#include <memory>

/**
    The MIDI inputs and outputs of the machine, each list in one fixed order.

    The device link reaches MIDI only through this interface, so that the
    operating system's MIDI and in-process virtual ports can stand in for
    each other.
*/
class MidiPortSystem
{
public:
    virtual ~MidiPortSystem() = default;

    /** Returns the number of MIDI inputs; indices run from 0 to this minus 1. */
    virtual int getNumInputs() = 0;

    /** Returns the number of MIDI outputs; indices run from 0 to this minus 1. */
    virtual int getNumOutputs() = 0;

    /** Opens input `index`, not yet started, delivering to `listener`; nullptr if it cannot be opened. */
    virtual std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) = 0;

    /** Opens output `index`; nullptr if it cannot be opened. */
    virtual std::unique_ptr<MidiOutputPort> openOutput (int index) = 0;
};
