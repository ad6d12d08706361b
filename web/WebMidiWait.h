#pragma once

#include <juce_core/juce_core.h>

/**
    Hands the page's one thread back to the browser until a MIDI message from
    a started input has been delivered, the held ports have gone, or `limitMs`
    have passed, whichever comes first. The compiled code is suspended
    meanwhile (Emscripten's Asyncify) and resumes where it called this.
*/
void waitForWebMidiMessage (juce::uint32 limitMs);
