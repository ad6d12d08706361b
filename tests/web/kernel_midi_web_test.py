"""Web MIDI over the Linux kernel's own MIDI, in the test machine
(kernel_midi_web_test.sh): "Midi Through" and an snd-virmidi card of three
ports, the simulated VT-5150 behind the raw side of the third. One browser,
since it takes minutes to start there, does first the bare page's exchange
and then a whole update on the web page, with Return alone, until the
device holds the built-in image.

usage: kernel_midi_web_test.py <build folder> <site folder> <raw MIDI device> [unittest options]"""

import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import bare_page_test  # noqa: E402
import browser  # noqa: E402
from page_harness import WHOLE_UPDATE_EXCHANGES, Page  # noqa: E402

BUILD, SITE, RAW_MIDI = sys.argv.pop(1), sys.argv.pop(1), sys.argv.pop(1)
PORTS = ['Midi Through Port-0', 'VirMIDI 0-0', 'VirMIDI 0-1', 'VirMIDI 0-2']
DEVICE, SILENT = 'VirMIDI 0-2', 'VirMIDI 0-0'

# On the emulated processor, a browser in one process with less to start
# comes up in about four minutes instead of more than five.
FLAGS = ['--single-process', '--disable-extensions', '--disable-site-isolation-trials',
         '--disable-features=Translate,OptimizationHints,MediaRouter,DialMediaRouteProvider,PaintHolding']


def say(text):
    print(text, file=sys.stderr, flush=True)


class KernelMidiWebTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # The update's site, with the bare page beside it, served by one lab to one browser.
        cls.lab = browser.Lab(BUILD, SITE, raw_midi=RAW_MIDI, flags=FLAGS)
        cls.addClassCleanup(cls.lab.close)
        cls.lab.__enter__()
        shutil.copytree(bare_page_test.BARE_PAGES, os.path.join(cls.lab.folder, 'site', 'bare'))

    def open(self, path):
        started = time.monotonic()
        starting = self.lab.driver is None
        page = self.lab.open(path)
        if starting:
            say(f'\nChromium started and loaded {path} in {time.monotonic() - started:.0f} s')
        return page

    def test_bare_page_exchanges_with_the_device(self):
        self.lab.plug_in()
        page = self.open('bare/index.html')
        bare_page_test.exchanges_with_the_device(self, page, self.lab, PORTS, DEVICE, SILENT)

    def test_whole_update_with_return_alone(self):
        self.lab.plug_in()
        self.open('icon.png')
        started = time.monotonic()
        page = Page(self.lab, ready_seconds=300)
        say(f'the web page loaded in {time.monotonic() - started:.0f} s')

        def step_or_box(step):
            return lambda: page.state()['step'] == step or page.state()['box'] is not None

        started = time.monotonic()
        for _ in range(5):
            page.key('Enter')
        page.wait(step_or_box('Step 5.'), 300, 'the search ends')
        say(f'the search took {time.monotonic() - started:.0f} s')
        self.assertEqual((page.state()['step'], page.state()['box']), ('Step 5.', None), 'the device is found')

        started = time.monotonic()
        page.key('Enter')
        page.key('Enter')
        page.wait(step_or_box('Step 7.'), 1000, 'the update is complete')
        seconds = time.monotonic() - started
        say(f'whole transfer over the kernel: {seconds:.0f} s, {seconds / WHOLE_UPDATE_EXCHANGES * 1e3:.1f} ms per exchange')
        state = page.state()
        self.assertEqual((state['step'], state['next'], state['box']), ('Step 7.', 'Finish', None))
        self.lab.unplug()
        report = self.lab.device_report()
        self.assertEqual((report['image'], report['violations']), ('match', '0'), 'the device holds the image')


if __name__ == '__main__':
    unittest.main()
