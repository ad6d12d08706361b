#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The command messages by which a transfer thread reports its end. */
enum TransferNotice
{
    TransferSucceeded = 12345, /**< every block was sent and committed */
    TransferFailed = 54321     /**< the transfer did not complete, for whatever cause */
};

/**
    Runs one firmware transfer on a worker thread, so that the window and its
    progress bar stay alive meanwhile, and posts exactly one TransferNotice to
    the component that it reports to as the last thing it does.
*/
class TransferThread final : public juce::Thread
{
public:
    /**
        A thread that will report to this component, which must outlive it,
        with a stack of this many bytes (0: the system's default).
    */
    explicit TransferThread (juce::Component& noticeTarget, size_t stackSize = 0);

    /**
        Asks the transfer to end and waits until it has. The thread is never
        killed: one killed inside the MIDI driver or holding the reply store's
        lock could hang the program. The transfer looks at the request after
        every exchange but a block's address, so the wait lasts at most two
        reply waits (that address and its commit), usually one exchange.
    */
    ~TransferThread() override;

    /** Runs the device link's transfer and posts its notice. */
    void run() override;

    /**
        Starts the thread at normal priority. A thread that cannot be started
        posts TransferFailed itself, as a transfer that did not happen, so that
        its target handles it like any other failure; returns whether it started.
    */
    bool start();

private:
    juce::Component& noticeTarget;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TransferThread)
};

/** True from the start of a transfer thread until its notice has been handled; message thread only. */
extern bool transferRunning;

/** The current transfer thread, or none; message thread only. */
extern std::unique_ptr<TransferThread> activeTransferThread;

/**
    Destroys any transfer thread left over, sets transferRunning and starts a
    new TransferThread at normal priority that reports to this component.
    The stack size is the thread's (0: the system's default).
*/
void startTransferThread (juce::Component& noticeTarget, size_t stackSize = 0);

/** Destroys the current transfer thread, if any, waiting for it to end, and clears transferRunning. */
void destroyTransferThread();
