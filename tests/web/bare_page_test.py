"""The chain that the web updater's tests stand on: a page in headless
Chromium, Web MIDI with SysEx, the ALSA sequencer stand-in, and the simulated
VT-5150 behind one of its ports, shown by the bare page's exchange.
kernel_midi_web_test.py shows the same exchange over the kernel's own MIDI
with exchanges_with_the_device().

Usage: bare_page_test.py <build folder> [unittest's options]
"""

import os
import sys
import unittest

sys.path.insert (0, os.path.dirname (os.path.abspath (__file__)))

import browser  # noqa: E402
from selenium.webdriver.support.wait import WebDriverWait  # noqa: E402

PROBE = "F0 4E 7F 0D 78 F7"
ACK = "F0 4E 7F 0D 0D F7"
BARE_PAGES = os.path.join (os.path.dirname (os.path.abspath (__file__)), "bare")
PORTS, DEVICE, SILENT = ["Midi Through Port-0", "Synth", "VT-5150"], "VT-5150", "Synth"
BUILD = "build"

# Long enough for a reply from the simulated device (which answers within a
# millisecond) on a busy machine or an emulated processor; a silent port is judged after this.
WAIT_MS = 1000


def exchanges_with_the_device (test, page, lab, ports, device, silent):
    """The bare page (loaded, the device plugged in) lists these ports; only the device answers the
    probe, each of 20 probes once, and a silent port nothing. The device is then unplugged and has
    received those 21 probes and nothing it could not take."""
    test.assertEqual (page.execute_script ("return bare.ready"), "ready")
    test.assertEqual (page.execute_script ("return bare.ports()"), {"inputs": ports, "outputs": ports})

    # Only the device answers the probe, and only on its own port; the
    # "Midi Through" port hands the probe itself back.
    heard = page.execute_script ("return bare.replies (arguments[0], arguments[1])", PROBE, WAIT_MS)
    test.assertCountEqual (heard, [
        {"output": "Midi Through Port-0", "input": "Midi Through Port-0", "reply": PROBE},
        {"output": device, "input": device, "reply": ACK},
    ])

    # Probes sent one after another are each answered once: none lost, none doubled.
    result = page.execute_script ("return bare.exchange (arguments[0], arguments[0], arguments[1], 20, arguments[2])",
                                  device, PROBE, WAIT_MS)
    test.assertEqual ((result["answered"], result["replies"]), (20, [ACK]))
    test.assertGreater (result["microsecondsPerExchange"], 0)

    # The silent device's port answers nothing.
    result = page.execute_script ("return bare.exchange (arguments[0], arguments[0], arguments[1], 1, arguments[2])",
                                  silent, PROBE, WAIT_MS)
    test.assertEqual (result["answered"], 0)

    lab.unplug()
    report = lab.device_report()
    test.assertEqual ((report["commands"], report["violations"]), ("21", "0"))


class BarePage (unittest.TestCase):
    def open_bare_page (self, lab):
        page = lab.open ("index.html")
        self.assertEqual (page.execute_script ("return bare.ready"), "ready")
        return page

    def test_finds_the_device_among_other_ports_and_gets_its_acknowledgement (self):
        with browser.Lab (BUILD, BARE_PAGES) as lab:
            lab.plug_in()
            page = lab.open ("index.html")
            exchanges_with_the_device (self, page, lab, PORTS, DEVICE, SILENT)

            # On the wire, as the stand-in saw it: the probes went to the device and its acknowledgements came back.
            wire = lab.wire()
            self.assertEqual (wire.count ("OUT VT-5150 " + PROBE), 21)
            self.assertEqual (wire.count ("IN VT-5150 " + ACK), 21)

            # The page hears that the device has gone.
            others = [name for name in PORTS if name != DEVICE]
            WebDriverWait (page, 10).until (lambda page: page.execute_script ("return bare.ports()")["inputs"] == others)
            self.assertEqual (page.execute_script ("return bare.ports()"), {"inputs": others, "outputs": others})

    def test_without_a_device_no_port_answers (self):
        with browser.Lab (BUILD, BARE_PAGES) as lab:
            page = self.open_bare_page (lab)

            names = ["Midi Through Port-0", "Synth"]
            self.assertEqual (page.execute_script ("return bare.ports()"), {"inputs": names, "outputs": names})
            heard = page.execute_script ("return bare.replies (arguments[0], arguments[1])", PROBE, WAIT_MS)
            self.assertEqual (heard, [{"output": "Midi Through Port-0", "input": "Midi Through Port-0", "reply": PROBE}])

            # What the page tests read of a page besides its script: the accessibility tree, and pictures at
            # one and two device pixels to a CSS pixel, the size they were asked for.
            tree = lab.cdp ("Accessibility.getFullAXTree")["nodes"]
            roots = [node for node in tree if node.get ("role", {}).get ("value") == "RootWebArea"]
            self.assertEqual ([root["name"]["value"] for root in roots], ["Bare SysEx exchange"])
            for scale in (1, 2):
                with open (lab.screenshot ("bare@%d.png" % scale, scale, 400, 300), "rb") as picture:
                    header = picture.read (24)
                self.assertEqual ((header[:8], int.from_bytes (header[16:20], "big"), int.from_bytes (header[20:24], "big")),
                                  (b"\x89PNG\r\n\x1a\n", 400 * scale, 300 * scale))


if __name__ == "__main__":
    BUILD = sys.argv.pop (1) if len (sys.argv) > 1 else BUILD
    unittest.main()
