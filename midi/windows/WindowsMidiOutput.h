#pragma once

#include "midi/MidiOutputPort.h"
#include "midi/windows/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <memory>

/**
    A winmm MIDI output of the program's own.

    SysEx goes out with midiOutLongMsg from a buffer of the port's own,
    prepared once and again only when a longer message needs a larger one,
    and the send waits for the driver's completion on an event
    (CALLBACK_EVENT), for completionLimitMs at the most; then it resets the
    output and waits as long again. A send that the driver refuses or does
    not complete in time simply has no effect that the device could answer,
    so the exchange fails as it would with a silent device. A buffer that the
    driver never gives back is never freed or reused: the output refuses
    every later send and, when closed, gives the buffer up rather than free
    it.
*/
class WindowsMidiOutput final : public MidiOutputPort
{
public:
    /** How long a send waits for the driver to complete it, and again after a reset, unless given otherwise. */
    static constexpr DWORD defaultCompletionLimitMs = 1000;

    /** An output of `api`, not yet open, whose sends wait `completionLimitMs` at the most, twice. */
    explicit WindowsMidiOutput (WinmmApi& api, DWORD completionLimitMs = defaultCompletionLimitMs);

    /** Resets and closes the output. */
    ~WindowsMidiOutput() override;

    /** Opens winmm's output `deviceId`; false, with nothing held, when it cannot be opened. */
    bool open (UINT deviceId);

    /** Sends the message and returns once the driver is done with it, or has failed, or timed out. */
    void sendMessageNow (const juce::MidiMessage& message) override;

    /** True once the driver has kept a buffer: nothing more is sent on this output. */
    bool isStuck() const;

private:
    struct LongBuffer
    {
        MIDIHDR header {};
        juce::HeapBlock<char> data;
        DWORD capacity = 0;
        bool prepared = false;
    };

    void sendShort (const juce::MidiMessage& message);
    void sendLong (const juce::MidiMessage& message);
    bool makeRoom (DWORD size);
    bool unprepare();
    bool awaitCompletion();
    void close();

    WinmmApi& api;
    const DWORD completionLimitMs;
    HMIDIOUT handle = nullptr;
    HANDLE doneEvent = nullptr;
    std::unique_ptr<LongBuffer> buffer;
    bool stuck = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowsMidiOutput)
};
