"""The web page as Debian's Orca screen reader reads it: Chromium with its
window on a display (headless, it offers no accessibility to AT-SPI), Orca
on the same session bus, and what Orca says taken from the "SPEECH OUTPUT"
lines of its debug output (written whether or not a speech synthesizer
runs). From the welcome page, Return turns the pages up to step 4; on each,
Orca says the step's title and text, and no earlier step's title. Run by
screen_reader_test.sh, which gives it a display and a session bus of its own.

usage: screen_reader_test.py <build folder> <site folder> [unittest options]"""

import contextlib
import os
import re
import sys
import threading
import tty
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import browser  # noqa: E402
from page_harness import Page  # noqa: E402

BUILD, SITE = sys.argv.pop(1), sys.argv.pop(1)

# "22:01:18.698697 - SPEECH OUTPUT: 'Step 1.'{'established': False}": an
# utterance may run over several lines, each further one indented by 18
# spaces, and is followed by the voice that speaks it.
UTTERANCE = re.compile(r"^[0-9:.]+ - SPEECH OUTPUT: '(.*(?:\n {18}.*)*)$", re.MULTILINE)
VOICE = re.compile(r"'(?: voice=\w+)? ?(?:\{[^{}]*\})?$")


def words(text):
    return ' '.join(text.split())


class ScreenReaderTest(unittest.TestCase):
    def setUp(self):
        # Orca writes its debug file through Python's open(), line by line only to a terminal:
        # it gets one, whose other side a thread reads.
        self.debug, terminal = os.openpty()
        tty.setraw(terminal)
        self.output = []
        reader = threading.Thread(target=self.read_debug)
        reader.start()
        self.addCleanup(os.close, self.debug)
        self.addCleanup(reader.join)
        self.addCleanup(os.close, terminal)

        self.lab = browser.Lab(BUILD, SITE, headless=False,
                               flags=['--force-renderer-accessibility', '--window-size=800,600'])
        self.addCleanup(self.lab.close)
        self.lab.__enter__()
        self.lab.start('orca', 'orca', '--debug-file', os.ttyname(terminal),
                       '--user-prefs', os.path.join(self.lab.folder, 'orca'))

    def read_debug(self):
        with contextlib.suppress(OSError):
            while chunk := os.read(self.debug, 65536):
                self.output.append(chunk)

    def said(self):
        """Everything that Orca has said so far, utterance by utterance, whitespace collapsed."""
        text = b''.join(list(self.output)).decode('utf-8', errors='replace')
        return [words(VOICE.sub('', utterance, count=1)) for utterance in UTTERANCE.findall(text)]

    def said_after(self, count, *phrases):
        """Waits until Orca has said each phrase (whitespace collapsed, in any order) after its first
        `count` utterances; returns what it said after them, joined."""
        def said_all():
            spoken = ' '.join(self.said()[count:])
            return all(words(phrase) in spoken for phrase in phrases)
        try:
            Page.wait(said_all, 60, f'Orca says {phrases!r}')
        except AssertionError as problem:
            raise AssertionError(f'{problem}; it said {self.said()[count:]}') from None
        return ' '.join(self.said()[count:])

    def test_orca_reads_each_page_as_it_appears(self):
        Page.wait(lambda: 'Screen reader on.' in self.said(), 60, 'Orca starts')
        page = Page(self.lab)

        steps = []
        state = page.state()
        # The welcome page is read from the document's title on, down to its button.
        self.said_after(0, page.driver.title, state['text'], 'Next push button')
        for _ in range(4):
            count = len(self.said())
            page.key('Enter')
            page.wait(lambda: page.state()['step'] not in [state['step']] + steps, 10, 'the next page')
            state = page.state()
            spoken = self.said_after(count, state['step'], state['text'])
            others = [other for other in steps if other + ' ' in spoken + ' ']
            self.assertEqual(others, [], f'on {state["step"]} Orca said no earlier step')
            steps.append(state['step'])

        self.assertEqual(steps, ['Step 1.', 'Step 2.', 'Step 3.', 'Step 4.'])
        self.assertNotIn('alert', ' '.join(self.said()).lower(), 'no box was read')


if __name__ == '__main__':
    unittest.main()
