#include "alsa-standin/PortDescription.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr long longestSensingIntervalMs = 60000;

std::vector<std::string> split (const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream (text);

    while (std::getline (stream, part, separator))
        parts.push_back (part);

    return parts;
}

bool parseKind (const std::string& word, PortDescription::Kind& kind)
{
    const std::pair<const char*, PortDescription::Kind> kinds[] = { { "through", PortDescription::Kind::through },
                                                                    { "silent", PortDescription::Kind::silent },
                                                                    { "input", PortDescription::Kind::input },
                                                                    { "output", PortDescription::Kind::output },
                                                                    { "device", PortDescription::Kind::device } };

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

bool parseSensingInterval (const std::string& text, PortDescription& description)
{
    char* end = nullptr;
    errno = 0;
    const auto value = std::strtol (text.c_str(), &end, 10);

    if (text.empty() || *end != 0 || errno != 0 || value < 1 || value > longestSensingIntervalMs)
        return false;

    description.sensingIntervalMs = (int) value;
    return true;
}

bool parseOption (const std::string& option, PortDescription& description)
{
    if (option == "flood")
        description.flood = true;
    else if (option == "nocreate")
        description.refusesCreation = true;
    else if (option == "noconnect")
        description.refusesSubscription = true;
    else if (option == "cable")
        description.behindCable = true;
    else if (option == "user")
        description.onUserClient = true;
    else if (option.rfind ("socket=", 0) == 0)
        description.socketPath = option.substr (7);
    else if (option.rfind ("sense=", 0) == 0)
        return parseSensingInterval (option.substr (6), description);
    else
        return false;

    return true;
}

bool parseEntry (const std::string& entry, PortDescription& description, std::string& error)
{
    const auto fields = split (entry, ':');

    if (fields.empty() || ! parseKind (fields[0], description.kind))
    {
        error = "unknown kind of port in \"" + entry + "\"";
        return false;
    }

    description.name = description.kind == PortDescription::Kind::through ? "Midi Through Port-0"
                       : fields.size() > 1                                ? fields[1]
                                                                          : "";

    if (description.name.empty())
    {
        error = "a port without a name in \"" + entry + "\"";
        return false;
    }

    for (size_t i = description.kind == PortDescription::Kind::through ? 1 : 2; i < fields.size(); ++i)
    {
        if (! parseOption (fields[i], description))
        {
            error = "unknown option, or a value out of range: \"" + fields[i] + "\" in \"" + entry + "\"";
            return false;
        }
    }

    if ((description.kind == PortDescription::Kind::device) != ! description.socketPath.empty())
    {
        error = "a device, and only a device, needs socket=PATH: \"" + entry + "\"";
        return false;
    }

    if (description.behindCable && description.kind != PortDescription::Kind::device)
    {
        error = "only a device can be behind a cable: \"" + entry + "\"";
        return false;
    }

    if (description.onUserClient && description.kind == PortDescription::Kind::through)
    {
        error = "\"Midi Through\" is the kernel's own client: \"" + entry + "\"";
        return false;
    }

    return true;
}
} // namespace

bool PortDescription::parseList (const std::string& text, std::vector<PortDescription>& descriptions,
                                 std::string& error)
{
    descriptions.clear();

    for (const auto& entry : split (text, ','))
    {
        if (entry.empty())
            continue;

        PortDescription description;

        if (! parseEntry (entry, description, error))
            return false;

        descriptions.push_back (description);
    }

    return true;
}
