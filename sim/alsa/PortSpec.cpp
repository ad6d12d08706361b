#include "sim/alsa/PortSpec.h"

#include <cstdlib>
#include <sstream>

namespace
{
std::vector<std::string> split (const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream (text);

    while (std::getline (stream, part, separator))
        parts.push_back (part);

    return parts;
}

bool parseKind (const std::string& word, PortSpec::Kind& kind)
{
    const std::pair<const char*, PortSpec::Kind> kinds[] = { { "through", PortSpec::Kind::through },
                                                             { "silent", PortSpec::Kind::silent },
                                                             { "input", PortSpec::Kind::input },
                                                             { "output", PortSpec::Kind::output },
                                                             { "device", PortSpec::Kind::device } };

    for (const auto& [name, value] : kinds)
    {
        if (word == name)
        {
            kind = value;
            return true;
        }
    }

    return false;
}

bool parseOption (const std::string& option, PortSpec& spec)
{
    if (option == "flood")
        spec.flood = true;
    else if (option == "nocreate")
        spec.refusesCreation = true;
    else if (option == "noconnect")
        spec.refusesSubscription = true;
    else if (option.rfind ("socket=", 0) == 0)
        spec.socketPath = option.substr (7);
    else if (option.rfind ("sense=", 0) == 0)
        spec.sensingIntervalMs = std::atoi (option.c_str() + 6);
    else
        return false;

    return option.rfind ("sense=", 0) != 0 || spec.sensingIntervalMs > 0;
}

bool parseEntry (const std::string& entry, PortSpec& spec, std::string& error)
{
    const auto fields = split (entry, ':');

    if (fields.empty() || ! parseKind (fields[0], spec.kind))
    {
        error = "unknown kind of port in \"" + entry + "\"";
        return false;
    }

    spec.name = spec.kind == PortSpec::Kind::through ? "Midi Through Port-0" : fields.size() > 1 ? fields[1] : "";

    if (spec.name.empty())
    {
        error = "a port without a name in \"" + entry + "\"";
        return false;
    }

    for (size_t i = spec.kind == PortSpec::Kind::through ? 1 : 2; i < fields.size(); ++i)
    {
        if (! parseOption (fields[i], spec))
        {
            error = "unknown option \"" + fields[i] + "\" in \"" + entry + "\"";
            return false;
        }
    }

    if ((spec.kind == PortSpec::Kind::device) != ! spec.socketPath.empty())
    {
        error = "a device, and only a device, needs socket=PATH: \"" + entry + "\"";
        return false;
    }

    return true;
}
} // namespace

bool PortSpec::parseList (const std::string& text, std::vector<PortSpec>& specs, std::string& error)
{
    specs.clear();

    for (const auto& entry : split (text, ','))
    {
        if (entry.empty())
            continue;

        PortSpec spec;

        if (! parseEntry (entry, spec, error))
            return false;

        specs.push_back (spec);
    }

    return true;
}
