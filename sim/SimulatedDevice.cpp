#include "sim/SimulatedDevice.h"

namespace
{
constexpr int blockSize = 128;
constexpr auto lateReplyDelay = std::chrono::milliseconds (1001);

juce::MidiMessage makeSysEx (std::initializer_list<juce::uint8> body)
{
    return juce::MidiMessage::createSysExMessage (body.begin(), (int) body.size());
}
} // namespace

SimulatedDevice::SimulatedDevice (VirtualMidiPorts& portsToUse, const Settings& settingsToUse)
    : ports (portsToUse)
    , settings (settingsToUse)
    , delay (
          std::chrono::microseconds (settingsToUse.latencyMicroseconds) +
          (settingsToUse.faults.lateReply ? std::chrono::microseconds (lateReplyDelay) : std::chrono::microseconds()))
{
    if (delay.count() > 0 || settings.answersOnOwnThread)
        replyThread = std::thread ([this] { sendDelayedUntilStopped(); });

    ports.setReceiver (settings.outputIndex, [this] (const juce::MidiMessage& frame) { receive (frame); });
}

SimulatedDevice::~SimulatedDevice()
{
    ports.setReceiver (settings.outputIndex, {});

    {
        const std::lock_guard<std::mutex> lock (queueMutex);
        stopping = true;
    }

    queueChanged.notify_all();

    if (replyThread.joinable())
        replyThread.join();
}

void SimulatedDevice::setCommandObserver (std::function<void (const juce::MidiMessage&)> observer)
{
    const std::lock_guard<std::mutex> lock (stateMutex);
    commandObserver = std::move (observer);
}

void SimulatedDevice::receive (const juce::MidiMessage& frame)
{
    if (settings.answersOnOwnThread)
        schedule (frame, true);
    else
        answer (frame);
}

void SimulatedDevice::answer (const juce::MidiMessage& frame)
{
    DeviceMemory::Command command;
    int commandNumber, dataBytesBefore;
    std::function<void (const juce::MidiMessage&)> observer;

    {
        const std::lock_guard<std::mutex> lock (stateMutex);
        received.emplace_back (frame.getRawData(), frame.getRawData() + frame.getRawDataSize());
        commandNumber = (int) received.size();
        dataBytesBefore = memory.getNumDataBytes();
        command = memory.process (frame);
        observer = commandObserver;
    }

    if (observer)
        observer (frame);

    if (command == DeviceMemory::Command::malformed || isSilentFor (command, commandNumber, dataBytesBefore))
        return;

    reply (makeReply (command));

    if (settings.faults.noiseAfterReply)
        reply (juce::MidiMessage (0xfe));

    if (settings.faults.strayMessage && ports.getNumInputs() > 1)
        ports.sendToInput ((settings.inputIndex + 1) % ports.getNumInputs(),
                           juce::MidiMessage::noteOn (1, 60, (juce::uint8) 64));
}

bool SimulatedDevice::isSilentFor (DeviceMemory::Command command, int commandNumber, int dataBytesBefore) const
{
    const auto& faults = settings.faults;

    if (faults.silentAfter >= 0 && commandNumber > faults.silentAfter)
        return true;

    if (commandNumber <= faults.silentFirst)
        return true;

    if (faults.silentAtBlock >= 0 && command == DeviceMemory::Command::data &&
        dataBytesBefore >= faults.silentAtBlock * blockSize)
        return true;

    return (faults.noQueryReply && command == DeviceMemory::Command::query) ||
           (faults.ignoreBlockAddress && command == DeviceMemory::Command::blockAddress);
}

juce::MidiMessage SimulatedDevice::makeReply (DeviceMemory::Command command) const
{
    const auto& faults = settings.faults;

    if (faults.shortAck)
        return makeSysEx ({ 0x4e, 0x7f, 0x0d });

    if (faults.wrongAck)
        return makeSysEx ({ 0x4e, 0x7f, 0x0d, 0x0e });

    if (command == DeviceMemory::Command::query)
        return makeSysEx ({ 0x4e, 0x7f, 0x0d, queryResult });

    if (command == DeviceMemory::Command::start && faults.refuseStart)
        return makeSysEx ({ 0x4e, 0x7f, 0x0d, 0x7f });

    return makeSysEx ({ 0x4e, 0x7f, 0x0d, 0x0d });
}

void SimulatedDevice::reply (const juce::MidiMessage& message)
{
    // A command answered on the device's thread has waited out the latency already.
    if (delay.count() == 0 || settings.answersOnOwnThread)
        sendNow (message);
    else
        schedule (message, false);
}

void SimulatedDevice::schedule (const juce::MidiMessage& message, bool isCommand)
{
    {
        const std::lock_guard<std::mutex> lock (queueMutex);
        pending.push_back ({ std::chrono::steady_clock::now() + delay, message, isCommand });
    }

    queueChanged.notify_all();
}

void SimulatedDevice::sendNow (const juce::MidiMessage& message)
{
    ports.sendToInput (settings.inputIndex, message);
}

void SimulatedDevice::sendDelayedUntilStopped()
{
    std::unique_lock<std::mutex> lock (queueMutex);

    for (;;)
    {
        queueChanged.wait (lock, [this] { return stopping || ! pending.empty(); });

        if (stopping)
            return;

        // Everything waits the same delay, so the queue is in order of due time.
        if (delay.count() > 0 && queueChanged.wait_until (lock, pending.front().due, [this] { return stopping; }))
            return;

        auto next = std::move (pending.front());
        pending.pop_front();
        lock.unlock();

        if (next.isCommand)
            answer (next.message);
        else
            sendNow (next.message);

        lock.lock();
    }
}

std::vector<std::vector<juce::uint8>> SimulatedDevice::getReceivedCommands() const
{
    const std::lock_guard<std::mutex> lock (stateMutex);
    return received;
}

int SimulatedDevice::getNumReceivedCommands() const
{
    const std::lock_guard<std::mutex> lock (stateMutex);
    return (int) received.size();
}

bool SimulatedDevice::memoryMatches (const std::vector<juce::uint8>& payload) const
{
    const std::lock_guard<std::mutex> lock (stateMutex);
    return memory.matches (payload);
}

juce::StringArray SimulatedDevice::getViolations() const
{
    const std::lock_guard<std::mutex> lock (stateMutex);
    return memory.getViolations();
}
