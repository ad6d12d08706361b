#pragma once

#include <juce_core/juce_core.h>

/**
    The updater's two version numbers and the one way they are written.

    The application version is what the application object reports and the
    about box shows, the project's version from the build files (so that the
    installed package carries the same number); the firmware version is that
    of the firmware image built into the program, which ends the application
    name and is shown in the about box too.
*/
namespace Versions
{
/** The built-in firmware image's version, 1.31. */
constexpr int firmwareMajor = 1;
constexpr int firmwareMinor = 31;

/** Writes a version as "%d.%02d": the major number, a point, and the minor number padded to two digits. */
juce::String formatVersion (int major, int minor);

/** The application version text, "2.01" from the project's version 2.1. */
juce::String applicationVersion();

/** The firmware version text, "1.31". */
juce::String firmwareVersion();
} // namespace Versions
