// A MIDIAccess made of ports that live in the page (or in node), with a
// VT-5150 that acknowledges commands behind one input and output pair: the
// page's logic and keys can be driven in a browser without MIDI, and the
// compiled module under node. A classic script, so that a test can also put
// it into a page before the page's own scripts run.
//
// fakeMidiAccess({ inputs, outputs, at, silentAfter, unplugAfter }): `at` is
// [input, output] of the device, or null for none; the device stops answering
// after `silentAfter` commands, and is unplugged, unanswered, at command
// number `unplugAfter`. Gives { access, inputPorts, outputPorts, device }.

(function ()
{
    // One task per reply, as a browser delivers MIDI: setImmediate under node,
    // a message to itself in a page (timers would be slowed down to 4 ms).
    const nextTask = globalThis.setImmediate ?? ((task) =>
    {
        const channel = new MessageChannel();
        channel.port1.onmessage = task;
        channel.port2.postMessage(0);
    });

    class FakePort
    {
        constructor(id, type)
        {
            this.id = id;
            this.type = type;
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

    globalThis.fakeMidiAccess = ({ inputs, outputs, at, silentAfter = Infinity, unplugAfter = Infinity }) =>
    {
        const inputPorts = Array.from({ length: inputs }, (_, i) => new FakePort(`in-${i}`, 'input'));
        const outputPorts = Array.from({ length: outputs }, (_, j) => new FakePort(`out-${j}`, 'output'));
        const access = {
            inputs: new Map(inputPorts.map((p) => [p.id, p])),
            outputs: new Map(outputPorts.map((p) => [p.id, p])),
            onstatechange: null,
        };
        const device = { commands: 0, unplug: () => {} };

        if (at)
        {
            const [input, output] = [inputPorts[at[0]], outputPorts[at[1]]];
            const ack = Uint8Array.of(0xf0, 0x4e, 0x7f, 0x0d, 0x0d, 0xf7);
            output.onSend = () =>
            {
                device.commands++;
                if (device.commands === unplugAfter)
                    nextTask(() => device.unplug());
                else if (device.commands <= silentAfter)
                    nextTask(() => input.onmidimessage?.({ data: ack }));
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
    };
})();
