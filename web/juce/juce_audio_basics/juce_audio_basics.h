#pragma once

// The part of juce_audio_basics that device/ uses, for the WebAssembly build
// of the web page (see juce_core.h beside it for why).

#include <juce_core/juce_core.h>

#include <vector>

namespace juce
{
/** One MIDI message as raw bytes; a SysEx message runs from F0 to F7. */
class MidiMessage
{
public:
    /** A message holding a copy of these bytes. */
    MidiMessage (const void* data, int numBytes, double = 0.0)
        : bytes (static_cast<const uint8*> (data), static_cast<const uint8*> (data) + numBytes)
    {
    }

    /** The SysEx message F0, the body's bytes, F7. */
    static MidiMessage createSysExMessage (const void* body, int numBytes)
    {
        std::vector<uint8> framed (1, 0xf0);
        framed.insert (framed.end(), static_cast<const uint8*> (body), static_cast<const uint8*> (body) + numBytes);
        framed.push_back (0xf7);
        return MidiMessage (framed.data(), (int) framed.size());
    }

    /** The message's bytes. */
    const uint8* getRawData() const noexcept
    {
        return bytes.data();
    }

    /** The number of the message's bytes. */
    int getRawDataSize() const noexcept
    {
        return (int) bytes.size();
    }

    /** True for a message that starts with F0. */
    bool isSysEx() const noexcept
    {
        return ! bytes.empty() && bytes.front() == 0xf0;
    }

    /** The bytes after F0. */
    const uint8* getSysExData() const noexcept
    {
        return isSysEx() ? bytes.data() + 1 : nullptr;
    }

    /** The number of bytes between F0 and the final F7; 0 for a message that is not SysEx. */
    int getSysExDataSize() const noexcept
    {
        return isSysEx() ? getRawDataSize() - 2 : 0;
    }

private:
    std::vector<uint8> bytes;
};
} // namespace juce
