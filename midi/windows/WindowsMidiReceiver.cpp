#include "midi/windows/WindowsMidiReceiver.h"

WindowsMidiReceiver::WindowsMidiReceiver (WinmmApi& apiToUse, MidiInputPort& source, MidiPortListener& listener)
    : juce::Thread ("VT5150 MIDI input")
    , api (apiToUse)
    , wakeEvent (CreateEventW (nullptr, TRUE, FALSE, nullptr))
    , assembler ([&source, &listener] (const juce::MidiMessage& message)
                 { listener.handleIncomingMidiMessage (&source, message); })
{
}

WindowsMidiReceiver::~WindowsMidiReceiver()
{
    if (wakeEvent != nullptr)
        CloseHandle (wakeEvent);
}

bool WindowsMidiReceiver::launch (int limitMs)
{
    return wakeEvent != nullptr && startThread() && threadReady.wait (limitMs);
}

DWORD WindowsMidiReceiver::getNoticeThreadId() const
{
    return threadId;
}

bool WindowsMidiReceiver::queueBuffers (HMIDIIN handleToUse)
{
    handle = handleToUse;
    buffers = std::make_unique<Buffer[]> (numBuffers);

    for (int i = 0; i < numBuffers; ++i)
    {
        auto& buffer = buffers[i];
        buffer.header.lpData = buffer.data;
        buffer.header.dwBufferLength = bufferSize;

        if (api.inPrepareHeader (handle, buffer.header) != MMSYSERR_NOERROR)
            return false;

        buffer.prepared = true;
    }

    const std::lock_guard<std::timed_mutex> lock (queueLock);

    for (int i = 0; i < numBuffers; ++i)
        if (! queueBuffer (buffers[i]))
            return false;

    return true;
}

void WindowsMidiReceiver::setDelivering (bool shouldDeliver)
{
    const std::lock_guard<std::mutex> lock (deliveryLock);

    if (shouldDeliver)
        assembler.dropPartialMessage();

    delivering = shouldDeliver;
}

bool WindowsMidiReceiver::takeBuffersBack (int limitMs)
{
    if (handle == nullptr)
        return true;

    {
        const std::unique_lock<std::timed_mutex> lock (queueLock, std::chrono::milliseconds (limitMs));

        if (! lock.owns_lock())
            return false;

        closing = true;

        if (numWithDriver == 0)
            buffersBack.signal();
    }

    // The reset hands every queued buffer back, each with its own MIM_LONGDATA notice.
    return api.inReset (handle) == MMSYSERR_NOERROR && buffersBack.wait (limitMs) && unprepareBuffers();
}

bool WindowsMidiReceiver::end (int limitMs)
{
    signalThreadShouldExit();

    if (wakeEvent != nullptr)
        SetEvent (wakeEvent);

    return waitForThreadToExit (limitMs);
}

void WindowsMidiReceiver::giveUpBuffers()
{
    juce::ignoreUnused (buffers.release());
}

void WindowsMidiReceiver::run()
{
    MSG notice {};

    // A thread has a message queue only once it asks for a message; the driver
    // may post to it as soon as the input is open.
    PeekMessageW (&notice, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    threadId = GetCurrentThreadId();
    threadReady.signal();

    // One notice per wait: the wait returns at once while notices are queued
    // (MWMO_INPUTAVAILABLE), so a look that finds the queue empty, a round trip
    // to the Wine server under Wine, is never needed.
    while (! threadShouldExit())
    {
        if (MsgWaitForMultipleObjectsEx (1, &wakeEvent, INFINITE, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE) == WAIT_FAILED)
            return;

        if (! threadShouldExit() && PeekMessageW (&notice, nullptr, 0, 0, PM_REMOVE))
            handleNotice (notice);
    }
}

void WindowsMidiReceiver::handleNotice (const MSG& notice)
{
    switch (notice.message)
    {
        case MM_MIM_DATA:
        case MM_MIM_ERROR:
        {
            const std::lock_guard<std::mutex> lock (deliveryLock);

            if (! delivering)
                break;

            if (notice.message == MM_MIM_DATA)
                assembler.pushShortMessage ((juce::uint32) notice.lParam);
            else
                assembler.dropPartialMessage();

            break;
        }

        case MM_MIM_LONGDATA:
        case MM_MIM_LONGERROR:
            handleReturnedBuffer (reinterpret_cast<const MIDIHDR*> (notice.lParam), notice.message == MM_MIM_LONGERROR);
            break;

        default:
            break;
    }
}

void WindowsMidiReceiver::handleReturnedBuffer (const MIDIHDR* header, bool broken)
{
    Buffer* buffer = nullptr;

    {
        const std::lock_guard<std::timed_mutex> lock (queueLock);
        buffer = findBuffer (header);

        if (buffer == nullptr)
            return;
    }

    {
        const std::lock_guard<std::mutex> lock (deliveryLock);

        if (delivering && broken)
            assembler.dropPartialMessage();
        else if (delivering)
            assembler.pushSysExBytes (reinterpret_cast<const juce::uint8*> (buffer->data),
                                      (int) juce::jmin (buffer->header.dwBytesRecorded, (DWORD) bufferSize));
    }

    // Only now, with its contents read, may this buffer be filled again.
    const std::lock_guard<std::timed_mutex> lock (queueLock);
    buffer->withDriver = false;
    --numWithDriver;

    if (! closing)
        queueBuffer (*buffer);
    else if (numWithDriver == 0)
        buffersBack.signal();
}

WindowsMidiReceiver::Buffer* WindowsMidiReceiver::findBuffer (const MIDIHDR* header) const
{
    for (int i = 0; buffers != nullptr && i < numBuffers; ++i)
        if (header == &buffers[i].header && buffers[i].withDriver)
            return &buffers[i];

    return nullptr;
}

bool WindowsMidiReceiver::queueBuffer (Buffer& buffer)
{
    buffer.header.dwBytesRecorded = 0;

    // A buffer that the driver refuses stays ours; the others still carry the input.
    if (api.inAddBuffer (handle, buffer.header) != MMSYSERR_NOERROR)
        return false;

    buffer.withDriver = true;
    ++numWithDriver;
    return true;
}

bool WindowsMidiReceiver::unprepareBuffers()
{
    for (int i = 0; buffers != nullptr && i < numBuffers; ++i)
        if (buffers[i].prepared && api.inUnprepareHeader (handle, buffers[i].header) != MMSYSERR_NOERROR)
            return false;

    return true;
}
