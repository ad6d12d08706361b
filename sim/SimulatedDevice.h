#pragma once

#include "sim/DeviceFaults.h"
#include "sim/DeviceMemory.h"
#include "sim/VirtualMidiPorts.h"

#include <condition_variable>
#include <deque>
#include <thread>

/**
    A stand-in for the VT-5150 on one input/output pair of a VirtualMidiPorts.

    It answers every command that reaches its output, on its input, as the
    device does: the acknowledgement F0 4E 7F 0D 0D F7 to probe, start,
    address, data and commit, and a reply carrying a result byte to the query.
    It records every command, keeps the memory that the commands write, and
    can misbehave in the ways DeviceFaults lists. Replies with a latency are
    sent from a thread of its own, so the sender is never held up; with
    answersOnOwnThread, that thread also takes in and decodes each command,
    as a real device does, so that the sending thread pays only for the send.
*/
class SimulatedDevice
{
public:
    /** Where the device sits and how it behaves. */
    struct Settings
    {
        int inputIndex = 0;
        int outputIndex = 0;
        int latencyMicroseconds = 0;
        DeviceFaults faults;
        bool answersOnOwnThread = false;
    };

    /** The result byte that the device gives to the query command. */
    static constexpr juce::uint8 queryResult = 0x13;

    /** Attaches the device to its output of `ports`; it answers on its input. */
    SimulatedDevice (VirtualMidiPorts& ports, const Settings& settings);

    /** Detaches from the ports; replies not yet sent are dropped. */
    ~SimulatedDevice();

    /** Every command frame received so far, raw bytes F0 through F7, in order. */
    std::vector<std::vector<juce::uint8>> getReceivedCommands() const;

    /** Number of commands received so far. */
    int getNumReceivedCommands() const;

    /** True when the memory holds exactly this payload, every block committed. */
    bool memoryMatches (const std::vector<juce::uint8>& payload) const;

    /** Every protocol violation seen so far. */
    juce::StringArray getViolations() const;

    /**
        Called with each command frame as it arrives, on the sending thread (the device's
        own with answersOnOwnThread); for tests that act mid-transfer.
    */
    void setCommandObserver (std::function<void (const juce::MidiMessage&)> observer);

private:
    /** A message waiting on the device's thread: a command to answer, or a reply to send. */
    struct Pending
    {
        std::chrono::steady_clock::time_point due;
        juce::MidiMessage message;
        bool isCommand;
    };

    void receive (const juce::MidiMessage& frame);
    void answer (const juce::MidiMessage& frame);
    void schedule (const juce::MidiMessage& message, bool isCommand);
    bool isSilentFor (DeviceMemory::Command command, int commandNumber, int dataIndex) const;
    juce::MidiMessage makeReply (DeviceMemory::Command command) const;
    void reply (const juce::MidiMessage& message);
    void sendNow (const juce::MidiMessage& message);
    void sendDelayedUntilStopped();

    VirtualMidiPorts& ports;
    const Settings settings;
    const std::chrono::microseconds delay;

    mutable std::mutex stateMutex;
    DeviceMemory memory;
    std::vector<std::vector<juce::uint8>> received;
    std::function<void (const juce::MidiMessage&)> commandObserver;

    std::mutex queueMutex;
    std::condition_variable queueChanged;
    std::deque<Pending> pending;
    bool stopping = false;
    std::thread replyThread;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedDevice)
};
