// Starts the page: loads the compiled device code, fills in the texts taken
// from the program's sources and wires the wizard, its boxes, menu and keys.

import { Boxes } from './boxes.js';
import { Device } from './device.js';
import { handleKeys } from './keys.js';
import { messages, progressName } from './messages.js';
import { MidiBridge } from './midi-bridge.js';
import { ProgressBar } from './progress-bar.js';
import { texts } from './texts.js';
import { WindowMenu } from './window-menu.js';
import { Wizard } from './wizard.js';

const bridge = new MidiBridge();
const module = await globalThis.createUpdaterModule({ webMidi: bridge });
const pages = Array.from({ length: module._vt5150_page_count() }, (_, page) => ({
    title: module.UTF8ToString(module._vt5150_page_title(page)),
    text: module.UTF8ToString(module._vt5150_page_text(page)),
}));

document.title = texts.applicationName;
document.getElementById('application-name').textContent = texts.applicationName;
const picture = document.getElementById('picture');
picture.alt = texts.window.picture;
const progress = document.getElementById('progress');
progress.setAttribute('aria-label', progressName);

const device = new Device(module, bridge);
let wizard = null;
const boxes = new Boxes(document, texts, (previous) => wizard.settleFocus(previous));
const menu = new WindowMenu(document, texts, () => boxes.showAbout());
wizard = new Wizard({ document, texts, pages, device, boxes, messages,
    progressBar: new ProgressBar(progress, () => device.progress()) });

const wizardArea = document.getElementById('wizard');
wizardArea.addEventListener('contextmenu', (event) =>
{
    event.preventDefault();
    const area = wizardArea.getBoundingClientRect();
    if (!boxes.isOpen())
        menu.open(event.clientX - area.left, event.clientY - area.top);
});
handleKeys(document, wizard, menu, () => menu.open(1, 1));

// Leaving or reloading the page during a search or a transfer is refused as far as the browser allows.
addEventListener('beforeunload', (event) =>
{
    if (wizard.busy)
    {
        event.preventDefault();
        event.returnValue = '';
    }
});

document.documentElement.dataset.ready = 'true';
