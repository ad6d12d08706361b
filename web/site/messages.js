// What only the web page has to say: the browser's own obstacles to an update.
// Each is shown in the error box, and the wizard stays on the search page.

export const messages = {
    noWebMidi: 'This browser cannot reach MIDI devices. Open the updater in Chrome, Edge or another '
        + 'Chromium-based browser.',
    refused: 'The browser was not allowed to use MIDI devices. Allow MIDI devices for this page in the '
        + 'browser\'s site settings, then press Next again.',
    busy: 'Another tab or window is already updating a VT-5150. Finish that update first, then press Next again.',
};

/** The progress bar's name for a screen reader. */
export const progressName = 'Firmware update progress';
