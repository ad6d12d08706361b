// A MIDIAccess made of ports that live in this process, with a VT-5150 that
// acknowledges every command behind one input and output pair, for driving
// the compiled module under node without a browser.

class FakePort
{
    constructor(id)
    {
        this.id = id;
        this.state = 'connected';
        this.onmidimessage = null;
        this.received = [];
        this.onSend = () => {};
    }

    async open()
    {
        if (this.state !== 'connected')
            throw new Error('port gone');
    }

    async close() {}

    send(bytes)
    {
        if (this.state !== 'connected')
            throw new Error('InvalidStateError');
        this.received.push([...bytes]);
        this.onSend(bytes);
    }
}

/** inputs × outputs ports; the device, unless `at` is null, answers on input at[0] for output at[1]. */
export function fakeMidiAccess({ inputs, outputs, at, answer = () => true })
{
    const inputPorts = Array.from({ length: inputs }, (_, i) => new FakePort(`in-${i}`));
    const outputPorts = Array.from({ length: outputs }, (_, j) => new FakePort(`out-${j}`));
    const access = {
        inputs: new Map(inputPorts.map((p) => [p.id, p])),
        outputs: new Map(outputPorts.map((p) => [p.id, p])),
        onstatechange: null,
    };
    const device = { commands: 0 };

    if (at)
    {
        const [input, output] = [inputPorts[at[0]], outputPorts[at[1]]];
        output.onSend = (bytes) =>
        {
            device.commands++;
            if (answer(bytes, device.commands))
                setImmediate(() => input.onmidimessage?.({ data: Uint8Array.of(0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7) }));
        };
        device.unplug = () =>
        {
            for (const port of [input, output])
            {
                port.state = 'disconnected';
                access.onstatechange?.({ port });
            }
        };
    }
    return { access, inputPorts, outputPorts, device };
}
