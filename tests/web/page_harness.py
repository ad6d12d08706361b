"""Drives the web page in the lab's headless Chromium (browser.py): optionally
puts the in-page fake MIDI of fake_midi.js in place of the browser's, presses
keys through the DevTools protocol (so that a key's auto-repeat can be sent),
reads what the page shows and its accessibility tree."""

import json
import os
import time

HERE = os.path.dirname(os.path.abspath(__file__))

KEYS = {
    'Enter': {'key': 'Enter', 'code': 'Enter', 'windowsVirtualKeyCode': 13, 'text': '\r'},
    'Tab': {'key': 'Tab', 'code': 'Tab', 'windowsVirtualKeyCode': 9},
    ' ': {'key': ' ', 'code': 'Space', 'windowsVirtualKeyCode': 32, 'text': ' '},
    'Escape': {'key': 'Escape', 'code': 'Escape', 'windowsVirtualKeyCode': 27},
    'F10': {'key': 'F10', 'code': 'F10', 'windowsVirtualKeyCode': 121},
    'ContextMenu': {'key': 'ContextMenu', 'code': 'ContextMenu', 'windowsVirtualKeyCode': 93},
}
SHIFT = 8

# The exchanges of a whole update of the built-in image: its start, every block, its end.
WHOLE_UPDATE_EXCHANGES = 25222


class Page:
    """The web page in the lab's browser (browser.Lab). fake: the setup of
    fake_midi.js's fakeMidiAccess (a dict) to put in place of the browser's
    MIDI before the page's own scripts run, or None for the browser's MIDI
    over the stand-in. path: where the lab serves the page. ready_seconds: how
    long it may take to load (minutes on an emulated processor)."""

    def __init__(self, lab, fake=None, path='index.html', ready_seconds=20):
        self.lab = lab
        if fake is not None:
            lab.open('icon.png')
            source = self.fake_source() + ('\nconst vt5150Fake = fakeMidiAccess(%s);\n'
                                           'globalThis.vt5150Fake = vt5150Fake;\n'
                                           'navigator.requestMIDIAccess = async () => vt5150Fake.access;\n'
                                           ) % json.dumps(fake)
            self.cdp('Page.addScriptToEvaluateOnNewDocument', source=source)
        self.driver = lab.open(path)
        self.wait(lambda: self.js('return document.documentElement.dataset.ready === "true"'), ready_seconds,
                  'the page loads')

    @staticmethod
    def fake_source():
        with open(os.path.join(HERE, 'fake_midi.js'), encoding='utf-8') as script:
            return script.read()

    def texts(self):
        """The page's texts module and its own messages: {texts: ..., messages: ...}."""
        return self.driver.execute_async_script(
            'const done = arguments[0];'
            'Promise.all([import("./texts.js"), import("./messages.js")])'
            '.then(([t, m]) => done({ texts: t.texts, messages: m.messages }));')

    def refuse_midi(self):
        """Makes the browser refuse the page MIDI from now on."""
        self.cdp('Browser.setPermission', permission={'name': 'midi', 'sysex': True}, setting='denied',
                 origin=self.js('return location.origin'))

    def cdp(self, command, **parameters):
        return self.lab.cdp(command, parameters)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    @staticmethod
    def wait(condition, seconds, what):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline:
                raise AssertionError(f'timed out after {seconds} s waiting until {what}')
            time.sleep(0.05)

    def key(self, name, shift=False, repeat=False):
        """One press and release of a key; with repeat, the press is an auto-repeat."""
        event = dict(KEYS[name], modifiers=SHIFT if shift else 0, autoRepeat=repeat)
        self.cdp('Input.dispatchKeyEvent', type='keyDown', **event)
        self.cdp('Input.dispatchKeyEvent', type='keyUp', **{k: v for k, v in event.items() if k != 'text'})

    def hold(self, name, repeats):
        """A key held down: one press, `repeats` auto-repeats, one release."""
        event = dict(KEYS[name], modifiers=0)
        self.cdp('Input.dispatchKeyEvent', type='keyDown', autoRepeat=False, **event)
        for _ in range(repeats):
            self.cdp('Input.dispatchKeyEvent', type='keyDown', autoRepeat=True, **event)
        self.cdp('Input.dispatchKeyEvent', type='keyUp', **{k: v for k, v in event.items() if k != 'text'})

    def leaving_refused(self):
        """True when the page asks the browser to keep it: what it does with the event that
        comes before the page is left or reloaded (the browser then asks the user)."""
        return self.js('const event = new Event("beforeunload", { cancelable: true });'
                       'dispatchEvent(event); return event.defaultPrevented;')

    def click(self, element_id):
        self.driver.find_element('id', element_id).click()

    def state(self):
        """What the page shows: its step, which buttons are shown and enabled, the open box, the focus."""
        return self.js('''
            const shown = (id) => !document.getElementById(id).hidden;
            const open = [...document.querySelectorAll('dialog')].find((d) => d.open);
            return { step: document.getElementById('step').textContent,
                     text: document.getElementById('page-text').textContent,
                     next: shown('next') ? document.getElementById('next').textContent : null,
                     nextEnabled: !document.getElementById('next').disabled,
                     previous: shown('previous'), progress: shown('progress'),
                     box: open ? open.id : null,
                     message: document.getElementById('error-message').textContent,
                     menu: shown('menu'), focus: document.activeElement.id || document.activeElement.tagName };''')

    def ax_nodes(self):
        """The page's accessibility tree as Chromium gives it to screen readers, without ignored nodes."""
        nodes = self.cdp('Accessibility.getFullAXTree')['nodes']
        result = []
        for node in nodes:
            if node.get('ignored'):
                continue
            properties = {p['name']: p['value'].get('value') for p in node.get('properties', [])}
            result.append({'role': node.get('role', {}).get('value'), 'name': node.get('name', {}).get('value', ''),
                           'properties': properties, 'value': node.get('value', {}).get('value'),
                           'description': node.get('description', {}).get('value', '')})
        return result

    def screenshot(self, path, scale):
        self.cdp('Emulation.setDeviceMetricsOverride', width=700, height=500, deviceScaleFactor=scale, mobile=False)
        self.driver.find_element('id', 'wizard').screenshot(path)
        self.cdp('Emulation.clearDeviceMetricsOverride')
