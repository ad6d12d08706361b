// Feeds whatever the fuzzer makes up to the device link as replies from the
// device, through its real input callback, from the held input and from
// elsewhere: whatever arrives, no exchange may read outside a message or
// crash. The rules by which an exchange judges its reply are checked with
// literal bytes in ScriptedLink.ExchangesJudgeTheirRepliesByTheirRules.

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

        const auto reply = input.takeMessage();
        listener->handleIncomingMidiMessage (heldInput, reply);

        // A lone System Real-Time byte is no reply: an empty SysEx message
        // after it makes sure that the exchange never waits out its limit.
        if (DeviceCommands::isSystemRealTime (reply))
        {
            const juce::uint8 empty[] = { 0xf0, 0xf7 };
            listener->handleIncomingMidiMessage (heldInput, juce::MidiMessage (empty, 2));
        }
    }

    FuzzInput& input;
    MidiPortListener* listener = nullptr;
    MidiInputPort* heldInput = nullptr;
};
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

    // The query reads a byte of its reply; the start judges it strictly.
    while (link.isOpen() && ! input.isExhausted())
        if ((input.takeByte() & 1) != 0)
            link.queryDevice();
        else
            link.sendStart();

    link.close();
    link.setPortSystem (nullptr);
    return 0;
}
