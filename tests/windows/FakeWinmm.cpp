#include "tests/windows/FakeWinmm.h"

#include <utility>

namespace
{
const auto fakeInput = reinterpret_cast<HMIDIIN> (0x1000);
const auto fakeOutput = reinterpret_cast<HMIDIOUT> (0x2000);

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

void markDone (MIDIHDR& header)
{
    header.dwFlags = (header.dwFlags & ~(DWORD) MHDR_INQUEUE) | MHDR_DONE;
}

MMRESULT unprepare (MIDIHDR& header)
{
    if ((header.dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;

    header.dwFlags &= ~(DWORD) MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
} // namespace

FakeWinmm::~FakeWinmm()
{
    hangOver.signal();

    while (callsInside > 0)
        juce::Thread::sleep (1);

    for (auto& completer : completers)
        completer.join();
}

MIDIHDR* FakeWinmm::fillBuffer (const std::vector<juce::uint8>& bytes, bool announce)
{
    MIDIHDR* header = nullptr;

    {
        const std::lock_guard<std::mutex> guard (lock);

        if (state.queued.empty())
            return nullptr;

        header = state.queued.front();
        state.queued.pop_front();
        header->dwBytesRecorded = (DWORD) juce::jmin (bytes.size(), (size_t) header->dwBufferLength);
        memcpy (header->lpData, bytes.data(), header->dwBytesRecorded);
        markDone (*header);
    }

    if (announce)
        post (MM_MIM_LONGDATA, (LPARAM) header);

    return header;
}

void FakeWinmm::post (UINT message, LPARAM parameter)
{
    PostThreadMessageW (inputThread, message, (WPARAM) fakeInput, parameter);
}

void FakeWinmm::postHeldNotices()
{
    std::vector<MIDIHDR*> notices;

    {
        const std::lock_guard<std::mutex> guard (lock);
        notices.swap (heldNotices);
    }

    for (auto* header : notices)
        post (MM_MIM_LONGDATA, (LPARAM) header);
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
    const std::lock_guard<std::mutex> guard (lock);
    handle = fakeInput;
    inputThread = threadId;
    state.openedInput = deviceId;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inPrepareHeader (HMIDIIN, MIDIHDR& header)
{
    header.dwFlags = MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inAddBuffer (HMIDIIN, MIDIHDR& header)
{
    ++callsInside;

    if (const auto hangMs = addBufferHangMs.exchange (0); hangMs > 0)
    {
        hanging = true;
        hangOver.wait (hangMs);
        hanging = false;
    }

    const auto result = addBuffer (header);
    --callsInside;
    return result;
}

MMRESULT FakeWinmm::addBuffer (MIDIHDR& header)
{
    const std::lock_guard<std::mutex> guard (lock);

    if ((header.dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;

    if ((header.dwFlags & MHDR_PREPARED) == 0)
        return MIDIERR_UNPREPARED;

    header.dwFlags = (header.dwFlags & ~(DWORD) MHDR_DONE) | MHDR_INQUEUE;
    header.dwBytesRecorded = 0;
    state.queued.push_back (&header);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inUnprepareHeader (HMIDIIN, MIDIHDR& header)
{
    const auto guard = record ("inUnprepareHeader");
    return unprepare (header);
}

MMRESULT FakeWinmm::inStart (HMIDIIN)
{
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inStop (HMIDIIN)
{
    record ("inStop");
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inReset (HMIDIIN)
{
    std::deque<MIDIHDR*> returned;

    {
        const auto guard = record ("inReset");

        if (reset != Reset::buffersKept)
            returned.swap (state.queued);

        for (auto* header : returned)
            markDone (*header);

        if (reset == Reset::noticesHeld)
            heldNotices.assign (returned.begin(), returned.end());
    }

    resetDone.signal();

    if (reset == Reset::noticesAtOnce)
        for (auto* header : returned)
            post (MM_MIM_LONGDATA, (LPARAM) header);

    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::inClose (HMIDIIN)
{
    const auto guard = record ("inClose");

    if (! state.queued.empty())
        return MIDIERR_STILLPLAYING;

    state.openedInput = ~0u;
    return MMSYSERR_NOERROR;
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
    const std::lock_guard<std::mutex> guard (lock);
    handle = fakeOutput;
    outputEvent = event;
    state.openedOutput = deviceId;
    openNoticeDue = true;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outShortMsg (HMIDIOUT, DWORD message)
{
    const std::lock_guard<std::mutex> guard (lock);
    state.shortSent.push_back (message);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outPrepareHeader (HMIDIOUT, MIDIHDR& header)
{
    const auto guard = record ("outPrepareHeader");
    header.dwFlags = MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outLongMsg (HMIDIOUT, MIDIHDR& header)
{
    const std::lock_guard<std::mutex> guard (lock);

    // The MOM_OPEN notice, late: the event then wakes a send whose buffer is not done.
    if (std::exchange (openNoticeDue, false))
        SetEvent (outputEvent);

    if (completion == Completion::refused)
        return MIDIERR_NOTREADY;

    const auto* bytes = reinterpret_cast<const juce::uint8*> (header.lpData);
    state.longSent.emplace_back (bytes, bytes + header.dwBufferLength);
    header.dwFlags |= MHDR_INQUEUE;
    sending = &header;

    if (completion == Completion::soon)
        completers.emplace_back (
            [this, &header]
            {
                juce::Thread::sleep (20);
                complete (header);
            });

    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outUnprepareHeader (HMIDIOUT, MIDIHDR& header)
{
    const auto guard = record ("outUnprepareHeader");
    return unprepare (header);
}

MMRESULT FakeWinmm::outReset (HMIDIOUT)
{
    MIDIHDR* header = nullptr;

    if (const auto guard = record ("outReset"); completion == Completion::atReset)
        std::swap (header, sending);

    if (header != nullptr)
        complete (*header);

    return MMSYSERR_NOERROR;
}

MMRESULT FakeWinmm::outClose (HMIDIOUT)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (sending != nullptr && (sending->dwFlags & MHDR_INQUEUE) != 0)
        return MIDIERR_STILLPLAYING;

    state.openedOutput = ~0u;
    SetEvent (outputEvent);
    return MMSYSERR_NOERROR;
}

void FakeWinmm::complete (MIDIHDR& header)
{
    markDone (header);
    SetEvent (outputEvent);
}
