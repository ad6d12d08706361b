#include "alsa-standin/SequencerInstance.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
[[noreturn]] void refuse (const std::string& variable, const std::string& error)
{
    // Not through std::cerr: it may not be ready yet while the library loads.
    std::fprintf (stderr, "ALSA sequencer stand-in: %s: %s\n", variable.c_str(), error.c_str());
    std::abort();
}

std::string getTracePath()
{
    const auto* path = std::getenv ("VT5150_ALSA_SEQ_TRACE");
    return path != nullptr ? path : "";
}

/** The machine that VT5150_ALSA_SEQ describes; ends the process with a message when it is wrong. */
std::vector<PortDescription> getMachine()
{
    const auto* ports = std::getenv ("VT5150_ALSA_SEQ");
    std::vector<PortDescription> descriptions;
    std::string error;

    if (! PortDescription::parseList (ports != nullptr ? ports : "", descriptions, error))
        refuse ("VT5150_ALSA_SEQ", error);

    if (error = KernelClients::check (descriptions); ! error.empty())
        refuse ("VT5150_ALSA_SEQ", error);

    return descriptions;
}

/** Checks the environment as the library is loaded, so that a mistake ends the program before it starts. */
__attribute__ ((constructor)) void checkEnvironment()
{
    getMachine();

    // Opened for appending, so that every process that loads the stand-in may
    // check it; only a process that uses the sequencer writes the trace.
    if (const auto path = getTracePath(); ! path.empty())
    {
        auto* file = std::fopen (path.c_str(), "a");

        if (file == nullptr)
            refuse ("VT5150_ALSA_SEQ_TRACE", "cannot write " + path + ": " + std::strerror (errno));

        std::fclose (file);
    }
}

} // namespace

Sequencer& getSequencer()
{
    static Sequencer* const instance = new Sequencer (getMachine(), getTracePath());
    return *instance;
}
