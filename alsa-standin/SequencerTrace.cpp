#include "alsa-standin/SequencerTrace.h"

SequencerTrace::SequencerTrace (const std::string& path)
{
    if (! path.empty())
        file = std::fopen (path.c_str(), "w");
}

SequencerTrace::~SequencerTrace()
{
    if (file != nullptr)
        std::fclose (file);
}

void SequencerTrace::write (const char* what, const std::string& port, const std::vector<unsigned char>& bytes)
{
    if (file == nullptr)
        return;

    std::fprintf (file, "%s %s", what, port.c_str());

    for (const auto byte : bytes)
        std::fprintf (file, " %02X", byte);

    // Line by line, so that a test can follow the wire while the program runs.
    std::fputc ('\n', file);
    std::fflush (file);
}
