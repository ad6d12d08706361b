// The ALSA sequencer stand-in, preloaded, refuses what the kernel refuses, so
// that it never passes over a program's mistake that a real machine would
// show. How it lists, delivers, blocks and announces, the tests of the programs
// over it show: the updater's, Wine's (tests/windows/) and Chromium's (tests/web/).

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <cstdlib>

TEST (SequencerStandIn, RefusesAsTheKernelDoesAMissingClientAndASubscriptionMadeOrEndedTwice)
{
    constexpr int throughClient = 14;
    setenv ("VT5150_ALSA_SEQ", "through", 1); // the machine is made at the first sequencer call
    snd_seq_t* handle = nullptr;
    ASSERT_EQ (snd_seq_open (&handle, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK), 0);
    const auto port = snd_seq_create_simple_port (handle, "test", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                                  SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    ASSERT_GE (port, 0);

    snd_seq_client_info_t* info = nullptr;
    snd_seq_client_info_alloca (&info);
    EXPECT_EQ (snd_seq_get_any_client_info (handle, throughClient, info), 0);
    EXPECT_EQ (snd_seq_get_any_client_info (handle, throughClient + 1, info), -ENOENT) << "not the next client's";

    ASSERT_EQ (snd_seq_connect_from (handle, port, throughClient, 0), 0);
    EXPECT_EQ (snd_seq_connect_from (handle, port, throughClient, 0), -EBUSY);
    ASSERT_EQ (snd_seq_disconnect_from (handle, port, throughClient, 0), 0);
    EXPECT_EQ (snd_seq_disconnect_from (handle, port, throughClient, 0), -ENOENT);
    snd_seq_close (handle);
}
