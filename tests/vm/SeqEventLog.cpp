// Preloaded (LD_PRELOAD) into the real updater, over whatever sequencer it
// runs on, this writes a line for each sequencer event that the program reads
// to the file named by VT5150_SEQ_EVENT_LOG: "SYSEX <length>" for a piece of
// system exclusive data, "EVENT <type>" for any other. It shows how the
// sequencer hands incoming MIDI to JUCE, so that the kernel's sequencer and
// the stand-in can be compared. Test equipment only.

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

extern "C" __attribute__ ((visibility ("default"))) int snd_seq_event_input (snd_seq_t* handle, snd_seq_event_t** event)
{
    using EventInput = int (*) (snd_seq_t*, snd_seq_event_t**);
    static const auto next = reinterpret_cast<EventInput> (::dlsym (RTLD_NEXT, "snd_seq_event_input"));
    static auto* const log = []
    {
        const auto* path = std::getenv ("VT5150_SEQ_EVENT_LOG");
        auto* file = path != nullptr ? std::fopen (path, "we") : nullptr;

        if (file != nullptr)
            std::setvbuf (file, nullptr, _IOLBF, 0);

        return file;
    }();

    if (next == nullptr)
        return -ENOSYS;

    const auto result = next (handle, event);

    // One call of fprintf for each line: stdio keeps the line whole against another thread's.
    if (result >= 0 && *event != nullptr && log != nullptr)
    {
        if ((*event)->type == SND_SEQ_EVENT_SYSEX)
            std::fprintf (log, "SYSEX %u\n", (*event)->data.ext.len);
        else
            std::fprintf (log, "EVENT %d\n", (int) (*event)->type);
    }

    return result;
}
