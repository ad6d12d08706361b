"""The web page over the browser's own Web MIDI, on the ALSA sequencer
stand-in, with the simulated VT-5150 behind the "VT-5150" port beside a
"Midi Through" port and a silent device: a whole update with Return alone
until the device holds the built-in image, the search's order on the wire,
no device, a device that falls silent or is unplugged mid-transfer, and
refused MIDI.

usage: standin_update_test.py <build folder> <site folder> [unittest options]"""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import browser  # noqa: E402
from page_harness import WHOLE_UPDATE_EXCHANGES, Page  # noqa: E402

BUILD, SITE = sys.argv.pop(1), sys.argv.pop(1)
PROBE = 'F0 4E 7F 0D 78 F7'
PORTS = ['Midi Through Port-0', 'Synth', 'VT-5150']


class StandInUpdateTest(unittest.TestCase):
    def lab(self, *device_options, plugged=True):
        lab = browser.Lab(BUILD, SITE)
        self.addCleanup(lab.close)
        lab.__enter__()
        if plugged:
            lab.plug_in(*device_options)
        return lab

    def search(self, page, until, seconds=30):
        for _ in range(5):
            page.key('Enter')
        page.wait(until, seconds, 'the search ends')

    def transfer_fails_to_welcome_page(self, page, fault):
        expected = page.texts()['texts']['boxes']['transferErrorMessage']
        self.search(page, lambda: page.state()['step'] == 'Step 5.')
        page.key('Enter')
        page.wait(lambda: page.js('return Number(document.getElementById("progress").ariaValueNow)') >= 5, 60,
                  'the transfer is under way')
        fault()
        page.wait(lambda: page.state()['box'] == 'error-box', 15, 'the transfer-error box opens')
        state = page.state()
        self.assertEqual((state['message'], state['step'], state['focus']), (expected, 'Step 6.', 'error-ok'))
        page.key('Enter')
        page.wait(lambda: page.state()['step'] == '', 5, 'the welcome page follows the box')
        state = page.state()
        self.assertEqual((state['box'], state['next'], state['previous'], state['progress'], state['focus']),
                         (None, 'Next', False, False, 'next'), 'the welcome page, never the last page')

    def test_whole_update_with_return_alone(self):
        lab = self.lab()
        page = Page(lab)
        self.search(page, lambda: page.state()['step'] == 'Step 5.')
        probes = [line[len('OUT '):-len(' ' + PROBE)] for line in lab.wire()
                  if line.startswith('OUT ') and line.endswith(PROBE)]
        # Inputs outer, outputs inner: through each input every output is tried, up to the device's pair;
        # the probes that go out during a pass over one input are one per output.
        self.assertEqual(probes, PORTS * 3, 'every pair probed in order until the device answered on the last')

        started = time.monotonic()
        page.key('Enter')
        page.key('Enter')
        page.wait(lambda: page.state()['step'] == 'Step 7.', 600, 'the update is complete')
        seconds = time.monotonic() - started
        print(f'\nwhole transfer over the stand-in: {seconds:.1f} s, {seconds / WHOLE_UPDATE_EXCHANGES * 1e6:.0f} us per exchange',
              file=sys.stderr)
        self.assertEqual((page.state()['next'], page.state()['box']), ('Finish', None))
        lab.unplug()
        report = lab.device_report()
        self.assertEqual((report['image'], report['violations']), ('match', '0'), 'the device holds the image')

    def test_no_device_shows_the_not_found_box(self):
        lab = self.lab(plugged=False)
        page = Page(lab)
        self.search(page, lambda: page.state()['box'] == 'error-box')
        self.assertEqual(page.state()['step'], 'Step 4.')
        self.assertEqual(page.state()['message'], page.texts()['texts']['boxes']['deviceNotFoundMessage'])

    def test_device_silent_mid_transfer(self):
        lab = self.lab('--fault', 'silent-at-block=20')
        page = Page(lab)
        self.transfer_fails_to_welcome_page(page, lambda: None)

    def test_device_unplugged_mid_transfer(self):
        lab = self.lab()
        page = Page(lab)
        self.transfer_fails_to_welcome_page(page, lab.unplug)

    def test_refused_midi_is_said_plainly(self):
        lab = self.lab()
        page = Page(lab)
        page.refuse_midi()
        self.search(page, lambda: page.state()['box'] == 'error-box')
        self.assertEqual(page.state()['message'], page.texts()['messages']['refused'])
        self.assertNotIn(PROBE, ' '.join(lab.wire()))


if __name__ == '__main__':
    unittest.main()
