#include "tools/ToolOptions.h"

juce::String ToolOptions::parse (juce::StringArray arguments)
{
    if (arguments.contains ("--help"))
    {
        showHelp = true;
        return {};
    }

    const auto error = simulation.parse (arguments);

    if (error.isNotEmpty())
        return error;

    while (! arguments.isEmpty())
    {
        const auto option = arguments[0];
        const auto takesFile = option == "--payload" || option == "--trace";

        if (! takesFile)
            return "unknown option " + option;

        if (arguments.size() < 2 || arguments[1].isEmpty())
            return option + " needs a file name";

        const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (arguments[1]);
        (option == "--payload" ? payloadFile : traceFile) = file;
        arguments.removeRange (0, 2);
    }

    return {};
}

juce::String ToolOptions::getHelp()
{
    return SimulationOptions::getHelp() + "  --payload FILE        send FILE's bytes instead of the built-in firmware\n"
                                          "  --trace FILE          write every message on the wire to FILE\n"
                                          "  --help                show this text\n";
}
