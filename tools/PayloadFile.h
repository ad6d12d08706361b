#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/**
    Reads a payload that a tool is asked to send in place of the built-in
    firmware, refusing anything that could not be sent as a whole before
    reading more of it than the largest image holds.
*/
struct PayloadFile
{
    /**
        Reads the file into `payload`, or returns why it cannot be sent. Only a
        regular file (or a link to one) of a sendable size is read: a directory,
        a device or a pipe is refused before it is opened, so that nothing
        endless or blocking is read.
    */
    static juce::String read (const juce::File& file, std::vector<juce::uint8>& payload);

    /**
        Reads the stream into `payload`, never more than one byte past the
        largest image, or returns why it cannot be sent.
    */
    static juce::String read (juce::InputStream& stream, std::vector<juce::uint8>& payload);
};
