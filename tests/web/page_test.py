"""The web page in headless Chromium, its MIDI a fake device inside the page
(fake_midi.js): a whole update with the keyboard alone, the keys' guards, the
not-found box, the menu and the about box, the accessibility tree page by
page, and one update at a time across tabs. The faults of a real transfer
are standin_update_test.py's.

usage: page_test.py <build folder> <site folder> [unittest options]"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import browser  # noqa: E402
from page_harness import WHOLE_UPDATE_EXCHANGES, Page  # noqa: E402

BUILD, SITE = sys.argv.pop(1), sys.argv.pop(1)
PROGRESS_NAME = 'Firmware update progress'


class PageTest(unittest.TestCase):
    def open(self, fake):
        lab = browser.Lab(BUILD, SITE)
        self.addCleanup(lab.close)
        return Page(lab.__enter__(), fake)

    def to_search_page(self, page):
        for _ in range(4):
            page.key('Enter')
        page.wait(lambda: page.state()['step'] == 'Step 4.', 5, 'page 4 is shown')

    def ax_named(self, page, role, name):
        return [n for n in page.ax_nodes() if n['role'] == role and n['name'] == name]

    def assert_page_in_tree(self, page, number, buttons):
        state = page.state()
        nodes = page.ax_nodes()
        names = [n['name'] for n in nodes]
        self.assertIn(state['text'], names, f'page {number}: the page text is read')
        if state['step']:
            self.assertIn(state['step'], names, f'page {number}: the step title is read')
        shown = sorted(n['name'] for n in nodes if n['role'] == 'button' and n['name'] in ('Next', 'Previous', 'Finish'))
        self.assertEqual(shown, sorted(buttons), f'page {number}: the buttons offered')

    def test_whole_update_from_the_keyboard(self):
        page = self.open({'inputs': 2, 'outputs': 3, 'at': [1, 2]})
        self.assertEqual(page.state()['focus'], 'next', 'the keyboard is on Next when the page opens')
        self.assert_page_in_tree(page, 0, ['Next'])

        page.hold('Enter', 5)
        page.wait(lambda: page.state()['step'] == 'Step 1.', 5, 'page 1 is shown')
        self.assertEqual(page.state()['step'], 'Step 1.', 'a held Return turns one page')
        self.assert_page_in_tree(page, 1, ['Next', 'Previous'])

        page.key('Tab', shift=True)
        self.assertEqual(page.state()['focus'], 'previous', 'Shift+Tab moves to Previous')
        page.key('Tab', shift=True)
        self.assertEqual(page.state()['focus'], 'next', 'Tab goes round the buttons shown')
        page.key('Tab')
        page.key(' ')
        page.wait(lambda: page.state()['step'] == '', 5, 'Space on Previous shows page 0')
        self.assertEqual(page.state()['focus'], 'next', 'the keyboard goes to Next when Previous goes')
        page.key('Tab')
        self.assertEqual(page.state()['focus'], 'next', 'Tab stays on the only button shown')
        self.assertFalse(page.leaving_refused(), 'the page may be left while nothing runs')

        for number in range(1, 5):
            page.key('Enter')
            page.wait(lambda: page.state()['step'] == f'Step {number}.', 5, f'page {number} is shown')
            self.assert_page_in_tree(page, number, ['Next', 'Previous'])
        page.key('Enter')
        page.key('Enter')
        page.wait(lambda: page.state()['step'] == 'Step 5.', 15, 'the search finds the device')
        probes = page.js('return vt5150Fake.outputPorts.map((p) => p.received.filter((b) => b[4] === 0x78).length)')
        self.assertEqual(probes, [2, 2, 2], 'one search, every pair probed once: a second Return during it did nothing')
        self.assert_page_in_tree(page, 5, ['Next', 'Previous'])

        page.key('Enter')
        page.key('Enter')
        state = page.state()
        self.assertEqual((state['step'], state['next'], state['previous'], state['progress']),
                         ('Step 6.', None, False, True), 'two Returns on page 5 turn one page')
        self.assertEqual(state['focus'], 'page', 'the keyboard goes to the page text when the buttons go')
        page.wait(lambda: page.js('return vt5150Fake.device.commands') > 3000, 30, 'the transfer runs')
        bar = self.ax_named(page, 'progressbar', PROGRESS_NAME)
        self.assertEqual(len(bar), 1, 'the progress bar is read with its name')
        self.assertGreater(bar[0]['value'], 0, 'the progress bar says how far the update is')
        for _ in range(3):
            page.key('Enter')
        self.assertEqual(page.state()['step'], 'Step 6.', 'Return does nothing during the transfer')
        self.assertTrue(page.leaving_refused(), 'leaving the page during the transfer is refused')

        page.wait(lambda: page.state()['step'] == 'Step 7.', 120, 'the transfer ends')
        state = page.state()
        self.assertEqual((state['next'], state['previous'], state['progress'], state['box']),
                         ('Finish', False, False, None))
        self.assertEqual(state['focus'], 'next')
        self.assert_page_in_tree(page, 7, ['Finish'])
        foreign = page.js('return performance.getEntriesByType("resource").map((r) => r.name)'
                          '.filter((url) => !url.startsWith(location.origin + "/"))')
        self.assertEqual(foreign, [], 'the page loaded nothing from anywhere else')
        self.assertEqual(page.js('return vt5150Fake.device.commands'), 2 + 1 + WHOLE_UPDATE_EXCHANGES,
                         'the device heard a probe from each input\'s pass, the query and every command of the transfer')

    def test_no_device_shows_the_not_found_box_and_stays(self):
        page = self.open({'inputs': 1, 'outputs': 1, 'at': None})
        expected = page.texts()['texts']['boxes']['deviceNotFoundMessage']
        self.to_search_page(page)
        page.key('Enter')
        self.assertFalse(page.state()['nextEnabled'], 'Next cannot be pressed during the search')
        page.wait(lambda: page.state()['box'] == 'error-box', 5, 'the not-found box opens')
        state = page.state()
        self.assertEqual((state['message'], state['focus']), (expected, 'error-ok'))
        alert = [n for n in page.ax_nodes() if n['role'] == 'alertdialog']
        self.assertEqual([(n['name'], n['description']) for n in alert], [('Error', expected)])
        page.key('Enter')
        page.wait(lambda: page.state()['focus'] == 'next', 5, 'Return closes the box and the keyboard goes back')
        state = page.state()
        self.assertEqual((state['step'], state['focus'], state['nextEnabled']), ('Step 4.', 'next', True))

    def test_a_browser_without_web_midi_is_said_plainly(self):
        lab = browser.Lab(BUILD, SITE)
        self.addCleanup(lab.close)
        lab.__enter__().open('icon.png')
        lab.cdp('Page.addScriptToEvaluateOnNewDocument', {'source': 'delete Navigator.prototype.requestMIDIAccess;'})
        page = Page(lab)
        self.to_search_page(page)
        page.key('Enter')
        page.wait(lambda: page.state()['box'] == 'error-box', 5, 'a box opens')
        self.assertEqual(page.state()['message'], page.texts()['messages']['noWebMidi'])
        page.key('Enter')
        page.wait(lambda: page.state()['focus'] == 'next', 5, 'the box closes')
        self.assertEqual(page.state()['step'], 'Step 4.')

    def test_menu_and_about_box_from_keys_and_mouse(self):
        page = self.open({'inputs': 1, 'outputs': 1, 'at': [0, 0]})
        lines = page.texts()['texts']['about']['lines']
        for shift, key in ((True, 'F10'), (False, 'ContextMenu')):
            page.key(key, shift=shift)
            self.assertEqual((page.state()['menu'], page.state()['focus']), (True, 'menu-about'), key + ' opens the menu')
            page.key('Enter')
            page.wait(lambda: page.state()['box'] == 'about-box', 5, 'the about box opens')
            shown = page.js('return [...document.querySelectorAll(".about-line")].map((l) => l.textContent)')
            self.assertEqual(shown, lines)
            page.key('Escape')
            page.wait(lambda: page.state()['focus'] == 'next', 5, 'Escape closes the about box and gives the keyboard back')
            self.assertEqual((page.state()['focus'], page.state()['step']), ('next', ''), 'the wizard goes on as it was')
        page.cdp('Emulation.setDeviceMetricsOverride', width=700, height=500, deviceScaleFactor=2, mobile=False)
        page.driver.refresh()
        pictures = 'return [...document.images].map((i) => i.currentSrc.split("/").pop())'
        page.wait(lambda: page.js(pictures) == ['VT5150@2x.png', 'About@2x.png'], 10,
                  'a display at 200 % shows the double-size pictures')
        page.cdp('Emulation.clearDeviceMetricsOverride')
        page.wait(lambda: page.js('return document.documentElement.dataset.ready === "true"'), 10, 'the page is ready')
        from selenium.webdriver import ActionChains
        ActionChains(page.driver).context_click(page.driver.find_element('id', 'picture')).perform()
        self.assertTrue(page.state()['menu'], 'a right click on the picture opens the menu')
        page.key('Escape')
        self.assertFalse(page.state()['menu'])

    def test_second_tab_cannot_start_a_second_update(self):
        page = self.open({'inputs': 1, 'outputs': 1, 'at': [0, 0]})
        self.to_search_page(page)
        page.key('Enter')
        page.wait(lambda: page.state()['step'] == 'Step 5.', 10, 'the first tab finds the device')
        first = page.driver.current_window_handle
        page.driver.switch_to.new_window('tab')
        page.cdp('Page.addScriptToEvaluateOnNewDocument', source=page.fake_source()
                 + 'const f = fakeMidiAccess({inputs: 1, outputs: 1, at: [0, 0]});'
                 + 'navigator.requestMIDIAccess = async () => f.access;')
        page.lab.open('index.html')
        page.wait(lambda: page.js('return document.documentElement.dataset.ready === "true"'), 20, 'the second tab loads')
        expected = page.texts()['messages']['busy']
        self.to_search_page(page)
        page.key('Enter')
        page.wait(lambda: page.state()['box'] == 'error-box', 10, 'the second tab says why it cannot search')
        self.assertEqual(page.state()['message'], expected)
        page.driver.switch_to.window(first)
        self.assertEqual(page.state()['step'], 'Step 5.')


if __name__ == '__main__':
    unittest.main()
