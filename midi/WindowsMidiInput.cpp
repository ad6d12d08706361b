#include "midi/WindowsMidiInput.h"

WindowsMidiInput::WindowsMidiInput (WinmmApi& apiToUse, MidiPortListener& listenerToUse)
    : juce::Thread ("VT5150 MIDI input")
    , api (apiToUse)
    , listener (listenerToUse)
    , assembler ([this] (const juce::MidiMessage& message) { listener.handleIncomingMidiMessage (this, message); })
{
}

WindowsMidiInput::~WindowsMidiInput()
{
    stop();
    close();
}

bool WindowsMidiInput::open (UINT deviceId)
{
    startThread();
    threadReady.wait();

    if (api.inOpen (handle, deviceId, threadId) != MMSYSERR_NOERROR)
    {
        handle = nullptr;
        endThread();
        return false;
    }

    if (! prepareBuffers() || ! queueAllBuffers())
    {
        close();
        return false;
    }

    return true;
}

void WindowsMidiInput::start()
{
    if (started)
        return;

    {
        const std::lock_guard<std::mutex> lock (deliveryLock);
        assembler.dropPartialMessage();
        delivering = true;
    }

    started = true;

    // Should the driver refuse, nothing arrives, and each exchange fails as with a silent device.
    const auto result = api.inStart (handle);
    jassert (result == MMSYSERR_NOERROR);
    juce::ignoreUnused (result);
}

void WindowsMidiInput::stop()
{
    if (! started)
        return;

    const auto result = api.inStop (handle);
    jassert (result == MMSYSERR_NOERROR);
    juce::ignoreUnused (result);

    const std::lock_guard<std::mutex> lock (deliveryLock);
    delivering = false;
    started = false;
}

void WindowsMidiInput::run()
{
    MSG notice {};

    // A thread has a message queue only once it asks for a message; the driver
    // may post to it as soon as the input is open.
    PeekMessageW (&notice, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    threadId = GetCurrentThreadId();
    threadReady.signal();

    while (GetMessageW (&notice, nullptr, 0, 0) > 0)
        handleNotice (notice);
}

void WindowsMidiInput::handleNotice (const MSG& notice)
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

void WindowsMidiInput::handleReturnedBuffer (const MIDIHDR* header, bool broken)
{
    Buffer* buffer = nullptr;

    {
        const std::lock_guard<std::mutex> lock (queueLock);
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
    const std::lock_guard<std::mutex> lock (queueLock);
    buffer->withDriver = false;
    --numWithDriver;

    if (! closing)
        queueBuffer (*buffer);
    else if (numWithDriver == 0)
        buffersBack.signal();
}

WindowsMidiInput::Buffer* WindowsMidiInput::findBuffer (const MIDIHDR* header) const
{
    for (int i = 0; buffers != nullptr && i < numBuffers; ++i)
        if (header == &buffers[i].header && buffers[i].withDriver)
            return &buffers[i];

    return nullptr;
}

bool WindowsMidiInput::prepareBuffers()
{
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

    return true;
}

bool WindowsMidiInput::queueBuffer (Buffer& buffer)
{
    buffer.header.dwBytesRecorded = 0;

    // A buffer that the driver refuses stays ours; the others still carry the input.
    if (api.inAddBuffer (handle, buffer.header) != MMSYSERR_NOERROR)
        return false;

    buffer.withDriver = true;
    ++numWithDriver;
    return true;
}

bool WindowsMidiInput::queueAllBuffers()
{
    const std::lock_guard<std::mutex> lock (queueLock);

    for (int i = 0; i < numBuffers; ++i)
        if (! queueBuffer (buffers[i]))
            return false;

    return true;
}

void WindowsMidiInput::close()
{
    if (handle != nullptr)
    {
        // Buffers that the driver may still write into are given up, never freed.
        if (! takeBuffersBack())
        {
            const std::lock_guard<std::mutex> lock (queueLock);
            juce::ignoreUnused (buffers.release());
        }

        const auto result = api.inClose (handle);
        jassert (result == MMSYSERR_NOERROR);
        juce::ignoreUnused (result);
        handle = nullptr;
    }

    endThread();
}

bool WindowsMidiInput::takeBuffersBack()
{
    {
        const std::lock_guard<std::mutex> lock (queueLock);
        closing = true;

        if (numWithDriver == 0)
            buffersBack.signal();
    }

    // The reset hands every queued buffer back, each with its own MIM_LONGDATA notice.
    if (api.inReset (handle) != MMSYSERR_NOERROR || ! buffersBack.wait (closeLimitMs))
        return false;

    for (int i = 0; buffers != nullptr && i < numBuffers; ++i)
        if (buffers[i].prepared && api.inUnprepareHeader (handle, buffers[i].header) != MMSYSERR_NOERROR)
            return false;

    return true;
}

void WindowsMidiInput::endThread()
{
    // Once the thread has ended, its id may belong to another thread: it is forgotten.
    if (threadId != 0)
        PostThreadMessageW (threadId, WM_QUIT, 0, 0);

    stopThread (-1);
    threadId = 0;
}
