#include "app/Versions.h"

namespace Versions
{
juce::String formatVersion (int major, int minor)
{
    return juce::String::formatted ("%d.%02d", major, minor);
}

// The build hands this file the project's version as VT5150_VERSION_MAJOR and VT5150_VERSION_MINOR.
juce::String applicationVersion()
{
    return formatVersion (VT5150_VERSION_MAJOR, VT5150_VERSION_MINOR);
}

juce::String firmwareVersion()
{
    return formatVersion (firmwareMajor, firmwareMinor);
}
} // namespace Versions
