#include "midi/windows/WindowsMidiOutput.h"

WindowsMidiOutput::WindowsMidiOutput (WinmmApi& apiToUse, DWORD completionLimitMsToUse)
    : api (apiToUse)
    , completionLimitMs (completionLimitMsToUse)
    , buffer (std::make_unique<LongBuffer>())
{
}

WindowsMidiOutput::~WindowsMidiOutput()
{
    close();
}

bool WindowsMidiOutput::open (UINT deviceId)
{
    // Auto-reset: each wait consumes the signal that woke it.
    doneEvent = CreateEventW (nullptr, FALSE, FALSE, nullptr);

    if (doneEvent != nullptr && api.outOpen (handle, deviceId, doneEvent) == MMSYSERR_NOERROR)
        return true;

    handle = nullptr;
    close();
    return false;
}

void WindowsMidiOutput::sendMessageNow (const juce::MidiMessage& message)
{
    if (handle == nullptr || stuck)
        return;

    if (message.isSysEx() || message.getRawDataSize() > 3)
        sendLong (message);
    else
        sendShort (message);
}

bool WindowsMidiOutput::isStuck() const
{
    return stuck;
}

void WindowsMidiOutput::sendShort (const juce::MidiMessage& message)
{
    const auto* bytes = message.getRawData();
    DWORD packed = 0;

    for (int i = message.getRawDataSize(); --i >= 0;)
        packed = (packed << 8) | bytes[i];

    // A refused message is lost as it would be on a broken cable; nothing waits on it.
    const auto result = api.outShortMsg (handle, packed);
    jassert (result == MMSYSERR_NOERROR);
    juce::ignoreUnused (result);
}

void WindowsMidiOutput::sendLong (const juce::MidiMessage& message)
{
    const auto size = (DWORD) message.getRawDataSize();

    if (! makeRoom (size))
        return;

    auto& header = buffer->header;
    memcpy (header.lpData, message.getRawData(), size);

    // The message's own length goes out, from a buffer that may be longer.
    header.dwBufferLength = size;
    header.dwFlags &= ~(DWORD) MHDR_DONE;

    if (api.outLongMsg (handle, header) == MMSYSERR_NOERROR && ! awaitCompletion())
    {
        // Besides handing back every buffer the driver holds, midiOutReset turns
        // off every note on all 16 channels: the device then also receives
        // note-offs (or All Notes Off), right after the unfinished SysEx message.
        api.outReset (handle);

        if (! awaitCompletion())
        {
            stuck = true;
            return;
        }
    }

    // The driver unprepares the buffer at the length it prepared it with.
    header.dwBufferLength = buffer->capacity;
}

bool WindowsMidiOutput::makeRoom (DWORD size)
{
    if (buffer->prepared && size <= buffer->capacity)
        return true;

    if (! unprepare())
    {
        stuck = true;
        return false;
    }

    buffer->data.malloc (size);
    buffer->capacity = size;

    auto& header = buffer->header;
    header = {};
    header.lpData = buffer->data.get();
    header.dwBufferLength = size;
    buffer->prepared = api.outPrepareHeader (handle, header) == MMSYSERR_NOERROR;
    return buffer->prepared;
}

bool WindowsMidiOutput::unprepare()
{
    if (buffer->prepared && api.outUnprepareHeader (handle, buffer->header) != MMSYSERR_NOERROR)
        return false;

    buffer->prepared = false;
    return true;
}

bool WindowsMidiOutput::awaitCompletion()
{
    const auto deadline = GetTickCount64() + completionLimitMs;

    // The event also wakes for other notices (MOM_OPEN, MOM_CLOSE) and may still be set by
    // an earlier send's MOM_DONE, which no wait consumed: only the flag says done. The event
    // is not reset before a send, which under Wine would cost a round trip to its server.
    const volatile DWORD& flags = buffer->header.dwFlags;

    while ((flags & MHDR_DONE) == 0)
    {
        const auto now = GetTickCount64();

        if (now >= deadline || WaitForSingleObject (doneEvent, (DWORD) (deadline - now)) == WAIT_FAILED)
            return false;
    }

    return true;
}

void WindowsMidiOutput::close()
{
    if (handle != nullptr)
    {
        // The send already waited out a reset: this one, which turns the notes off
        // again as well, only gives the driver a last chance.
        if (stuck)
            api.outReset (handle);

        stuck = ! unprepare();

        const auto result = api.outClose (handle);
        jassert (result == MMSYSERR_NOERROR || stuck);
        juce::ignoreUnused (result);
        handle = nullptr;
    }

    // A buffer and event that the driver may still use are given up, never freed.
    if (stuck)
    {
        juce::ignoreUnused (buffer.release());
        return;
    }

    if (doneEvent != nullptr)
        CloseHandle (doneEvent);

    doneEvent = nullptr;
}
