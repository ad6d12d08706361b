#pragma once

#include "sim/VirtualMidiPorts.h"

/**
    Records every message that crosses a VirtualMidiPorts, one line each in
    the order they happened: "OUT <output> <bytes>" for what the updater sent,
    "IN <input> <bytes>" for what was delivered to one of its open inputs.
*/
class WireTrace
{
public:
    /** Starts recording what crosses these ports. */
    explicit WireTrace (VirtualMidiPorts& ports);

    /** Stops recording. */
    ~WireTrace();

    /** The lines recorded so far. */
    juce::StringArray getLines() const;

    /** The recorded lines that start with this prefix, e.g. "OUT " or "IN 1 ". */
    juce::StringArray getLinesStartingWith (const juce::String& prefix) const;

    /** Forgets what was recorded so far. */
    void clear();

    /**
        Writes the lines, one per line, into the file at this path as a shell's
        `>` does: through a link to the file it points at, into an existing
        file or device in place. Returns why it could not, or an empty string;
        a directory is refused.
    */
    juce::String writeTo (const juce::File& file) const;

private:
    VirtualMidiPorts& ports;
    mutable std::mutex mutex;
    juce::StringArray lines;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WireTrace)
};
