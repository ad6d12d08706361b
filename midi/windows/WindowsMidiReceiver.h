#pragma once

#include "midi/MidiInputPort.h"
#include "midi/MidiPortListener.h"
#include "midi/windows/MidiInputAssembler.h"
#include "midi/windows/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>
#include <mutex>

/**
    The thread and the SysEx buffers of a WindowsMidiInput.

    The driver posts its notices to this thread (CALLBACK_THREAD), so nothing
    of ours runs inside the driver. The thread assembles the messages,
    delivers them to the listener, and only then hands the buffer that a
    MIM_LONGDATA or MIM_LONGERROR notice brought back to the driver again: a
    buffer is never queued again because of another buffer's notice or of its
    flags, so none is refilled before its contents have been read.

    Everything the thread touches lives in this object, so that an input
    whose thread does not end in time can give the whole object up rather
    than free it under a running thread.
*/
class WindowsMidiReceiver final : private juce::Thread
{
public:
    /** How many SysEx buffers the driver holds; each one goes back to it as soon as it is read. */
    static constexpr int numBuffers = 32;

    /** The size of each SysEx buffer; a longer message spans several. */
    static constexpr int bufferSize = 1024;

    /** A receiver for `api`'s input, delivering to `listener` as coming from `source`. */
    WindowsMidiReceiver (WinmmApi& api, MidiInputPort& source, MidiPortListener& listener);

    /** Only once end() has succeeded, or the thread never started. */
    ~WindowsMidiReceiver() override;

    /** Starts the thread and waits up to `limitMs` until it can take notices; false if it cannot. */
    bool launch (int limitMs);

    /** The thread to which the driver is to post its notices. */
    DWORD getNoticeThreadId() const;

    /** Prepares every buffer for the open input `handle` and queues it; false on any failure. */
    bool queueBuffers (HMIDIIN handle);

    /** Starts or ends the delivery to the listener; ending waits for a delivery under way. */
    void setDelivering (bool shouldDeliver);

    /** Resets the input, waits up to `limitMs` for every buffer, then unprepares them; false if any is kept. */
    bool takeBuffersBack (int limitMs);

    /** Asks the thread to end and waits up to `limitMs` for it; false if it still runs. */
    bool end (int limitMs);

    /** Lets go of the buffers that the driver may still write into, without freeing them. */
    void giveUpBuffers();

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
    bool queueBuffer (Buffer& buffer);
    bool unprepareBuffers();

    WinmmApi& api;
    HMIDIIN handle = nullptr;
    std::unique_ptr<Buffer[]> buffers;
    std::atomic<DWORD> threadId { 0 };
    juce::WaitableEvent threadReady, buffersBack;

    // Wakes the thread to end; unlike a posted WM_QUIT, which a full message queue refuses, it cannot be lost.
    HANDLE wakeEvent = nullptr;

    // Guards the assembler and whether it delivers: ending the delivery waits on it for a delivery under way.
    std::mutex deliveryLock;
    MidiInputAssembler assembler;
    bool delivering = false;

    // Guards which buffers the driver holds, and whether they may still go back to it; timed, because a
    // driver call that hangs inside it must not hang the close as well.
    std::timed_mutex queueLock;
    int numWithDriver = 0;
    bool closing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowsMidiReceiver)
};
