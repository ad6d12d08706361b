#include "web/WebMidiPorts.h"

#include "web/WebMidiInput.h"
#include "web/WebMidiOutput.h"

#include <emscripten.h>

namespace
{
EM_JS (int, countInputsInPage, (), { return Module.webMidi.inputCount(); });
EM_JS (int, countOutputsInPage, (), { return Module.webMidi.outputCount(); });

// Each gives the page's handle of the opened port, or -1.
EM_ASYNC_JS (int, openInputInPage, (int index), { return await Module.webMidi.openInput (index); });
EM_ASYNC_JS (int, openOutputInPage, (int index), { return await Module.webMidi.openOutput (index); });
} // namespace

int WebMidiPorts::getNumInputs()
{
    return countInputsInPage();
}

int WebMidiPorts::getNumOutputs()
{
    return countOutputsInPage();
}

std::unique_ptr<MidiInputPort> WebMidiPorts::openInput (int index, MidiPortListener& listener)
{
    const auto handle = openInputInPage (index);
    return handle < 0 ? nullptr : std::make_unique<WebMidiInput> (handle, listener);
}

std::unique_ptr<MidiOutputPort> WebMidiPorts::openOutput (int index)
{
    const auto handle = openOutputInPage (index);
    return handle < 0 ? nullptr : std::make_unique<WebMidiOutput> (handle);
}
