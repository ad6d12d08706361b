#include "app/Versions.h"

namespace Versions
{
juce::String formatVersion (int major, int minor)
{
    return juce::String::formatted ("%d.%02d", major, minor);
}

juce::String applicationVersion()
{
    return formatVersion (applicationMajor, applicationMinor);
}

juce::String firmwareVersion()
{
    return formatVersion (firmwareMajor, firmwareMinor);
}
} // namespace Versions
