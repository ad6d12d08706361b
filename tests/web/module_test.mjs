// Drives the compiled device code (build/web/site/updater.js) under node over
// fake Web MIDI ports: the probing order, the reply limit, a whole transfer,
// and the transfer's end when the device falls silent or is unplugged.
// usage: node module_test.mjs <site folder>

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { test } from 'node:test';

import './fake_midi.js';

const site = process.argv[2];
const createUpdaterModule = createRequire(import.meta.url)(`${site}/updater.js`);
const { MidiBridge } = await import(`${site}/midi-bridge.js`);

async function updater(setup)
{
    const bridge = new MidiBridge();
    const module = await createUpdaterModule({ webMidi: bridge, wasmBinary: readFileSync(`${site}/updater.wasm`) });
    bridge.attach(setup.access, module);
    bridge.onHeldPortGone = () => module._vt5150_request_exit();
    const call = (name) => module.ccall(name, 'number', [], [], { async: true });
    return { module, detect: () => call('vt5150_detect'), transfer: () => call('vt5150_transfer') };
}

const { fakeMidiAccess } = globalThis;
const isProbe = (bytes) => bytes[4] === 0x78;

test('detection probes every pair, inputs outer, and keeps the first that answers', async () =>
{
    const setup = fakeMidiAccess({ inputs: 2, outputs: 3, at: [1, 2] });
    const started = Date.now();
    assert.equal(await (await updater(setup)).detect(), 1);
    const probes = setup.outputPorts.map((p) => p.received.filter(isProbe).length);
    assert.deepEqual(probes, [2, 2, 2]);
    // Five silent pairs at 1000 ms each before the sixth answers.
    const elapsed = Date.now() - started;
    assert.ok(elapsed >= 5000 && elapsed < 6500, `${elapsed} ms`);
});

test('no device: detection fails after one reply wait per pair, and the page stays alive meanwhile', async () =>
{
    const setup = fakeMidiAccess({ inputs: 1, outputs: 2, at: null });
    let ticks = 0;
    const ticker = setInterval(() => ticks++, 100);
    const started = Date.now();
    assert.equal(await (await updater(setup)).detect(), 0);
    clearInterval(ticker);
    const elapsed = Date.now() - started;
    assert.ok(elapsed >= 2000 && elapsed < 2600, `${elapsed} ms`);
    assert.ok(ticks >= 15, `only ${ticks} timer ticks ran during the search`);
});

test('a whole transfer sends every block and reports success', async () =>
{
    const setup = fakeMidiAccess({ inputs: 1, outputs: 1, at: [0, 0] });
    const run = await updater(setup);
    assert.equal(await run.detect(), 1);
    assert.equal(await run.transfer(), 1);
    const sent = setup.outputPorts[0].received;
    assert.equal(sent.filter((b) => b[4] === 0x63 || b[4] === 0x43).length, 24832);
    assert.equal(sent.filter((b) => b[4] === 0x6d).length, 194);
    assert.equal(run.module._vt5150_progress(), 24831 / 24832);
});

test('a device that falls silent mid-transfer fails it a reply wait later', async () =>
{
    const setup = fakeMidiAccess({ inputs: 1, outputs: 1, at: [0, 0], silentAfter: 499 });
    const run = await updater(setup);
    assert.equal(await run.detect(), 1);
    assert.equal(await run.transfer(), 0);
    assert.equal(setup.outputPorts[0].received.filter((b) => b[4] === 0x6d).length, 3);
});

test('a device unplugged mid-transfer fails it', async () =>
{
    const setup = fakeMidiAccess({ inputs: 1, outputs: 1, at: [0, 0], unplugAfter: 500 });
    const run = await updater(setup);
    assert.equal(await run.detect(), 1);
    assert.equal(await run.transfer(), 0);
});
