#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdio>
#include <cstdlib>

/**
    Reads a fuzzer's bytes front to back: single bytes and MIDI
    messages as a MIDI input delivers them. Past the end it gives zeros
    and a lone F7.
*/
class FuzzInput
{
public:
    FuzzInput (const juce::uint8* data, size_t size)
        : next (data)
        , end (data + size)
    {
    }

    /** True once every byte has been read. */
    bool isExhausted() const noexcept
    {
        return next >= end;
    }

    /** The next byte, or 0 past the end. */
    juce::uint8 takeByte() noexcept
    {
        return isExhausted() ? 0 : *next++;
    }

    /** A message of 1 to 32 raw bytes as the framework hands it over: a length byte, then the bytes. */
    juce::MidiMessage takeMessage()
    {
        const auto count = std::min ((size_t) (takeByte() % 32) + 1, (size_t) (end - next));
        std::vector<juce::uint8> bytes (next, next + count);
        next += count;

        if (bytes.empty())
            bytes.push_back (0xf7);

        return juce::MidiMessage (bytes.data(), (int) bytes.size());
    }

private:
    const juce::uint8* next;
    const juce::uint8* end;
};

/** Stops the run with a report when a property does not hold; libFuzzer keeps the input. */
inline void fuzzCheck (bool holds, const char* property)
{
    if (holds)
        return;

    std::fprintf (stderr, "fuzz property broken: %s\n", property);
    std::abort();
}
