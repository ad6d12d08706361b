#pragma once

#include "midi/windows/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

/**
    A winmm driver faked in the test, with one input and one output open at a
    time, that behaves as Wine's ALSA driver does where the tests need it to,
    and misbehaves as its public members script it to.

    Input: queued buffers are filled in order, marked done, and announced by a
    notice posted to the input's thread. Output: a SysEx send signals the event
    at once, as a notice of another kind would (Wine's MOM_OPEN comes as late as
    the first send), and again when it completes.
*/
class FakeWinmm final : public WinmmApi
{
public:
    /** Waits for its own threads. */
    ~FakeWinmm() override
    {
        for (auto& worker : workers)
            worker.join();
    }

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
    State getState()
    {
        const std::lock_guard<std::mutex> guard (lock);
        return state;
    }

    /** How often the call `name` was made so far. */
    int countCalls (const juce::String& name)
    {
        const auto calls = getState().calls;
        return (int) std::count (calls.begin(), calls.end(), name);
    }

    /** Posts a notice to the open input's thread. */
    void post (UINT message, LPARAM parameter)
    {
        PostThreadMessageW (inputThread, message, 0, parameter);
    }

    /** Fills the oldest queued buffer, if any, with `bytes`, marks it done and posts `notice` with it. */
    void fillBuffer (const std::vector<juce::uint8>& bytes, UINT notice = MM_MIM_LONGDATA)
    {
        const std::lock_guard<std::mutex> guard (lock);

        if (state.queued.empty())
            return;

        auto* header = state.queued.front();
        state.queued.pop_front();
        header->dwBytesRecorded = (DWORD) juce::jmin (bytes.size(), (size_t) header->dwBufferLength);
        memcpy (header->lpData, bytes.data(), header->dwBytesRecorded);
        markDone (*header);
        post (notice, (LPARAM) header);
    }

    UINT inGetNumDevs() override
    {
        return (UINT) inputNames.size();
    }

    MMRESULT inGetDevCaps (UINT deviceId, MIDIINCAPSW& caps) override
    {
        return fillCaps (inputNames, deviceId, caps);
    }

    MMRESULT inOpen (HMIDIIN& handle, UINT deviceId, DWORD threadId) override
    {
        const auto guard = record ("inOpen");
        handle = reinterpret_cast<HMIDIIN> (&state);
        inputThread = threadId;
        state.openedInput = deviceId;
        return MMSYSERR_NOERROR;
    }

    MMRESULT inPrepareHeader (HMIDIIN, MIDIHDR& header) override
    {
        return prepare ("inPrepareHeader", header);
    }

    MMRESULT inAddBuffer (HMIDIIN, MIDIHDR& header) override
    {
        // A call that hangs touches nothing of the fake after it: the test may have ended by then.
        if (const auto hangMs = addBufferHangMs.exchange (0); hangMs > 0)
        {
            hanging = true;
            juce::Thread::sleep (hangMs);
            return MMSYSERR_NOERROR;
        }

        const auto guard = record ("inAddBuffer");
        header.dwFlags = (header.dwFlags & ~(DWORD) MHDR_DONE) | MHDR_INQUEUE;
        state.queued.push_back (&header);
        return MMSYSERR_NOERROR;
    }

    MMRESULT inUnprepareHeader (HMIDIIN, MIDIHDR& header) override
    {
        return unprepare ("inUnprepareHeader", header);
    }

    MMRESULT inStart (HMIDIIN) override
    {
        return MMSYSERR_NOERROR;
    }

    MMRESULT inStop (HMIDIIN) override
    {
        return MMSYSERR_NOERROR;
    }

    MMRESULT inReset (HMIDIIN) override
    {
        const auto guard = record ("inReset");

        if (reset == Reset::buffersKept)
            return MMSYSERR_NOERROR;

        for (auto* header : state.queued)
            markDone (*header);

        workers.emplace_back (
            [this, returned = std::exchange (state.queued, {}), late = reset == Reset::noticesLate]
            {
                if (late)
                {
                    juce::Thread::sleep (30);
                    record ("lateNotices");
                }

                for (auto* header : returned)
                    post (MM_MIM_LONGDATA, (LPARAM) header);
            });

        return MMSYSERR_NOERROR;
    }

    MMRESULT inClose (HMIDIIN) override
    {
        const auto guard = record ("inClose");
        return closeUnless (! state.queued.empty(), state.openedInput);
    }

