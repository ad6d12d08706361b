#include "web/WebMidiOutput.h"

#include <emscripten.h>

namespace
{
EM_JS (void, sendInPage, (int handle, const juce::uint8* bytes, int numBytes),
       { Module.webMidi.send (handle, HEAPU8.slice (bytes, bytes + numBytes)); });
EM_JS (void, closeOutputInPage, (int handle), { Module.webMidi.closeOutput (handle); });
} // namespace

WebMidiOutput::WebMidiOutput (int handleToUse)
    : handle (handleToUse)
{
}

WebMidiOutput::~WebMidiOutput()
{
    closeOutputInPage (handle);
}

void WebMidiOutput::sendMessageNow (const juce::MidiMessage& message)
{
    sendInPage (handle, message.getRawData(), message.getRawDataSize());
}
