#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

/**
    The VT-5150's SysEx command set.

    Every command is one SysEx message F0 4E 7F 0D <letter> <arguments> F7;
    the bodies built here are the bytes between F0 and F7. Arguments are 7-bit:
    an 8-bit value travels as its low seven bits plus a flag for its top bit.
*/
struct DeviceCommands
{
    /** The longest command body: the address command's. */
    static constexpr int maxBodyLength = 7;

    /** A command body of at most maxBodyLength bytes. */
    struct Body
    {
        std::array<juce::uint8, maxBodyLength> bytes {};
        int length = 0;

        /** Returns the first byte of the body. */
        const juce::uint8* data() const noexcept
        {
            return bytes.data();
        }
    };

    static constexpr int bodyHeaderLength = 3;
    static constexpr juce::uint8 acknowledgeByte = 0x0d;

    /** The data command's letter for a byte at an even position of its block (0, 2, ... 126). */
    static constexpr char evenDataLetter = 'c';

    /** The data command's letter for a byte at an odd position of its block. */
    static constexpr char oddDataLetter = 'C';

    /** The device's addresses count two-byte words, not bytes. */
    static constexpr int bytesPerAddress = 2;

    /** How many addresses the address command's 16 bits reach. */
    static constexpr int addressCount = 1 << 16;

    /** The probe: asks whether a device listens on a port pair. */
    static const Body probe;

    /** The query sent once after a successful probe; its result is not used. */
    static const Body query;

    /** Opens a transfer. */
    static const Body start;

    /** Closes a block of 128 data bytes. */
    static const Body commit;

    /** The address command for the 16-bit address given as its high and low byte. */
    static Body address (juce::uint8 high, juce::uint8 low) noexcept;

    /** The data command carrying one payload byte; letter is evenDataLetter or oddDataLetter. */
    static Body data (char letter, juce::uint8 value) noexcept;

    /** Wraps a body of at most maxBodyLength bytes in F0 ... F7 as one SysEx message with timestamp 0. */
    static juce::MidiMessage toMessage (const juce::uint8* body, int length);

    /** True for a SysEx message whose first three data bytes are 4E 7F 0D. */
    static bool isLenientReply (const juce::MidiMessage& message) noexcept;

    /** True for a lenient reply whose fourth data byte is 0D: the device's acknowledgement. */
    static bool isStrictAcknowledgement (const juce::MidiMessage& message) noexcept;

    /** True for a single System Real-Time byte (F8 to FF): clock, active sensing, start, stop and the like. */
    static bool isSystemRealTime (const juce::MidiMessage& message) noexcept;
};
