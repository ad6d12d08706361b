// The ALSA sequencer stand-in, preloaded, called through the ALSA library as
// Wine's ALSA MIDI driver calls it. How Wine lists its ports, and that an ended
// subscription passes nothing on, the updater's search shows in
// tests/windows/wine_midi_gui_test.sh and tests/app/system_midi_gui_test.sh.

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int throughClient = 14, sinkClient = 24, virtualClient = 191;

/**
    The machine, set before anything opens the sequencer: the "Midi Through"
    port, a silent device "Quiet", a device "Sink" behind a socket of the
    test's own where nothing is ever read, as a device that has stopped, and
    a silent "Virtual" port on another program's client.
*/
struct StandInMachine final : testing::Environment
{
    void SetUp() override
    {
        char folder[] = "/tmp/vt5150-standin-XXXXXX";
        ASSERT_NE (mkdtemp (folder), nullptr);
        socketPath = std::string (folder) + "/sink.socket";

        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strcpy (address.sun_path, socketPath.c_str());
        sink = ::socket (AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ (::bind (sink, reinterpret_cast<const sockaddr*> (&address), sizeof (address)), 0);
        ASSERT_EQ (::listen (sink, 1), 0);

        setenv ("VT5150_ALSA_SEQ",
                ("through,silent:Quiet,device:Sink:socket=" + socketPath + ",silent:Virtual:user").c_str(), 1);
    }

    void TearDown() override
    {
        ::close (sink);
        ::unlink (socketPath.c_str());
        ::rmdir (socketPath.substr (0, socketPath.rfind ('/')).c_str());
    }

    std::string socketPath;
    int sink = -1;
};

[[maybe_unused]] const auto* const machine = testing::AddGlobalTestEnvironment (new StandInMachine);

/** Sends the event from the port to its subscribers, at once. */
int sendFrom (snd_seq_t* handle, int port, snd_seq_event_t event)
{
    snd_seq_ev_set_direct (&event);
    snd_seq_ev_set_source (&event, (unsigned char) port);
    snd_seq_ev_set_subs (&event);
    return snd_seq_event_output_direct (handle, &event);
}

/** One client of the test's own with one port, closed at the end. */
struct Client
{
    explicit Client (int mode, unsigned int capabilities)
    {
        EXPECT_EQ (snd_seq_open (&handle, "default", SND_SEQ_OPEN_DUPLEX, mode), 0);
        port = snd_seq_create_simple_port (handle, "test", capabilities,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        EXPECT_GE (port, 0);
    }

    ~Client()
    {
        snd_seq_close (handle);
    }

    snd_seq_t* handle = nullptr;
    int port = -1;
};

constexpr unsigned int receiving = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr unsigned int sending = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
} // namespace

TEST (SequencerStandIn, AsChromiumAsksItFindsOneClientOrPortAndAnnouncesAClientThatGoes)
{
    const Client own (SND_SEQ_NONBLOCK, receiving);
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca (&client);
    snd_seq_port_info_alloca (&port);

    ASSERT_EQ (snd_seq_get_any_client_info (own.handle, virtualClient, client), 0);
    EXPECT_STREQ (snd_seq_client_info_get_name (client), "Virtual");
    EXPECT_EQ (snd_seq_client_info_get_type (client), SND_SEQ_USER_CLIENT);
    EXPECT_EQ (snd_seq_get_any_client_info (own.handle, throughClient + 1, client), -ENOENT);
    ASSERT_EQ (snd_seq_get_any_port_info (own.handle, throughClient, 0, port), 0);
    EXPECT_STREQ (snd_seq_port_info_get_name (port), "Midi Through Port-0");
    EXPECT_EQ (snd_seq_port_info_get_addr (port)->client, throughClient);
    EXPECT_EQ (snd_seq_get_any_port_info (own.handle, throughClient, 1, port), -ENOENT);

    snd_seq_port_subscribe_t* subscription = nullptr;
    snd_seq_port_subscribe_alloca (&subscription);
    const snd_seq_addr_t announcer { SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE };
    const snd_seq_addr_t listener { (unsigned char) snd_seq_client_id (own.handle), (unsigned char) own.port };
    snd_seq_port_subscribe_set_sender (subscription, &announcer);
    snd_seq_port_subscribe_set_dest (subscription, &listener);
    ASSERT_EQ (snd_seq_subscribe_port (own.handle, subscription), 0);
    EXPECT_EQ (snd_seq_subscribe_port (own.handle, subscription), -EBUSY);

    int gone = -1;
    {
        const Client other (SND_SEQ_NONBLOCK, sending);
        gone = snd_seq_client_id (other.handle);
        EXPECT_LT (gone, virtualClient) << "a program's client took the number of another program's port";
        EXPECT_EQ (snd_seq_event_input_pending (own.handle, 0), 0) << "announced before it went";
    }

    snd_seq_event_t* event = nullptr;
    ASSERT_GE (snd_seq_event_input (own.handle, &event), 0);
    EXPECT_EQ (event->type, SND_SEQ_EVENT_CLIENT_EXIT);
    EXPECT_EQ (event->source.client, SND_SEQ_CLIENT_SYSTEM);
    EXPECT_EQ (event->source.port, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    EXPECT_EQ (event->data.addr.client, gone);
    EXPECT_EQ (snd_seq_event_input (own.handle, &event), -EAGAIN) << "announced more than once";
}

TEST (SequencerStandIn, BlockingInputWaitsForAnEventAndNonBlockingInputDoesNot)
{
    const Client reader (0, receiving), writer (SND_SEQ_NONBLOCK, sending);
    ASSERT_EQ (snd_seq_connect_from (reader.handle, reader.port, throughClient, 0), 0);
    ASSERT_EQ (snd_seq_connect_to (writer.handle, writer.port, throughClient, 0), 0);

    snd_seq_event_t unused;
    auto* event = &unused;
    EXPECT_EQ (snd_seq_event_input (writer.handle, &event), -EAGAIN);
    EXPECT_EQ (event, nullptr) << "no event unless one was taken, as the library says";

    const auto started = std::chrono::steady_clock::now();
    auto sender = std::async (std::launch::async,
                              [&]
                              {
                                  std::this_thread::sleep_for (std::chrono::milliseconds (300));
                                  snd_seq_event_t noteOn;
                                  snd_seq_ev_clear (&noteOn);
                                  snd_seq_ev_set_noteon (&noteOn, 0, 60, 64);
                                  return sendFrom (writer.handle, writer.port, noteOn);
                              });

    ASSERT_GE (snd_seq_event_input (reader.handle, &event), 0);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GT (sender.get(), 0);
    ASSERT_NE (event, nullptr);
    EXPECT_EQ (event->type, SND_SEQ_EVENT_NOTEON);
    EXPECT_EQ (event->source.client, throughClient);
    EXPECT_GE (waited, std::chrono::milliseconds (250)) << "a blocking read returned before the event was sent";
}

TEST (SequencerStandIn, ADeviceThatReadsNothingHoldsUpNoCaller)
{
    const Client writer (SND_SEQ_NONBLOCK, sending);
    snd_seq_system_info_t* info = nullptr;
    snd_seq_system_info_alloca (&info);
    snd_seq_system_info (writer.handle, info); // plugs the device in, as JUCE's walk starts
    ASSERT_EQ (snd_seq_connect_to (writer.handle, writer.port, sinkClient, 0), 0);

    // Far more than a socket's buffer holds: a send under the sequencer's lock would never return.
    static std::vector<unsigned char> sysEx (256, 0x01);
    sysEx.front() = 0xf0;
    sysEx.back() = 0xf7;
    auto sent = std::make_shared<std::promise<void>>();
    auto done = sent->get_future();

    std::thread (
        [sent, handle = writer.handle, port = writer.port]
        {
            snd_seq_event_t event;

            for (int i = 0; i < 16384; ++i)
            {
                snd_seq_ev_clear (&event);
                snd_seq_ev_set_sysex (&event, (unsigned int) sysEx.size(), sysEx.data());
                sendFrom (handle, port, event);
            }

            sent->set_value();
        })
        .detach();

    ASSERT_EQ (done.wait_for (std::chrono::seconds (30)), std::future_status::ready)
        << "sending to a device that reads nothing blocked the sender";
    EXPECT_EQ (snd_seq_system_info (writer.handle, info), 0) << "the sequencer no longer answers";
}
