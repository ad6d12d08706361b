#include "device/TransferThread.h"

#include "device/DeviceLink.h"

bool transferRunning = false;
std::unique_ptr<TransferThread> activeTransferThread;

TransferThread::TransferThread (juce::Component& noticeTargetToUse)
    : juce::Thread ("VT5150 firmware transfer")
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

void startTransferThread (juce::Component& noticeTarget)
{
    JUCE_ASSERT_MESSAGE_THREAD

    destroyTransferThread();
    transferRunning = true;
    activeTransferThread = std::make_unique<TransferThread> (noticeTarget);
    activeTransferThread->startThread (juce::Thread::Priority::normal);
}

void destroyTransferThread()
{
    JUCE_ASSERT_MESSAGE_THREAD

    activeTransferThread.reset();
    transferRunning = false;
}
