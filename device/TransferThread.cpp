#include "device/TransferThread.h"

#include "device/DeviceLink.h"

bool transferRunning = false;
std::unique_ptr<TransferThread> activeTransferThread;

TransferThread::TransferThread (juce::Component& noticeTargetToUse, size_t stackSize)
    : juce::Thread ("VT5150 firmware transfer", stackSize)
    , noticeTarget (noticeTargetToUse)
{
}

TransferThread::~TransferThread()
{
    signalThreadShouldExit();
    waitForThreadToExit (-1);
}

void TransferThread::run()
{
    const auto succeeded = deviceLink().transferFirmware (this);
    noticeTarget.postCommandMessage (succeeded ? TransferSucceeded : TransferFailed);
}

bool TransferThread::start()
{
    if (startThread (juce::Thread::Priority::normal))
        return true;

    noticeTarget.postCommandMessage (TransferFailed);
    return false;
}

void startTransferThread (juce::Component& noticeTarget, size_t stackSize)
{
    JUCE_ASSERT_MESSAGE_THREAD

    destroyTransferThread();
    transferRunning = true;
    activeTransferThread = std::make_unique<TransferThread> (noticeTarget, stackSize);
    activeTransferThread->start();
}

void destroyTransferThread()
{
    JUCE_ASSERT_MESSAGE_THREAD

    activeTransferThread.reset();
    transferRunning = false;
}
