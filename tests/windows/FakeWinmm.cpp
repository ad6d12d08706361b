#include "tests/windows/FakeWinmm.h"

#include <utility>

namespace
{
template <typename Caps>
MMRESULT fillCaps (const juce::StringArray& names, UINT deviceId, Caps& caps)
{
    if (deviceId >= (UINT) names.size())
        return MMSYSERR_BADDEVICEID;

    if (names[(int) deviceId].isEmpty())
        return MMSYSERR_NODRIVER;

    names[(int) deviceId].copyToUTF16 (reinterpret_cast<juce::CharPointer_UTF16::CharType*> (caps.szPname),
                                       sizeof (caps.szPname));
    return MMSYSERR_NOERROR;
}

template <typename Handle>
MMRESULT open (Handle& handle, UINT deviceId, UINT& opened)
{
    handle = reinterpret_cast<Handle> (&opened);
    opened = deviceId;
    return MMSYSERR_NOERROR;
}

MMRESULT closeUnless (bool buffersHeld, UINT& opened)
{
    if (buffersHeld)
        return MIDIERR_STILLPLAYING;

    opened = ~0u;
    return MMSYSERR_NOERROR;
}

void markDone (MIDIHDR& header)
{
    header.dwFlags = (header.dwFlags & ~(DWORD) MHDR_INQUEUE) | MHDR_DONE;
}
} // namespace

FakeWinmm::~FakeWinmm()
{
    for (auto& worker : workers)
        worker.join();
}

void FakeWinmm::fillBuffer (const std::vector<juce::uint8>& bytes, UINT notice)
{
    MIDIHDR* header = nullptr;

    {
        const std::lock_guard<std::mutex> guard (lock);

        if (state.queued.empty())
            return;

        header = state.queued.front();
        state.queued.pop_front();
        header->dwBytesRecorded = (DWORD) juce::jmin (bytes.size(), (size_t) header->dwBufferLength);
        memcpy (header->lpData, bytes.data(), header->dwBytesRecorded);
        markDone (*header);
    }

    post (notice, (LPARAM) header);
}

void FakeWinmm::post (UINT message, LPARAM parameter)
{
    PostThreadMessageW (inputThread, message, 0, parameter);
}

FakeWinmm::State FakeWinmm::getState()
{
    const std::lock_guard<std::mutex> guard (lock);
    return state;
}

int FakeWinmm::countCalls (const juce::String& name)
{
    const auto calls = getState().calls;
    return (int) std::count (calls.begin(), calls.end(), name);
}

std::unique_lock<std::mutex> FakeWinmm::record (const char* call)
{
    std::unique_lock<std::mutex> guard (lock);
    state.calls.add (call);
    return guard;
}

MMRESULT FakeWinmm::prepare (const char* call, MIDIHDR& header)
{
    const auto guard = record (call);
    header.dwFlags = MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::unprepare (const char* call, MIDIHDR& header)
{
    const auto guard = record (call);

    if ((header.dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;

    header.dwFlags &= ~(DWORD) MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

void FakeWinmm::complete (MIDIHDR& header)
{
    markDone (header);
    SetEvent (outputEvent);
}

UINT FakeWinmm::inGetNumDevs()
{
    return (UINT) inputNames.size();
}

MMRESULT FakeWinmm::inGetDevCaps (UINT deviceId, MIDIINCAPSW& caps)
{
    return fillCaps (inputNames, deviceId, caps);
}

MMRESULT FakeWinmm::inOpen (HMIDIIN& handle, UINT deviceId, DWORD threadId)
{
    const auto guard = record ("inOpen");
    inputThread = threadId;
    return open (handle, deviceId, state.openedInput);
}

MMRESULT FakeWinmm::inPrepareHeader (HMIDIIN, MIDIHDR& header)
{
    return prepare ("inPrepareHeader", header);
}

MMRESULT FakeWinmm::inAddBuffer (HMIDIIN, MIDIHDR& header)
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

MMRESULT FakeWinmm::inUnprepareHeader (HMIDIIN, MIDIHDR& header)
{
    return unprepare ("inUnprepareHeader", header);
}

MMRESULT FakeWinmm::inStart (HMIDIIN)
{
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inStop (HMIDIIN)
{
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inReset (HMIDIIN)
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

MMRESULT FakeWinmm::inClose (HMIDIIN)
{
    const auto guard = record ("inClose");
    return closeUnless (! state.queued.empty(), state.openedInput);
}

UINT FakeWinmm::outGetNumDevs()
{
    return (UINT) outputNames.size();
}

MMRESULT FakeWinmm::outGetDevCaps (UINT deviceId, MIDIOUTCAPSW& caps)
{
    return fillCaps (outputNames, deviceId, caps);
}

MMRESULT FakeWinmm::outOpen (HMIDIOUT& handle, UINT deviceId, HANDLE event)
{
    const auto guard = record ("outOpen");
    outputEvent = event;
    return open (handle, deviceId, state.openedOutput);
}

MMRESULT FakeWinmm::outShortMsg (HMIDIOUT, DWORD message)
{
    const auto guard = record ("outShortMsg");
    state.shortSent.push_back (message);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outPrepareHeader (HMIDIOUT, MIDIHDR& header)
{
    return prepare ("outPrepareHeader", header);
}

MMRESULT FakeWinmm::outLongMsg (HMIDIOUT, MIDIHDR& header)
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

MMRESULT FakeWinmm::outUnprepareHeader (HMIDIOUT, MIDIHDR& header)
{
    return unprepare ("outUnprepareHeader", header);
}

MMRESULT FakeWinmm::outReset (HMIDIOUT)
{
    const auto guard = record ("outReset");

    if (completion == Completion::atReset && sending != nullptr)
        complete (*std::exchange (sending, nullptr));

    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outClose (HMIDIOUT)
{
    const auto guard = record ("outClose");
    return closeUnless (sending != nullptr && (sending->dwFlags & MHDR_INQUEUE) != 0, state.openedOutput);
}
