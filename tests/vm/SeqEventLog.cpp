// Preloaded (LD_PRELOAD) into the real updater, before whatever sequencer it
// runs on, this writes one line for each sequencer event that the program
// reads, to the file named by VT5150_SEQ_EVENT_LOG: "SYSEX <length>" for a
// piece of system exclusive data, "EVENT <type>" for any other. It shows how
// the sequencer hands incoming MIDI to JUCE, so that the kernel's sequencer
// and the stand-in can be compared. Test equipment only.

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace
{
using EventInput = int (*) (snd_seq_t*, snd_seq_event_t**);

std::FILE* openLog()
{
    const auto* path = std::getenv ("VT5150_SEQ_EVENT_LOG");
    auto* file = path != nullptr ? std::fopen (path, "we") : nullptr;

    if (file != nullptr)
        std::setvbuf (file, nullptr, _IOLBF, 0);

    return file;
}

void logEvent (const snd_seq_event_t& event)
{
    static std::mutex mutex;
    static auto* const file = openLog();

    if (file == nullptr)
        return;

    const std::lock_guard lock (mutex);

    if (event.type == SND_SEQ_EVENT_SYSEX)
        std::fprintf (file, "SYSEX %u\n", event.data.ext.len);
    else
        std::fprintf (file, "EVENT %d\n", (int) event.type);
}
} // namespace

extern "C" __attribute__ ((visibility ("default"))) int snd_seq_event_input (snd_seq_t* handle, snd_seq_event_t** event)
{
    static const auto next = reinterpret_cast<EventInput> (::dlsym (RTLD_NEXT, "snd_seq_event_input"));

    if (next == nullptr)
        return -ENOSYS;

    const auto result = next (handle, event);

    if (result >= 0 && *event != nullptr)
        logEvent (**event);

    return result;
}
