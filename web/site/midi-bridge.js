// Carries MIDI bytes between the browser's Web MIDI and the compiled device
// code, which calls these methods (web/WebMidi*.cpp) as Module.webMidi. The
// protocol itself lives in the compiled code; this only opens ports, passes
// bytes both ways and wakes the compiled code's reply wait.

export class MidiBridge
{
    constructor()
    {
        this.access = null;
        this.module = null;
        this.ports = new Map();
        this.nextHandle = 0;
        this.wake = null;
        this.inputList = [];
        this.outputList = [];
        this.onHeldPortGone = () => {};
    }

    /** Starts using this MIDIAccess and the compiled module that it delivers to. */
    attach(access, module)
    {
        this.access = access;
        this.module = module;
        access.onstatechange = (event) => this.portChanged(event.port);
    }

    /** Takes the browser's list of inputs, in its order, for the search that asks; gives its length. */
    inputCount()
    {
        this.inputList = this.access ? [...this.access.inputs.values()] : [];
        return this.inputList.length;
    }

    /** The same for the outputs. */
    outputCount()
    {
        this.outputList = this.access ? [...this.access.outputs.values()] : [];
        return this.outputList.length;
    }

    openInput(index)
    {
        return this.open(this.inputList[index]);
    }

    openOutput(index)
    {
        return this.open(this.outputList[index]);
    }

    /** Opens a port and gives it a handle, or gives -1 when the browser cannot open it. */
    async open(port)
    {
        try
        {
            await port.open();
        }
        catch
        {
            return -1;
        }
        const handle = this.nextHandle++;
        this.ports.set(handle, port);
        return handle;
    }

    /** Passes the input's messages to the compiled code from now on. */
    startInput(handle)
    {
        this.ports.get(handle).onmidimessage = (event) => this.deliver(handle, event.data);
    }

    /** Passes them no longer. */
    stopInput(handle)
    {
        this.ports.get(handle).onmidimessage = null;
    }

    closeInput(handle)
    {
        this.close(handle);
    }

    closeOutput(handle)
    {
        this.close(handle);
    }

    close(handle)
    {
        const port = this.ports.get(handle);
        this.ports.delete(handle);
        port.close().catch(() => {});
    }

    /** Sends a whole message; a port that has gone refuses it, which only the missing reply tells. */
    send(handle, bytes)
    {
        try
        {
            this.ports.get(handle).send(bytes);
        }
        catch
        {
            // The reply wait notices that nothing came back.
        }
    }

    /** Copies one whole message into the compiled code's memory, hands it over and wakes the reply wait. */
    deliver(handle, bytes)
    {
        const buffer = this.module._malloc(bytes.length);
        this.module.HEAPU8.set(bytes, buffer);
        this.module._vt5150_deliver(handle, buffer, bytes.length);
        this.module._free(buffer);
        this.wakeWaiter();
    }

    /** Resolves once a message has been delivered, a held port has gone, or limitMs have passed. */
    waitForMessage(limitMs)
    {
        return new Promise((resolve) =>
        {
            const timer = setTimeout(() => this.wakeWaiter(), limitMs);
            this.wake = () =>
            {
                clearTimeout(timer);
                resolve();
            };
        });
    }

    wakeWaiter()
    {
        const wake = this.wake;
        this.wake = null;
        if (wake)
            wake();
    }

    /** A held port that goes ends the transfer, which then fails, and wakes the reply wait. */
    portChanged(port)
    {
        const held = [...this.ports.values()].some((p) => p.id === port.id);
        if (held && port.state === 'disconnected')
        {
            this.onHeldPortGone();
            this.wakeWaiter();
        }
    }
}
