#include "sim/WireTrace.h"

#include <filesystem>
#include <fstream>

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

juce::String WireTrace::writeTo (const juce::File& file) const
{
    const auto name = file.getFullPathName();

    if (file.isDirectory())
        return "cannot write the trace to " + name + ": it is a directory";

    // Truncating and writing in place, never replacing: a link stays a link
    // and a device stays a device.
    std::ofstream out (std::filesystem::u8path (name.toStdString()), std::ios::out | std::ios::trunc);

    {
        const std::lock_guard<std::mutex> lock (mutex);

        for (const auto& line : lines)
            out << line.toStdString() << '\n';
    }

    out.close();
    return out.fail() ? "cannot write the trace to " + name : juce::String();
}
