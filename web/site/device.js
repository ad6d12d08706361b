// The page's side of the device: MIDI permission, the one-update-at-a-time
// lock shared by the browser's tabs, and calls into the compiled device code,
// which does the searching and the transfer itself.

const lockName = 'vt5150-firmware-update';

export class Device
{
    constructor(module, bridge, navigator = globalThis.navigator)
    {
        this.module = module;
        this.bridge = bridge;
        this.navigator = navigator;
        this.releaseLock = null;
        bridge.onHeldPortGone = () => module._vt5150_request_exit();
    }

    /** Gets MIDI access and the update lock; gives the name of what stood in the way, or null. */
    async prepare()
    {
        if (typeof this.navigator.requestMIDIAccess !== 'function')
            return 'noWebMidi';
        if (!this.bridge.access)
        {
            try
            {
                this.bridge.attach(await this.navigator.requestMIDIAccess({ sysex: true }), this.module);
            }
            catch
            {
                return 'refused';
            }
        }
        return (await this.takeLock()) ? null : 'busy';
    }

    /** Holds the lock until release(); false when another tab holds it. Without locks, every tab may. */
    takeLock()
    {
        if (this.releaseLock || !this.navigator.locks)
            return Promise.resolve(true);
        return new Promise((resolve) =>
        {
            this.navigator.locks.request(lockName, { ifAvailable: true }, (lock) =>
            {
                resolve(lock !== null);
                return lock && new Promise((release) => { this.releaseLock = release; });
            });
        });
    }

    release()
    {
        const release = this.releaseLock;
        this.releaseLock = null;
        if (release)
            release();
    }

    /** Searches every pair for the device; true when it answered. */
    async detect()
    {
        return (await this.call('vt5150_detect')) === 1;
    }

    /** Sets the progress to 0 and writes the firmware into the device found; true on success. */
    async transfer()
    {
        this.module._vt5150_reset_progress();
        return (await this.call('vt5150_transfer')) === 1;
    }

    /** The fraction of the firmware sent, 0 to 1. */
    progress()
    {
        return this.module._vt5150_progress();
    }

    /** Lets the device's ports go. */
    close()
    {
        this.module._vt5150_close();
        this.release();
    }

    call(name)
    {
        return this.module.ccall(name, 'number', [], [], { async: true });
    }
}
