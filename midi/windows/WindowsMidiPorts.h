#pragma once

#include "midi/MidiPortSystem.h"
#include "midi/windows/WindowsMidiInput.h"
#include "midi/windows/WindowsMidiOutput.h"
#include "midi/windows/WinmmApi.h"

/**
    Windows' MIDI devices, reached through winmm by ports of the program's own.

    The lists are the ones JUCE makes on Windows, in the same order: every
    winmm device whose capabilities can be read, in winmm's numbering, named
    as JUCE names them. A device that cannot be opened, because another
    program holds it or for any other reason, yields no port.
*/
class WindowsMidiPorts final : public MidiPortSystem
{
public:
    /** The devices that `api` reaches, whose ports wait for the driver as long as the limits say. */
    explicit WindowsMidiPorts (WinmmApi& api = WinmmApi::getSystem(),
                               int inputLimitMs = WindowsMidiInput::defaultLimitMs,
                               DWORD outputLimitMs = WindowsMidiOutput::defaultCompletionLimitMs);

    /** Returns the number of MIDI inputs winmm lists now. */
    int getNumInputs() override;

    /** Returns the number of MIDI outputs winmm lists now. */
    int getNumOutputs() override;

    /** Opens the input at this position of the list. */
    std::unique_ptr<MidiInputPort> openInput (int index, MidiPortListener& listener) override;

    /** Opens the output at this position of the list. */
    std::unique_ptr<MidiOutputPort> openOutput (int index) override;

    /** The inputs' names, in list order, duplicates numbered as JUCE numbers them. */
    juce::StringArray getInputNames();

    /** The outputs' names, in list order, duplicates numbered as JUCE numbers them. */
    juce::StringArray getOutputNames();

private:
    struct Device
    {
        UINT id;
        juce::String name;
    };

    juce::Array<Device> listInputs();
    juce::Array<Device> listOutputs();
    static juce::StringArray getNames (const juce::Array<Device>& devices);

    WinmmApi& api;
    const int inputLimitMs;
    const DWORD outputLimitMs;
};