    UINT outGetNumDevs() override
    {
        return (UINT) outputNames.size();
    }

    MMRESULT outGetDevCaps (UINT deviceId, MIDIOUTCAPSW& caps) override
    {
        return fillCaps (outputNames, deviceId, caps);
    }

    MMRESULT outOpen (HMIDIOUT& handle, UINT deviceId, HANDLE event) override
    {
        const auto guard = record ("outOpen");
        handle = reinterpret_cast<HMIDIOUT> (&state);
        outputEvent = event;
        state.openedOutput = deviceId;
        return MMSYSERR_NOERROR;
    }

    MMRESULT outShortMsg (HMIDIOUT, DWORD message) override
    {
        const auto guard = record ("outShortMsg");
        state.shortSent.push_back (message);
        return MMSYSERR_NOERROR;
    }

    MMRESULT outPrepareHeader (HMIDIOUT, MIDIHDR& header) override
    {
        return prepare ("outPrepareHeader", header);
    }

    MMRESULT outLongMsg (HMIDIOUT, MIDIHDR& header) override
    {
        const auto guard = record ("outLongMsg");
        SetEvent (outputEvent);

        if (completion == Completion::refused)
            return MIDIERR_NOTREADY;

        const auto* bytes = reinterpret_cast<const juce::uint8*> (header.lpData);
        state.longSent.emplace_back (bytes, bytes + header.dwBufferLength);
        header.dwFlags |= MHDR_INQUEUE;
        sending = &header;

        if (completion == Completion::soon)
            workers.emplace_back (
                [this, &header]
                {
                    juce::Thread::sleep (20);
                    complete (header);
                });

        return MMSYSERR_NOERROR;
    }

    MMRESULT outUnprepareHeader (HMIDIOUT, MIDIHDR& header) override
    {
        return unprepare ("outUnprepareHeader", header);
    }

    MMRESULT outReset (HMIDIOUT) override
    {
        const auto guard = record ("outReset");

        if (completion == Completion::atReset && sending != nullptr)
            complete (*std::exchange (sending, nullptr));

        return MMSYSERR_NOERROR;
    }

    MMRESULT outClose (HMIDIOUT) override
    {
        const auto guard = record ("outClose");
        return closeUnless (sending != nullptr && (sending->dwFlags & MHDR_INQUEUE) != 0, state.openedOutput);
    }

private:
    template <typename Caps>
    static MMRESULT fillCaps (const juce::StringArray& names, UINT deviceId, Caps& caps)
    {
        if (deviceId >= (UINT) names.size())
            return MMSYSERR_BADDEVICEID;

        if (names[(int) deviceId].isEmpty())
            return MMSYSERR_NODRIVER;

        names[(int) deviceId].copyToUTF16 (reinterpret_cast<juce::CharPointer_UTF16::CharType*> (caps.szPname),
                                           sizeof (caps.szPname));
        return MMSYSERR_NOERROR;
    }

    static MMRESULT closeUnless (bool buffersHeld, UINT& opened)
    {
        if (buffersHeld)
            return MIDIERR_STILLPLAYING;

        opened = ~0u;
        return MMSYSERR_NOERROR;
    }

    static void markDone (MIDIHDR& header)
    {
        header.dwFlags = (header.dwFlags & ~(DWORD) MHDR_INQUEUE) | MHDR_DONE;
    }

    std::unique_lock<std::mutex> record (const char* call)
    {
        std::unique_lock<std::mutex> guard (lock);
        state.calls.add (call);
        return guard;
    }

    MMRESULT prepare (const char* call, MIDIHDR& header)
    {
        const auto guard = record (call);
        header.dwFlags = MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    MMRESULT unprepare (const char* call, MIDIHDR& header)
    {
        const auto guard = record (call);

        if ((header.dwFlags & MHDR_INQUEUE) != 0)
            return MIDIERR_STILLPLAYING;

        header.dwFlags &= ~(DWORD) MHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }

    void complete (MIDIHDR& header)
    {
        markDone (header);
        SetEvent (outputEvent);
    }

    std::mutex lock;
    State state;
    DWORD inputThread = 0;
    HANDLE outputEvent = nullptr;
    MIDIHDR* sending = nullptr;
    std::vector<std::thread> workers;
};
