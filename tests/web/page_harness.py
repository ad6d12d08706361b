"""Drives the web page in Debian's headless Chromium: serves the page's folder
on 127.0.0.1, grants or refuses MIDI, optionally puts the in-page fake MIDI of
fake_midi.js in place of the browser's, presses keys through the DevTools
protocol (so that a key's auto-repeat can be sent), and reads the page's
accessibility tree."""

import functools
import http.server
import json
import os
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

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


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Page:
    """One browser on the page. fake: the fake_midi.js setup (a dict) or None
    for the browser's own MIDI; midi: 'granted' or 'denied'."""

    def __init__(self, site, scratch, fake=None, midi='granted', env=None):
        handler = functools.partial(QuietHandler, directory=site)
        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.origin = f'http://127.0.0.1:{self.server.server_port}'
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for argument in ('--headless=new', '--no-sandbox', '--window-size=700,500',
                         f'--user-data-dir={scratch}/profile', '--disable-gpu'):
            options.add_argument(argument)
        service = Service('/usr/bin/chromedriver', env=env or dict(os.environ), log_path=f'{scratch}/driver.log')
        self.driver = webdriver.Chrome(service=service, options=options)
        self.cdp('Browser.setPermission', permission={'name': 'midi', 'sysex': True}, setting=midi, origin=self.origin)
        if fake is not None:
            source = self.fake_source() + ('\nconst vt5150Fake = fakeMidiAccess(%s);\n'
                       'globalThis.vt5150Fake = vt5150Fake;\n'
                       'navigator.requestMIDIAccess = async () => vt5150Fake.access;\n') % json.dumps(fake)
            self.cdp('Page.addScriptToEvaluateOnNewDocument', source=source)
        self.driver.get(self.origin + '/index.html')
        self.wait(lambda: self.js('return document.documentElement.dataset.ready === "true"'), 20, 'the page loads')

    def close(self):
        self.driver.quit()
        self.server.shutdown()
        self.server.server_close()

    @staticmethod
    def fake_source():
        with open(os.path.join(HERE, 'fake_midi.js'), encoding='utf-8') as script:
            return script.read()

    def cdp(self, command, **parameters):
        return self.driver.execute_cdp_cmd(command, parameters)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, condition, seconds, what):
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
