// The bare exchange: a SysEx message out, the first message back, timed. Test
// equipment for the Web MIDI laboratory (tests/web/browser.py): it knows no
// command of the device, only bytes given to it and bytes that come back.
// Messages are written as hex bytes separated by spaces, "F0 4E 7F 0D 78 F7".
"use strict";

const access = navigator.requestMIDIAccess ({ sysex: true });

const toHex = (bytes) => [...bytes].map ((byte) => byte.toString (16).toUpperCase().padStart (2, "0")).join (" ");
const fromHex = (text) => text.trim().split (/\s+/).map ((word) => parseInt (word, 16));
const sleep = (ms) => new Promise ((resolve) => setTimeout (resolve, ms));

function findPort (ports, name)
{
    const port = [...ports.values()].find ((candidate) => candidate.name === name);

    if (port === undefined)
        throw new Error ("no MIDI port named " + name);

    return port;
}

/** Resolves with the next message on the input as hex, or with null when none comes within waitMs. */
function nextMessage (input, waitMs)
{
    return new Promise ((resolve) =>
    {
        const timer = setTimeout (() => { input.onmidimessage = null; resolve (null); }, waitMs);
        input.onmidimessage = (event) =>
        {
            clearTimeout (timer);
            input.onmidimessage = null;
            resolve (toHex (event.data));
        };
    });
}

async function openAll()
{
    const midi = await access;
    await Promise.all ([...midi.inputs.values(), ...midi.outputs.values()].map ((port) => port.open()));
    return midi;
}

window.bare = {
    /** Resolves with "ready" once MIDI with SysEx is granted, or with the error's name and message. */
    ready: access.then (() => "ready", (error) => error.name + ": " + error.message),

    /** The names of the inputs and outputs that the browser offers, those that are connected. */
    async ports()
    {
        const midi = await access;
        const connected = (ports) => [...ports.values()].filter ((port) => port.state === "connected").map ((port) => port.name);
        return { inputs: connected (midi.inputs), outputs: connected (midi.outputs) };
    },

    /** Sends the message on each output in turn and lists what every input received within waitMs of it. */
    async replies (message, waitMs)
    {
        const midi = await openAll();
        const heard = [];

        for (const output of midi.outputs.values())
        {
            for (const input of midi.inputs.values())
                input.onmidimessage = (event) => heard.push ({ output: output.name, input: input.name, reply: toHex (event.data) });

            output.send (fromHex (message));
            await sleep (waitMs);
        }

        for (const input of midi.inputs.values())
            input.onmidimessage = null;

        return heard;
    },

    /**
        Sends the message on the output and waits up to waitMs for the next message on the input, count times,
        stopping at the first that goes unanswered. Reports the exchanges answered, the distinct replies, and the
        mean time per answered exchange in microseconds.
    */
    async exchange (outputName, inputName, message, count, waitMs)
    {
        const midi = await openAll();
        const output = findPort (midi.outputs, outputName), input = findPort (midi.inputs, inputName);
        const bytes = fromHex (message), replies = new Set();
        let answered = 0, elapsed = 0;

        while (answered < count)
        {
            const reply = nextMessage (input, waitMs);
            const start = performance.now();
            output.send (bytes);
            const text = await reply;

            if (text === null)
                break;

            elapsed += performance.now() - start;
            replies.add (text);
            ++answered;
        }

        return { answered, replies: [...replies], microsecondsPerExchange: answered > 0 ? 1000 * elapsed / answered : null };
    },
};

// Opened by hand with the exchange in its address, the page runs it and shows the result.
const query = new URLSearchParams (location.search);

if (query.has ("output"))
{
    window.bare.exchange (query.get ("output"), query.get ("input") ?? query.get ("output"), query.get ("message"),
                          Number (query.get ("count") ?? 1), Number (query.get ("wait") ?? 1000))
        .then ((result) => JSON.stringify (result, null, 2), (error) => String (error))
        .then ((text) => { document.getElementById ("result").textContent = text; });
}
