"""Time per exchange of a web page on Web MIDI, against the bare page's floor.

In one headless Chromium, on the same stand-in ports, with the simulated
VT-5150 answering after 0 and then 1 ms, it measures the bare page
(tests/web/bare/: one SysEx probe out, its acknowledgement back, nothing
else) and the page under test, and prints, for each latency, the median of
the runs in microseconds per exchange and the page's ratio to the bare page.

The page's measurement is `measure_page` below: the web updater's whole
update of its built-in image, from Next on step 5 to the last page, over
the transfer's exchanges; the search before it is not counted.

Usage: /usr/bin/python3 bench/web/web_bench.py [--build build] [--page build/web/site] [--exchanges 1000] [--runs 5]
Not part of ctest: a measurement, run by hand on a quiet machine.
"""

import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

ROOT = os.path.normpath (os.path.join (os.path.dirname (os.path.abspath (__file__)), "..", ".."))
sys.path.insert (0, os.path.join (ROOT, "tests", "web"))

import browser  # noqa: E402
from page_harness import Page  # noqa: E402

PROBE = "F0 4E 7F 0D 78 F7"
ACK = "F0 4E 7F 0D 0D F7"
LATENCIES_US = (0, 1000)
WARM_UP = 20

# The exchanges of a transfer of the built-in image: start, address, and per block of 128 bytes
# 128 data commands, an address and a commit, 194 blocks.
TRANSFER_EXCHANGES = 2 + 194 * 130


def measure_bare (page, exchanges):
    """Microseconds per exchange of the bare page, after a few to warm up."""
    script = "return bare.exchange ('VT-5150', 'VT-5150', arguments[0], arguments[1], 1000)"
    page.execute_script (script, PROBE, WARM_UP)
    result = page.execute_script (script, PROBE, exchanges)
    if result["answered"] != exchanges or result["replies"] != [ACK]:
        raise RuntimeError ("the bare exchange failed: %r" % result)
    return result["microsecondsPerExchange"]


def measure_page (lab, exchanges):
    """Microseconds per exchange of the web updater (served at page/) through a whole update; the
    update's exchanges are the built-in image's, whatever `exchanges` says."""
    del exchanges
    page = Page (lab, path="page/index.html")
    for _ in range (5):
        page.key ("Enter")
    page.wait (lambda: page.state()["step"] == "Step 5.", 60, "the device is found")
    started = time.monotonic()
    page.key ("Enter")
    page.wait (lambda: page.state()["step"] == "Step 7.", 1800, "the update is complete")
    return (time.monotonic() - started) * 1e6 / TRANSFER_EXCHANGES


def main():
    parser = argparse.ArgumentParser (description=__doc__.split ("\n\n")[0])
    parser.add_argument ("--build", default=os.path.join (ROOT, "build"))
    parser.add_argument ("--page", default=os.path.join (ROOT, "build", "web", "site"),
                         help="the folder of the page under test")
    parser.add_argument ("--exchanges", type=int, default=1000)
    parser.add_argument ("--runs", type=int, default=5)
    arguments = parser.parse_args()

    site = tempfile.mkdtemp (prefix="vt5150-web-bench-")
    try:
        shutil.copytree (os.path.join (ROOT, "tests", "web", "bare"), os.path.join (site, "bare"))
        if os.path.isdir (arguments.page):
            shutil.copytree (arguments.page, os.path.join (site, "page"))
        run (arguments, site)
    finally:
        shutil.rmtree (site, ignore_errors=True)


def run (arguments, site):
    print ("latency_us  bare_us_per_exchange  page_us_per_exchange  page/bare")
    # The device is plugged in again with another latency under the same browser.
    with browser.Lab (arguments.build, site, browser.CABLE_MACHINE) as lab:
        for latency in LATENCIES_US:
            lab.plug_in ("--latency-us", str (latency))
            page = lab.open ("bare/index.html")
            if page.execute_script ("return bare.ready") != "ready":
                raise RuntimeError ("no MIDI access")
            bare = statistics.median (measure_bare (page, arguments.exchanges) for _ in range (arguments.runs))
            measured = [measure_page (lab, arguments.exchanges) for _ in range (arguments.runs)]
            own = statistics.median (measured) if None not in measured else None
            print ("%10d  %20.1f  %20s  %9s" % (latency, bare, "-" if own is None else "%.1f" % own,
                                                "-" if own is None else "%.3f" % (own / bare)))
            lab.unplug()


if __name__ == "__main__":
    main()
