#pragma once

#include "alsa-standin/Sequencer.h"

/** Marks one of the library's functions that the stand-in answers in its place. */
#define STANDIN_API extern "C" __attribute__ ((visibility ("default")))

/** What the stand-in's snd_seq_t is: the number of one of the program's clients. */
struct _snd_seq
{
    int client;
};

/**
    The machine that VT5150_ALSA_SEQ describes, tracing to
    VT5150_ALSA_SEQ_TRACE if set, made at the process's first sequencer call.
    Both variables are checked as the library is loaded: a mistake in either
    ends the program with a message before it starts.
*/
Sequencer& getSequencer();
