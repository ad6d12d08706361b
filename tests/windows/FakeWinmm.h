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
    and misbehaves where they ask it to.

    Input: queued buffers are filled in order, marked done and, unless the
    test holds the notice back, announced with MM_MIM_LONGDATA posted to the
    input's thread; a reset hands every queued buffer back as `reset` says.
    Output: the event is signalled for every notice, as CALLBACK_EVENT does:
    for MOM_OPEN (late, as the first SysEx send goes out), MOM_CLOSE and
    MOM_DONE. A SysEx send completes as `completion` says.
*/
class FakeWinmm final : public WinmmApi
{
public:
    /** A driver with one input and one output, as named below. */
    FakeWinmm() = default;

    /** Waits for the sends it is still completing and the calls that still hang. */
    ~FakeWinmm() override;

    /** The devices' names, in winmm's numbering; an empty name is a device whose capabilities cannot be read. */
    juce::StringArray inputNames { "Fake In" }, outputNames { "Fake Out" };

    /** How the fake output treats a SysEx send: completed from another thread after 20 ms, only at a reset, never,
        or refused. */
    enum class Completion
    {
        soon,
        atReset,
        never,
        refused
    } completion = Completion::soon;

    /** How an input reset hands the queued buffers back: done with their notices, done with the notices held back
        until postHeldNotices(), or kept, as a broken driver does. */
    enum class Reset
    {
        noticesAtOnce,
        noticesHeld,
        buffersKept
    } reset = Reset::noticesAtOnce;

    /** Signalled once an input reset has marked the buffers done. */
    juce::WaitableEvent resetDone;

    /** Posts the notices that a reset held back. */
    void postHeldNotices();

    /** When above 0, the next call to queue a buffer hangs that long, or until the fake ends. */
    std::atomic<int> addBufferHangMs { 0 };

    /** True while a call to queue a buffer hangs. */
    std::atomic<bool> hanging { false };

    /** Fills the oldest queued buffer with `bytes` and marks it done; nullptr when none is queued. */
    MIDIHDR* fillBuffer (const std::vector<juce::uint8>& bytes, bool announce = true);

    /** Posts a notice to the open input's thread. */
    void post (UINT message, LPARAM parameter);

    /** What the driver holds and was asked for so far. */
    struct State
    {
        /** The winmm calls that the tests look for, by name, in order. */
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
    MMRESULT addBuffer (MIDIHDR& header);
    void complete (MIDIHDR& header);

    std::mutex lock;
    State state;
    DWORD inputThread = 0;
    HANDLE outputEvent = nullptr;
    MIDIHDR* sending = nullptr;
    std::vector<std::thread> completers;
    std::vector<MIDIHDR*> heldNotices;
    bool openNoticeDue = false;
    std::atomic<int> callsInside { 0 };
    juce::WaitableEvent hangOver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FakeWinmm)
};
