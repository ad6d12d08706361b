#include "web/WebMidiWait.h"

#include <emscripten.h>

EM_ASYNC_JS (void, waitForMessageInPage, (unsigned int limitMs), { await Module.webMidi.waitForMessage (limitMs); });

void waitForWebMidiMessage (juce::uint32 limitMs)
{
    waitForMessageInPage (limitMs);
}
