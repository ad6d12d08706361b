#include "midi/windows/WindowsMidiInput.h"

namespace
{
/** Tells a debugger or a debug-output viewer why a MIDI input gave up: nothing else would. */
void logGivingUp (const char* what, int limitMs)
{
    juce::Logger::writeToLog ("VT5150 Firmware Updater: " + juce::String (what) + " within " + juce::String (limitMs) +
                              " ms");
}
} // namespace

WindowsMidiInput::WindowsMidiInput (WinmmApi& apiToUse, MidiPortListener& listener, int limitMsToUse)
    : api (apiToUse)
    , limitMs (limitMsToUse)
    , receiver (std::make_unique<WindowsMidiReceiver> (apiToUse, *this, listener))
{
}

WindowsMidiInput::~WindowsMidiInput()
{
    stop();
    close();
}

bool WindowsMidiInput::open (UINT deviceId)
{
    if (! receiver->launch (limitMs))
    {
        logGivingUp ("the MIDI input's thread did not start", limitMs);
        endReceiver (true);
        return false;
    }

    if (api.inOpen (handle, deviceId, receiver->getNoticeThreadId()) != MMSYSERR_NOERROR)
    {
        handle = nullptr;
        endReceiver (true);
        return false;
    }

    if (! receiver->queueBuffers (handle))
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

    receiver->setDelivering (true);
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

    receiver->setDelivering (false);
    started = false;
}

void WindowsMidiInput::close()
{
    if (receiver == nullptr)
        return;

    const auto buffersBack = receiver->takeBuffersBack (limitMs);

    if (handle != nullptr)
    {
        // With buffers still in the driver, winmm refuses to close: the device stays taken until the program ends.
        if (! buffersBack)
            logGivingUp ("the MIDI input stays open until the program ends: its driver did not give its buffers back",
                         limitMs);

        const auto result = api.inClose (handle);
        jassert (result == MMSYSERR_NOERROR || ! buffersBack);
        juce::ignoreUnused (result);
        handle = nullptr;
    }

    endReceiver (buffersBack);
}

void WindowsMidiInput::endReceiver (bool buffersBack)
{
    if (! receiver->end (limitMs))
    {
        // Its thread still runs in it: the receiver, buffers and all, is given up rather than freed.
        logGivingUp ("the MIDI input's memory is given up: its thread did not end", limitMs);
        juce::ignoreUnused (receiver.release());
        return;
    }

    // Buffers that the driver may still write into are given up, never freed.
    if (! buffersBack)
        receiver->giveUpBuffers();

    receiver.reset();
}
