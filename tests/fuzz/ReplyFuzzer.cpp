// Feeds whatever the fuzzer makes up to the device link as replies from the
// device, through its real input callback, and checks its verdicts and the
// query's byte against the reply rules read straight off the raw bytes.

#include "device/DeviceLink.h"
#include "tests/fuzz/FuzzInput.h"

namespace
{
/**
    One input and one output on which every command sent is answered at once,
    on the sending thread, by the messages that the fuzzer's bytes give for
    that exchange: a few messages from the held input or from elsewhere, then
    a last one from the held input, which is thus what the exchange judges.
*/
class ScriptedPorts final : public MidiPortSystem
{
public:
    explicit ScriptedPorts (FuzzInput& inputToUse)
        : input (inputToUse)
    {
    }

    int getNumInputs() override
    {
        return 1;
    }

    int getNumOutputs() override
    {
        return 1;
    }

    std::unique_ptr<MidiInputPort> openInput (int, MidiPortListener& listenerToUse) override
    {
        listener = &listenerToUse;
        auto port = std::make_unique<Input>();
        heldInput = port.get();
        return port;
    }

    std::unique_ptr<MidiOutputPort> openOutput (int) override
    {
        return std::make_unique<Output> (*this);
    }

    /** The message that the last exchange judged. */
    juce::MidiMessage lastReply;

private:
    struct Input final : MidiInputPort
    {
        void start() override {}
        void stop() override {}
    };

    struct Output final : MidiOutputPort
    {
        explicit Output (ScriptedPorts& portsToUse)
            : ports (portsToUse)
        {
        }

        void sendMessageNow (const juce::MidiMessage&) override
        {
            ports.answer();
        }

        ScriptedPorts& ports;
    };

    void answer()
    {
        Input elsewhere;

        for (auto numBefore = input.takeByte() % 4; numBefore > 0; --numBefore)
        {
            const auto fromHeldInput = (input.takeByte() & 1) != 0;
            listener->handleIncomingMidiMessage (fromHeldInput ? heldInput : &elsewhere, input.takeMessage());
        }

        // Copied, never moved, into lastReply: JUCE 7.0.5's move assignment of
        // a MidiMessage loses the heap copy of the longer message it replaces.
        const auto reply = input.takeMessage();
        lastReply = reply;
        listener->handleIncomingMidiMessage (heldInput, lastReply);

        // A lone System Real-Time byte is no reply: an empty SysEx message
        // after it makes sure that the exchange never waits out its limit.
        if (lastReply.getRawData()[0] >= 0xf8)
        {
            const juce::uint8 emptyBytes[] = { 0xf0, 0xf7 };
            const juce::MidiMessage empty (emptyBytes, 2);
            lastReply = empty;
            listener->handleIncomingMidiMessage (heldInput, lastReply);
        }
    }

    FuzzInput& input;
    MidiPortListener* listener = nullptr;
    MidiInputPort* heldInput = nullptr;
};

/** The rules, from the raw bytes: F0, the header 4E 7F 0D, and for an acknowledgement 0D after it. */
bool startsWith (const juce::MidiMessage& message, std::initializer_list<juce::uint8> bytes)
{
    // The framework counts the last byte of a SysEx message as its F7 whatever it is.
    const auto size = (size_t) message.getRawDataSize();
    return size >= bytes.size() + 1 && std::equal (bytes.begin(), bytes.end(), message.getRawData());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput (const juce::uint8* data, size_t size)
{
    FuzzInput input (data, size);
    ScriptedPorts ports (input);
    DeviceLink link;
    link.setPortSystem (&ports);

    // The probe answered, the pair is held and the query is asked once.
    const auto found = link.detect();
    fuzzCheck (found == link.isOpen(), "detect's result and isOpen agree");

    while (link.isOpen() && ! input.isExhausted())
    {
        if ((input.takeByte() & 1) != 0)
        {
            const auto result = link.queryDevice();
            const auto withHeader = startsWith (ports.lastReply, { 0xf0, 0x4e, 0x7f, 0x0d });
            fuzzCheck (result == (withHeader ? ports.lastReply.getRawData()[4] : 0),
                       "the query's result is byte 4 of a reply with the header, else 0");
        }
        else
        {
            fuzzCheck (link.sendStart() == startsWith (ports.lastReply, { 0xf0, 0x4e, 0x7f, 0x0d, 0x0d }),
                       "only a reply with the header and 0D acknowledges");
        }
    }

    link.close();
    link.setPortSystem (nullptr);
    return 0;
}
