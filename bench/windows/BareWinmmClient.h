#pragma once

#include "midi/windows/WinmmApi.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>

/**
    The least that a winmm program needs for one exchange with the device:
    it sends a SysEx message from one buffer prepared once, and sleeps on an
    event that the input's driver sets at each notice (CALLBACK_EVENT) until
    a buffer comes back filled, which it then queues again at once. Nothing
    of the updater's ports or device link is in it; it measures what winmm
    and its driver cost.
*/
class BareWinmmClient
{
public:
    /** Opens the first winmm input and output whose names start with `name`. */
    explicit BareWinmmClient (const juce::String& name);

    /** Closes whatever is open. */
    ~BareWinmmClient();

    /** True when both the input and the output are open and the input started. */
    bool isOpen() const;

    /** Sends a SysEx message and waits up to 1000 ms for a reply; true if one came. */
    bool exchange (const juce::MidiMessage& message);

private:
    static constexpr int numBuffers = 4, bufferSize = 256;

    struct Buffer
    {
        MIDIHDR header {};
        char data[bufferSize] {};
    };

    bool openInput (UINT deviceId);
    bool openOutput (UINT deviceId);
    bool takeReply();

    HANDLE noticeEvent = nullptr;
    HMIDIIN input = nullptr;
    HMIDIOUT output = nullptr;
    std::array<Buffer, numBuffers> inBuffers;
    Buffer outBuffer;
    bool started = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BareWinmmClient)
};
