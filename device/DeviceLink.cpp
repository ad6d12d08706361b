#include "device/DeviceLink.h"

#if JUCE_WINDOWS
#include "midi/windows/WindowsMidiPorts.h"
#elif JUCE_WASM
#include "web/WebMidiPorts.h"
#else
#include "midi/SystemMidiPorts.h"
#endif

std::atomic<double> transferProgress { 0.0 };

DeviceLink::DeviceLink() = default;

DeviceLink::~DeviceLink()
{
    close();
}

juce::String DeviceLink::getName() const
{
    return "suckas";
}

bool DeviceLink::isOpen() const
{
    return heldOutput != nullptr && heldInput != nullptr;
}

bool DeviceLink::close()
{
    heldOutput.reset();

    if (heldInput != nullptr)
    {
        heldInput->stop();
        heldInput.reset();
    }

    return true;
}

bool DeviceLink::detect()
{
    close();

    auto& system = getPorts();
    const auto numOutputs = system.getNumOutputs();
    const auto numInputs = system.getNumInputs();

    for (int i = 0; i < numInputs; ++i)
    {
        heldInput = system.openInput (i, *this);

        if (heldInput == nullptr)
            continue;

        heldInput->start();

        if (probeOutputs (numOutputs))
            return true;

        heldOutput.reset();
        heldInput->stop();
        heldInput.reset();
    }

    close();
    return false;
}

bool DeviceLink::probeOutputs (int numOutputs)
{
    for (int j = 0; j < numOutputs; ++j)
    {
        heldOutput.reset();
        heldOutput = getPorts().openOutput (j);

        // A pair whose output cannot be opened cannot carry the probe, so it
        // is not waited on: nothing that arrives meanwhile may count as its answer.
        if (heldOutput == nullptr)
            continue;

        sendCommand (DeviceCommands::probe);

        if (awaitReply (true))
        {
            // The device is asked the query once it has acknowledged the probe,
            // as it expects. What its answer means is the device's own business:
            // the answer is fetched but not judged, and the pair is kept either way.
            queryDevice();
            return true;
        }
    }

    return false;
}

void DeviceLink::sendCommand (const juce::uint8* body, int length)
{
    // The store is emptied even when nothing can be sent, so that a reply left
    // over from an earlier exchange is never judged as the answer to this one.
    replyStore.clear();

    if (heldOutput == nullptr)
        return;

    heldOutput->sendMessageNow (DeviceCommands::toMessage (body, length));
}

void DeviceLink::sendCommand (const DeviceCommands::Body& body)
{
    sendCommand (body.data(), body.length);
}

bool DeviceLink::awaitReply (bool strict)
{
    return replyStore
        .awaitAndInspect (juce::Time::getMillisecondCounter(), replyTimeoutMs,
                          [strict] (const juce::MidiMessage& reply) {
                              return strict ? DeviceCommands::isStrictAcknowledgement (reply)
                                            : DeviceCommands::isLenientReply (reply);
                          })
        .value_or (false);
}

juce::uint8 DeviceLink::queryDevice()
{
    sendCommand (DeviceCommands::query);

    // Judged and read under one lock, so that a message arriving in between
    // cannot replace the reply whose byte is read. A lenient reply is at least
    // F0 plus three data bytes plus F7 long, so byte 4 is always inside it.
    return replyStore
        .awaitAndInspect (juce::Time::getMillisecondCounter(), replyTimeoutMs,
                          [] (const juce::MidiMessage& reply) -> juce::uint8
                          { return DeviceCommands::isLenientReply (reply) ? reply.getRawData()[4] : 0; })
        .value_or (0);
}

bool DeviceLink::sendStart()
{
    sendCommand (DeviceCommands::start);
    return awaitReply (true);
}

bool DeviceLink::sendAddress (juce::uint8 high, juce::uint8 low)
{
    sendCommand (DeviceCommands::address (high, low));
    return awaitReply (true);
}

bool DeviceLink::transferFirmware (juce::Thread* thread)
{
    const auto& image = firmware != nullptr ? *firmware : FirmwareImage::getBuiltIn();

    if (thread == nullptr || thread->threadShouldExit() || image.getLength() == 0)
        return false;

    // A negative length, or more blocks than the 16-bit block address reaches,
    // could only be sent by writing the wrong places: refused before anything is sent.
    if (image.getLength() < 0 || image.getNumBlocks() > FirmwareImage::maxBlocks)
        return false;

    if (! sendStart() || thread->threadShouldExit() || ! sendAddress (0, 0) || thread->threadShouldExit())
        return false;

    const auto numBlocks = image.getNumBlocks();
    progressTotal = (float) (numBlocks * FirmwareImage::blockSize);

    for (int block = 0; block < numBlocks; ++block)
        if (! sendBlock (image, block, *thread))
            return false;

    return true;
}

bool DeviceLink::sendBlock (const FirmwareImage& image, int block, juce::Thread& thread)
{
    for (int i = 0; i < FirmwareImage::blockSize; ++i)
    {
        // The device takes a block's bytes with the two data letters in turn,
        // counted from the block's own start, not carried over from the block before.
        const auto letter = i % 2 == 0 ? DeviceCommands::evenDataLetter : DeviceCommands::oddDataLetter;
        const auto n = block * FirmwareImage::blockSize + i;
        sendCommand (DeviceCommands::data (letter, image.getPayload()[n]));

        progressDone = (float) n;
        transferProgress = (double) progressDone / (double) progressTotal;

        if (! awaitReply (true) || thread.threadShouldExit())
            return false;
    }

    // The device need not acknowledge a block's address: its verdict is not
    // consulted, and the commit that follows decides whether the block landed.
    // The two go as a pair, so the exit request is not looked at between them.
    // The address is the block's start counted in the device's two-byte words.
    const auto address = block * FirmwareImage::blockSize / DeviceCommands::bytesPerAddress;
    sendAddress ((juce::uint8) (address >> 8), (juce::uint8) (address & 0xff));

    sendCommand (DeviceCommands::commit);
    return awaitReply (true) && ! thread.threadShouldExit();
}

void DeviceLink::setFirmwareImage (const FirmwareImage* image)
{
    firmware = image;
}

void DeviceLink::setPortSystem (MidiPortSystem* newPorts)
{
    jassert (! isOpen());
    ports = newPorts;
}

MidiPortSystem& DeviceLink::getPorts() const
{
    // On Windows the updater's own winmm ports, which hand each SysEx buffer
    // back to the driver only once it has been read; in a web page the
    // browser's Web MIDI; JUCE's elsewhere.
#if JUCE_WINDOWS
    static WindowsMidiPorts systemPorts;
#elif JUCE_WASM
    static WebMidiPorts systemPorts;
#else
    static SystemMidiPorts systemPorts;
#endif
    return ports != nullptr ? *ports : systemPorts;
}

void DeviceLink::handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message)
{
    if (source == nullptr || source != heldInput.get())
    {
        replyStore.clear();
        return;
    }

    // Clock, active sensing, start, stop and the other System Real-Time bytes may
    // appear anywhere in a MIDI stream, and many interfaces send active sensing
    // every 300 ms: they are never a reply, so they neither replace nor clear one.
    if (! DeviceCommands::isSystemRealTime (message))
        replyStore.store (message);
}

namespace
{
DeviceLink theDeviceLink;
}

DeviceLink& deviceLink()
{
    return theDeviceLink;
}
