#include "web/WebMidiInput.h"

#include <emscripten.h>

#include <map>

namespace
{
// The inputs that the compiled code holds, by the page's handle.
std::map<int, WebMidiInput*>& openInputs()
{
    static std::map<int, WebMidiInput*> inputs;
    return inputs;
}

EM_JS (void, startInputInPage, (int handle), { Module.webMidi.startInput (handle); });
EM_JS (void, stopInputInPage, (int handle), { Module.webMidi.stopInput (handle); });
EM_JS (void, closeInputInPage, (int handle), { Module.webMidi.closeInput (handle); });
} // namespace

WebMidiInput::WebMidiInput (int handleToUse, MidiPortListener& listenerToUse)
    : handle (handleToUse)
    , listener (listenerToUse)
{
    openInputs()[handle] = this;
}

WebMidiInput::~WebMidiInput()
{
    stop();
    openInputs().erase (handle);
    closeInputInPage (handle);
}

void WebMidiInput::start()
{
    startInputInPage (handle);
}

void WebMidiInput::stop()
{
    stopInputInPage (handle);
}

void WebMidiInput::deliver (int handle, const juce::uint8* bytes, int numBytes)
{
    const auto found = openInputs().find (handle);

    if (found != openInputs().end() && numBytes > 0)
        found->second->listener.handleIncomingMidiMessage (found->second, juce::MidiMessage (bytes, numBytes));
}
