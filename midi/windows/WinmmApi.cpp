#include "midi/windows/WinmmApi.h"

namespace
{
/** Passes every call straight to winmm. */
class SystemWinmmApi final : public WinmmApi
{
public:
    UINT inGetNumDevs() override
    {
        return midiInGetNumDevs();
    }

    MMRESULT inGetDevCaps (UINT deviceId, MIDIINCAPSW& caps) override
    {
        return midiInGetDevCapsW (deviceId, &caps, sizeof (caps));
    }

    MMRESULT inOpen (HMIDIIN& handle, UINT deviceId, DWORD threadId) override
    {
        return midiInOpen (&handle, deviceId, threadId, 0, CALLBACK_THREAD);
    }

    MMRESULT inPrepareHeader (HMIDIIN handle, MIDIHDR& header) override
    {
        return midiInPrepareHeader (handle, &header, sizeof (header));
    }

    MMRESULT inAddBuffer (HMIDIIN handle, MIDIHDR& header) override
    {
        return midiInAddBuffer (handle, &header, sizeof (header));
    }

    MMRESULT inUnprepareHeader (HMIDIIN handle, MIDIHDR& header) override
    {
        return midiInUnprepareHeader (handle, &header, sizeof (header));
    }

    MMRESULT inStart (HMIDIIN handle) override
    {
        return midiInStart (handle);
    }

    MMRESULT inStop (HMIDIIN handle) override
    {
        return midiInStop (handle);
    }

    MMRESULT inReset (HMIDIIN handle) override
    {
        return midiInReset (handle);
    }

    MMRESULT inClose (HMIDIIN handle) override
    {
        return midiInClose (handle);
    }

    UINT outGetNumDevs() override
    {
        return midiOutGetNumDevs();
    }

    MMRESULT outGetDevCaps (UINT deviceId, MIDIOUTCAPSW& caps) override
    {
        return midiOutGetDevCapsW (deviceId, &caps, sizeof (caps));
    }

    MMRESULT outOpen (HMIDIOUT& handle, UINT deviceId, HANDLE event) override
    {
        return midiOutOpen (&handle, deviceId, (DWORD_PTR) event, 0, CALLBACK_EVENT);
    }

    MMRESULT outShortMsg (HMIDIOUT handle, DWORD message) override
    {
        return midiOutShortMsg (handle, message);
    }

    MMRESULT outPrepareHeader (HMIDIOUT handle, MIDIHDR& header) override
    {
        return midiOutPrepareHeader (handle, &header, sizeof (header));
    }

    MMRESULT outLongMsg (HMIDIOUT handle, MIDIHDR& header) override
    {
        return midiOutLongMsg (handle, &header, sizeof (header));
    }

    MMRESULT outUnprepareHeader (HMIDIOUT handle, MIDIHDR& header) override
    {
        return midiOutUnprepareHeader (handle, &header, sizeof (header));
    }

    MMRESULT outReset (HMIDIOUT handle) override
    {
        return midiOutReset (handle);
    }

    MMRESULT outClose (HMIDIOUT handle) override
    {
        return midiOutClose (handle);
    }
};
} // namespace

WinmmApi& WinmmApi::getSystem()
{
    static SystemWinmmApi api;
    return api;
}
