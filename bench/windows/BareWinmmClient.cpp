#include "bench/windows/BareWinmmClient.h"

namespace
{
template <typename Caps, typename GetCaps>
UINT findDevice (UINT numDevices, const juce::String& name, GetCaps&& getCaps)
{
    for (UINT id = 0; id < numDevices; ++id)
    {
        Caps caps {};

        if (getCaps (id, caps) == MMSYSERR_NOERROR && juce::String (caps.szPname).startsWith (name))
            return id;
    }

    return numDevices;
}
} // namespace

BareWinmmClient::BareWinmmClient (const juce::String& name)
    : noticeEvent (CreateEventW (nullptr, FALSE, FALSE, nullptr))
{
    const auto inputId = findDevice<MIDIINCAPSW> (midiInGetNumDevs(), name,
                                                  [] (UINT id, MIDIINCAPSW& caps)
                                                  { return midiInGetDevCapsW (id, &caps, sizeof (caps)); });
    const auto outputId = findDevice<MIDIOUTCAPSW> (midiOutGetNumDevs(), name,
                                                    [] (UINT id, MIDIOUTCAPSW& caps)
                                                    { return midiOutGetDevCapsW (id, &caps, sizeof (caps)); });

    started = noticeEvent != nullptr && openInput (inputId) && openOutput (outputId) &&
              midiInStart (input) == MMSYSERR_NOERROR;
}

BareWinmmClient::~BareWinmmClient()
{
    if (input != nullptr)
    {
        midiInReset (input);

        for (auto& buffer : inBuffers)
            midiInUnprepareHeader (input, &buffer.header, sizeof (buffer.header));

        midiInClose (input);
    }

    if (output != nullptr)
    {
        midiOutUnprepareHeader (output, &outBuffer.header, sizeof (outBuffer.header));
        midiOutClose (output);
    }

    if (noticeEvent != nullptr)
        CloseHandle (noticeEvent);
}

bool BareWinmmClient::isOpen() const
{
    return started;
}

bool BareWinmmClient::openInput (UINT deviceId)
{
    if (midiInOpen (&input, deviceId, (DWORD_PTR) noticeEvent, 0, CALLBACK_EVENT) != MMSYSERR_NOERROR)
    {
        input = nullptr;
        return false;
    }

    for (auto& buffer : inBuffers)
    {
        buffer.header.lpData = buffer.data;
        buffer.header.dwBufferLength = bufferSize;

        if (midiInPrepareHeader (input, &buffer.header, sizeof (buffer.header)) != MMSYSERR_NOERROR ||
            midiInAddBuffer (input, &buffer.header, sizeof (buffer.header)) != MMSYSERR_NOERROR)
            return false;
    }

    return true;
}

bool BareWinmmClient::openOutput (UINT deviceId)
{
    if (midiOutOpen (&output, deviceId, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    {
        output = nullptr;
        return false;
    }

    outBuffer.header.lpData = outBuffer.data;
    outBuffer.header.dwBufferLength = bufferSize;
    return midiOutPrepareHeader (output, &outBuffer.header, sizeof (outBuffer.header)) == MMSYSERR_NOERROR;
}

bool BareWinmmClient::exchange (const juce::MidiMessage& message)
{
    auto& header = outBuffer.header;
    memcpy (header.lpData, message.getRawData(), (size_t) message.getRawDataSize());
    header.dwBufferLength = (DWORD) message.getRawDataSize();

    if (midiOutLongMsg (output, &header, sizeof (header)) != MMSYSERR_NOERROR)
        return false;

    // Without a notice to wait for, the done flag tells when the driver has finished.
    while ((((volatile DWORD&) header.dwFlags) & MHDR_DONE) == 0)
        SwitchToThread();

    header.dwBufferLength = bufferSize;
    const auto deadline = GetTickCount64() + 1000;

    for (auto now = GetTickCount64(); now < deadline; now = GetTickCount64())
    {
        if (WaitForSingleObject (noticeEvent, (DWORD) (deadline - now)) != WAIT_OBJECT_0)
            return false;

        if (takeReply())
            return true;
    }

    return false;
}

bool BareWinmmClient::takeReply()
{
    for (auto& buffer : inBuffers)
    {
        if ((((volatile DWORD&) buffer.header.dwFlags) & MHDR_DONE) == 0)
            continue;

        const auto filled = buffer.header.dwBytesRecorded > 0;
        buffer.header.dwBytesRecorded = 0;
        midiInAddBuffer (input, &buffer.header, sizeof (buffer.header));

        if (filled)
            return true;
    }

    return false;
}
