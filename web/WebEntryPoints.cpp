// What the page calls in the compiled code: the device link's detection and
// transfer, the transfer's progress and exit request, the page texts and the
// delivery of incoming MIDI. The page calls detect and transfer through
// Emscripten's ccall with async set, since both wait on the device.

#include "device/DeviceLink.h"
#include "ui/PageTexts.h"
#include "web/WebMidiInput.h"

#include <emscripten.h>

#include <iterator>

namespace
{
// The exit request of the transfer that runs, or none.
juce::Thread* runningTransfer = nullptr;

constexpr int numPages = (int) std::size (pageTexts);

int pageIndexInRange (int page)
{
    return page < 0 ? 0 : (page >= numPages ? numPages - 1 : page);
}
} // namespace

extern "C"
{
    /** Searches every input and output pair for the device; true when one answered and is held. */
    EMSCRIPTEN_KEEPALIVE int vt5150_detect()
    {
        deviceLink().detect();
        return deviceLink().isOpen() ? 1 : 0;
    }

    /** Writes the built-in firmware into the held device; 1 on success. */
    EMSCRIPTEN_KEEPALIVE int vt5150_transfer()
    {
        juce::Thread transfer;
        runningTransfer = &transfer;
        const auto succeeded = deviceLink().transferFirmware (&transfer);
        runningTransfer = nullptr;
        return succeeded ? 1 : 0;
    }

    /** Asks the running transfer, if any, to end with failure at its next look. */
    EMSCRIPTEN_KEEPALIVE void vt5150_request_exit()
    {
        if (runningTransfer != nullptr)
            runningTransfer->signalThreadShouldExit();
    }

    /** The fraction of the payload sent so far, 0 to 1. */
    EMSCRIPTEN_KEEPALIVE double vt5150_progress()
    {
        return transferProgress.load();
    }

    /** Sets the progress back to 0, as before each transfer. */
    EMSCRIPTEN_KEEPALIVE void vt5150_reset_progress()
    {
        transferProgress = 0.0;
    }

    /** Releases the held ports. */
    EMSCRIPTEN_KEEPALIVE void vt5150_close()
    {
        deviceLink().close();
    }

    /** Hands one whole MIDI message from the page's input `handle` to the compiled code. */
    EMSCRIPTEN_KEEPALIVE void vt5150_deliver (int handle, const juce::uint8* bytes, int numBytes)
    {
        WebMidiInput::deliver (handle, bytes, numBytes);
    }

    /** The number of the wizard's pages. */
    EMSCRIPTEN_KEEPALIVE int vt5150_page_count()
    {
        return numPages;
    }

    /** The step title of a page, 0 to 7. */
    EMSCRIPTEN_KEEPALIVE const char* vt5150_page_title (int page)
    {
        return pageTitles[pageIndexInRange (page)];
    }

    /** The instruction text of a page, 0 to 7. */
    EMSCRIPTEN_KEEPALIVE const char* vt5150_page_text (int page)
    {
        return pageTexts[pageIndexInRange (page)];
    }
}
