#pragma once

#include "midi/MidiInputAssembler.h"
#include "midi/MidiInputPort.h"
#include "midi/MidiPortListener.h"
#include "midi/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <mutex>

/**
    A winmm MIDI input of the program's own.

    The driver posts its notices to a thread of this port's own
    (CALLBACK_THREAD), so nothing of ours runs inside the driver. That thread
    assembles the messages, delivers them to the listener, and only then
    hands the buffer that a MIM_LONGDATA or MIM_LONGERROR notice brought back
    to the driver again: a buffer is never queued again because of another
    buffer's notice or of its flags, so none is refilled before its contents
    have been read. Closing waits until the driver has given every buffer
    back before their memory goes.
*/
class WindowsMidiInput final : public MidiInputPort, private juce::Thread
{
public:
    /** How many SysEx buffers the driver holds; each one goes back to it as soon as it is read. */
    static constexpr int numBuffers = 32;

    /** The size of each SysEx buffer; a longer message spans several. */
    static constexpr int bufferSize = 1024;

    /** How long closing waits for the driver to give the buffers back after a reset. */
    static constexpr int closeLimitMs = 2000;

    /** An input of `api`, not yet open, that will deliver to `listener`. */
    WindowsMidiInput (WinmmApi& api, MidiPortListener& listener);

    /** Stops and closes the input. */
    ~WindowsMidiInput() override;

    /** Opens winmm's input `deviceId` and queues every buffer; false, with nothing held, on any failure. */
    bool open (UINT deviceId);

    /** Starts the driver and the delivery to the listener. */
    void start() override;

    /** Stops the driver; once this returns, the listener is not called again until start(). */
    void stop() override;

private:
    struct Buffer
    {
        MIDIHDR header {};
        char data[bufferSize] {};
        bool prepared = false, withDriver = false;
    };

    void run() override;
    void handleNotice (const MSG& notice);
    void handleReturnedBuffer (const MIDIHDR* header, bool broken);
    Buffer* findBuffer (const MIDIHDR* header) const;
    bool prepareBuffers();
    bool queueBuffer (Buffer& buffer);
    bool queueAllBuffers();
    void close();
    bool takeBuffersBack();
    void endThread();

    WinmmApi& api;
    MidiPortListener& listener;
    HMIDIIN handle = nullptr;
    std::unique_ptr<Buffer[]> buffers;
    DWORD threadId = 0;
    juce::WaitableEvent threadReady, buffersBack;

    // Guards the assembler and whether it delivers: stop() waits on it for a delivery under way.
    std::mutex deliveryLock;
    MidiInputAssembler assembler;
    bool delivering = false, started = false;

    // Guards which buffers the driver holds, and whether they may still go back to it.
    std::mutex queueLock;
    int numWithDriver = 0;
    bool closing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowsMidiInput)
};
