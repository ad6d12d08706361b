#include "sim/WireTrace.h"

WireTrace::WireTrace (VirtualMidiPorts& portsToUse)
    : ports (portsToUse)
{
    ports.setTraceListener (
        [this] (const juce::String& line)
        {
            const std::lock_guard<std::mutex> lock (mutex);
            lines.add (line);
        });
}

WireTrace::~WireTrace()
{
    ports.setTraceListener ({});
}

juce::StringArray WireTrace::getLines() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return lines;
}

juce::StringArray WireTrace::getLinesStartingWith (const juce::String& prefix) const
{
    const std::lock_guard<std::mutex> lock (mutex);
    juce::StringArray matching;

    for (const auto& line : lines)
        if (line.startsWith (prefix))
            matching.add (line);

    return matching;
}

void WireTrace::clear()
{
    const std::lock_guard<std::mutex> lock (mutex);
    lines.clear();
}

bool WireTrace::writeTo (const juce::File& file) const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return file.replaceWithText (lines.joinIntoString ("\n") + (lines.isEmpty() ? "" : "\n"), false, false, "\n");
}
