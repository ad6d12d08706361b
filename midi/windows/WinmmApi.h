#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// After windows.h, whose types it uses.
#include <mmsystem.h>

/**
    The winmm MIDI calls that the Windows MIDI ports make, one virtual function
    each, so that a test can stand in for a driver where a real one cannot be
    made to misbehave (a SysEx send that never completes, for one).

    Each function has the meaning and result of the winmm call it is named
    after. Inputs are opened to post their notices to a thread
    (CALLBACK_THREAD), outputs to signal an event (CALLBACK_EVENT).
*/
class WinmmApi
{
public:
    virtual ~WinmmApi() = default;

    /** Returns the system's winmm calls. */
    static WinmmApi& getSystem();

    /** midiInGetNumDevs. */
    virtual UINT inGetNumDevs() = 0;

    /** midiInGetDevCapsW. */
    virtual MMRESULT inGetDevCaps (UINT deviceId, MIDIINCAPSW& caps) = 0;

    /** midiInOpen, posting MM_MIM_* notices to the thread `threadId`. */
    virtual MMRESULT inOpen (HMIDIIN& handle, UINT deviceId, DWORD threadId) = 0;

    /** midiInPrepareHeader. */
    virtual MMRESULT inPrepareHeader (HMIDIIN handle, MIDIHDR& header) = 0;

    /** midiInAddBuffer. */
    virtual MMRESULT inAddBuffer (HMIDIIN handle, MIDIHDR& header) = 0;

    /** midiInUnprepareHeader. */
    virtual MMRESULT inUnprepareHeader (HMIDIIN handle, MIDIHDR& header) = 0;

    /** midiInStart. */
    virtual MMRESULT inStart (HMIDIIN handle) = 0;

    /** midiInStop. */
    virtual MMRESULT inStop (HMIDIIN handle) = 0;

    /** midiInReset. */
    virtual MMRESULT inReset (HMIDIIN handle) = 0;

    /** midiInClose. */
    virtual MMRESULT inClose (HMIDIIN handle) = 0;

    /** midiOutGetNumDevs. */
    virtual UINT outGetNumDevs() = 0;

    /** midiOutGetDevCapsW. */
    virtual MMRESULT outGetDevCaps (UINT deviceId, MIDIOUTCAPSW& caps) = 0;

    /** midiOutOpen, signalling `event` at every MOM_* notice. */
    virtual MMRESULT outOpen (HMIDIOUT& handle, UINT deviceId, HANDLE event) = 0;

    /** midiOutShortMsg. */
    virtual MMRESULT outShortMsg (HMIDIOUT handle, DWORD message) = 0;

    /** midiOutPrepareHeader. */
    virtual MMRESULT outPrepareHeader (HMIDIOUT handle, MIDIHDR& header) = 0;

    /** midiOutLongMsg. */
    virtual MMRESULT outLongMsg (HMIDIOUT handle, MIDIHDR& header) = 0;

    /** midiOutUnprepareHeader. */
    virtual MMRESULT outUnprepareHeader (HMIDIOUT handle, MIDIHDR& header) = 0;

    /** midiOutReset. */
    virtual MMRESULT outReset (HMIDIOUT handle) = 0;

    /** midiOutClose. */
    virtual MMRESULT outClose (HMIDIOUT handle) = 0;
};
