#pragma once

#include "device/DeviceCommands.h"
#include "device/FirmwareImage.h"
#include "device/ReplyStore.h"
#include "midi/MidiPortSystem.h"

#include <juce_core/juce_core.h>

#include <atomic>

/**
    The one object through which the updater talks to the VT-5150.

    It holds at most one MIDI output and one MIDI input, finds the pair that
    the device answers on by probing every pair, and keeps that pair open for
    the transfer that follows. It is also the held input's listener: the last
    message from that input lands in the reply store, where the exchange
    operations judge it.

    Every exchange is one command, then one reply judged within 1000 ms.
*/
class DeviceLink : public MidiPortListener
{
public:
    /** How long an exchange waits for the device's reply. */
    static constexpr juce::uint32 replyTimeoutMs = 1000;

    DeviceLink();

    /** Releases whatever ports are still held. */
    ~DeviceLink() override;

    /**
        Writes the firmware image into the device over the held pair: the start
        command, address 0, then for each 128-byte block its data commands, its
        address command and its commit. Every command but a block's address
        must be acknowledged, or the transfer ends with false at once. The
        thread's exit request is looked at before anything is sent and after
        every acknowledged exchange except a block's address, whose commit
        follows it at once; a request also ends the transfer with false.
    */
    virtual bool transferFirmware (juce::Thread* thread);

    /** Returns the fixed name of the link; nothing depends on it. */
    virtual juce::String getName() const;

    /** True when both an output and an input are held. */
    virtual bool isOpen() const;

    /** Sends the query command and returns the fourth byte of its reply, or 0 without a usable reply. */
    virtual juce::uint8 queryDevice();

    /**
        Probes every (input, output) pair, inputs in the outer loop, and keeps
        the first pair that acknowledges open. Returns true when one did; on
        false nothing is held. Blocks for up to 1000 ms per silent pair.
    */
    virtual bool detect();

    /** Releases the held output and input, if any; always returns true. */
    virtual bool close();

    /** Sends the start command and returns whether the device acknowledged it. */
    bool sendStart();

    /** Sends the address command for this high and low byte and returns whether it was acknowledged. */
    bool sendAddress (juce::uint8 high, juce::uint8 low);

    /**
        Empties the reply store and sends the body, framed as SysEx, on the held
        output; without an output nothing is sent.
    */
    void sendCommand (const juce::uint8* body, int length);

    /** Sends a command body built by DeviceCommands. */
    void sendCommand (const DeviceCommands::Body& body);

    /**
        Waits up to 1000 ms from entry for a reply and judges it: with `strict`,
        only the device's acknowledgement passes; otherwise any reply with the
        device's header does.
    */
    bool awaitReply (bool strict);

    /** Makes transferFirmware send this image, which must outlive the link's use of it; nullptr for the built-in one.
     */
    void setFirmwareImage (const FirmwareImage* image);

    /**
        Makes the link reach MIDI through these ports instead of the system's;
        nullptr returns it to system MIDI. Only while nothing is held.
    */
    void setPortSystem (MidiPortSystem* newPorts);

    /**
        Called on the held input's delivery thread: keeps a copy of a message from
        the held input in the reply store, except a System Real-Time byte, which
        leaves the store as it is; a message from any other source empties it.
    */
    void handleIncomingMidiMessage (MidiInputPort* source, const juce::MidiMessage& message) override;

private:
    MidiPortSystem& getPorts() const;
    bool probeOutputs (int numOutputs);
    bool sendBlock (const FirmwareImage& image, int block, juce::Thread& thread);

    ReplyStore replyStore;
    float progressTotal = 1.0f;
    float progressDone = 0.0f;
    std::unique_ptr<MidiOutputPort> heldOutput;
    std::unique_ptr<MidiInputPort> heldInput;
    MidiPortSystem* ports = nullptr;
    const FirmwareImage* firmware = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceLink)
};

/**
    The fraction of the payload that the running or last transfer has got to,
    from 0 to 1: written by the transfer after each data command, reset by the
    wizard before a transfer starts, read by the progress bar.
*/
extern std::atomic<double> transferProgress;

/** Returns the process's one device link. */
DeviceLink& deviceLink();
