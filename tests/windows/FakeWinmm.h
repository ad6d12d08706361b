#pragma once

#include "midi/windows/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

/**
    A winmm driver faked in the test, with one input and one output open at a
    time, that behaves as Wine's ALSA driver does where the tests need it to,
    and misbehaves as the members below script it to.

    Input: queued buffers are filled in order, marked done, and announced by a
    notice posted to the input's thread. Output: a SysEx send signals the event
    at once, as a notice of another kind would (Wine's MOM_OPEN comes as late as
    the first send), and again when it completes.
*/
class FakeWinmm final : public WinmmApi
{
public:
    /** Waits for its own threads. */
    ~FakeWinmm() override;

    /** The devices' names, in winmm's numbering; an empty name is a device whose capabilities cannot be read. */
    juce::StringArray inputNames { "Fake In" }, outputNames { "Fake Out" };

    /** How a SysEx send completes: from another thread after 20 ms, only at a reset, never, or refused. */
    enum class Completion
    {
        soon,
        atReset,
        never,
        refused
    } completion = Completion::soon;

    /** How an input reset hands the queued buffers back: done with their notices, done with the notices 30 ms
        later (after the call "lateNotices"), or kept, as a broken driver does. */
    enum class Reset
    {
        noticesAtOnce,
        noticesLate,
        buffersKept
    } reset = Reset::noticesAtOnce;

    /** When above 0, the next call to queue an input buffer hangs that long, then returns without queueing it. */
    std::atomic<int> addBufferHangMs { 0 };

    /** True once a call has hung. */
    std::atomic<bool> hanging { false };

    /** Fills the oldest queued buffer, if any, with `bytes`, marks it done and posts `notice` with it. */
    void fillBuffer (const std::vector<juce::uint8>& bytes, UINT notice = MM_MIM_LONGDATA);

    /** Posts a notice to the open input's thread. */
    void post (UINT message, LPARAM parameter);

    /** What the driver holds and was asked for so far. */
    struct State
    {
        /** The calls that touch a port, by name, in order, and "lateNotices" when late notices go out. */
        juce::StringArray calls;
        /** The open input's and output's device numbers, ~0u when none is open. */
        UINT openedInput = ~0u, openedOutput = ~0u;
        /** The input buffers the driver holds. */
        std::deque<MIDIHDR*> queued;
        /** Every SysEx message that went out, and every short message. */
        std::vector<std::vector<juce::uint8>> longSent;
        std::vector<DWORD> shortSent;
    };

    /** A copy of the state, taken under the driver's lock. */
    State getState();

    /** How often the call `name` was made so far. */
    int countCalls (const juce::String& name);

    UINT inGetNumDevs() override;
    MMRESULT inGetDevCaps (UINT deviceId, MIDIINCAPSW& caps) override;
    MMRESULT inOpen (HMIDIIN& handle, UINT deviceId, DWORD threadId) override;
    MMRESULT inPrepareHeader (HMIDIIN handle, MIDIHDR& header) override;
    MMRESULT inAddBuffer (HMIDIIN handle, MIDIHDR& header) override;
    MMRESULT inUnprepareHeader (HMIDIIN handle, MIDIHDR& header) override;
    MMRESULT inStart (HMIDIIN handle) override;
    MMRESULT inStop (HMIDIIN handle) override;
    MMRESULT inReset (HMIDIIN handle) override;
    MMRESULT inClose (HMIDIIN handle) override;
    UINT outGetNumDevs() override;
    MMRESULT outGetDevCaps (UINT deviceId, MIDIOUTCAPSW& caps) override;
    MMRESULT outOpen (HMIDIOUT& handle, UINT deviceId, HANDLE event) override;
    MMRESULT outShortMsg (HMIDIOUT handle, DWORD message) override;
    MMRESULT outPrepareHeader (HMIDIOUT handle, MIDIHDR& header) override;
    MMRESULT outLongMsg (HMIDIOUT handle, MIDIHDR& header) override;
    MMRESULT outUnprepareHeader (HMIDIOUT handle, MIDIHDR& header) override;
    MMRESULT outReset (HMIDIOUT handle) override;
    MMRESULT outClose (HMIDIOUT handle) override;

private:
    std::unique_lock<std::mutex> record (const char* call);
    MMRESULT prepare (const char* call, MIDIHDR& header);
    MMRESULT unprepare (const char* call, MIDIHDR& header);
    void complete (MIDIHDR& header);

    std::mutex lock;
    State state;
    DWORD inputThread = 0;
    HANDLE outputEvent = nullptr;
    MIDIHDR* sending = nullptr;
    std::vector<std::thread> workers;
};
