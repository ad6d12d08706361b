#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>
#include <vector>

/**
    Turns what a Windows MIDI input hands over, short messages and the
    contents of SysEx buffers, into whole messages.

    A SysEx message may span several buffers; it is passed on only once its
    F7 has arrived. One that is broken (by a status byte other than a
    real-time one, by a new F0, by a driver's error notice, or by growing past
    maxSysExLength) is dropped whole, never passed on in part. Real-time
    bytes pass on at once, even from the middle of a SysEx message, which
    they do not break.
*/
class MidiInputAssembler
{
public:
    /** The longest SysEx message kept, F0 and F7 included; a longer one is dropped. */
    static constexpr int maxSysExLength = 65536;

    /** Called for every whole message. */
    using Output = std::function<void (const juce::MidiMessage&)>;

    /** Passes every whole message to `output`. */
    explicit MidiInputAssembler (Output output);

    /** Takes a short message as packed in a MIM_DATA notice: status in the low byte. */
    void pushShortMessage (juce::uint32 packed);

    /** Takes the bytes that a SysEx buffer came back with. */
    void pushSysExBytes (const juce::uint8* bytes, int length);

    /** Drops the SysEx message under way, if any: the driver reported it broken. */
    void dropPartialMessage();

private:
    void pushSysExByte (juce::uint8 byte);

    Output output;
    std::vector<juce::uint8> partial;
    bool inSysEx = false;
};
