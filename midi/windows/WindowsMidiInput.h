#pragma once

#include "midi/MidiInputPort.h"
#include "midi/MidiPortListener.h"
#include "midi/windows/WindowsMidiReceiver.h"
#include "midi/windows/WinmmApi.h"

#include <juce_core/juce_core.h>

#include <memory>

/**
    A winmm MIDI input of the program's own.

    Its WindowsMidiReceiver takes the driver's notices on a thread of its own
    and hands each SysEx buffer back to the driver only once it has been
    read. Every wait of opening and closing lasts limitMs at the most: a
    thread that does not start in time is an input that does not open.
    Closing waits until the driver has given every buffer back before their
    memory goes; buffers that the driver keeps, or a thread that does not end,
    are given up, never freed, and the reason is written to the log
    (juce::Logger: a Windows program without a console shows it to a
    debugger or to a debug-output viewer such as DebugView).
*/
class WindowsMidiInput final : public MidiInputPort
{
public:
    /** How long each wait of opening and closing lasts at the most, unless given otherwise. */
    static constexpr int defaultLimitMs = 2000;

    /** An input of `api`, not yet open, that will deliver to `listener`. */
    WindowsMidiInput (WinmmApi& api, MidiPortListener& listener, int limitMs = defaultLimitMs);

    /** Stops and closes the input. */
    ~WindowsMidiInput() override;

    /** Opens winmm's input `deviceId` and queues every buffer; false, with nothing held, on any failure. */
    bool open (UINT deviceId);

    /** Starts the driver and the delivery to the listener. */
    void start() override;

    /** Stops the driver; once this returns, the listener is not called again until start(). */
    void stop() override;

private:
    void close();
    void endReceiver (bool buffersBack);

    WinmmApi& api;
    const int limitMs;
    std::unique_ptr<WindowsMidiReceiver> receiver;
    HMIDIIN handle = nullptr;
    bool started = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowsMidiInput)
};
