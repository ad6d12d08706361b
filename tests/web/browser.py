"""A web page in Debian's headless Chromium, on Web MIDI with SysEx, over the
ALSA sequencer stand-in, with a simulated VT-5150 behind one of its ports.

    import browser

    with browser.Lab ("build", "web/") as lab:    # a build folder, and the folder of pages to serve
        lab.plug_in ("--latency-us", "1000")        # vt5150-seq-device behind the "VT-5150" port
        page = lab.open ("index.html")              # Selenium's WebDriver, the page loaded
        page.execute_script ("return navigator.userAgent")
        page.find_element (By.ID, "next").click()
        tree = lab.cdp ("Accessibility.getFullAXTree")
        lab.screenshot ("page@2x.png", scale=2)     # written into the lab's folder
        lab.unplug()                                # the device ends and writes its report
        assert lab.device_report()["image"] == "match"
        assert "OUT VT-5150 F0 4E 7F 0D 78 F7" in lab.wire()

Lab (build, pages, machine=MACHINE, folder=None, raw_midi=None, flags=(), headless=True): `pages` is copied into the
lab's folder and served from there over http://127.0.0.1 (a secure context,
as Web MIDI needs) on a free port. `machine` is the stand-in's port list
(VT5150_ALSA_SEQ, see alsa-standin/PortDescription.h) with {socket} where the
device's socket goes. With `raw_midi`, a kernel's raw MIDI device (the raw
side of an snd-virmidi card), the browser uses the kernel's own sequencer
instead, the device is served there and `machine` is ignored. `flags` are
Chromium's, added to those it always runs with (CHROMIUM_FLAGS). Not headless,
the browser opens its window on the display of DISPLAY. The lab's
folder is a new temporary one, removed at the end, unless `folder` names one
to keep; everything that the lab and its programs write goes there (the
browser's profile, HOME, the logs).

Chromium lists the ports once, when a page first asks for MIDI access, and
then hears only of ports that go. On MACHINE, a device unplugged takes its
port with it (the page sees it disconnected) and one plugged in later is not
seen; on CABLE_MACHINE the port stays, as a USB MIDI interface's does, and
the device may be unplugged and plugged in again (with other options) under
the same browser.

    lab.folder                       the lab's folder
    lab.plug_in (*options)           starts the simulated VT-5150 with vt5150-seq-device's options;
                                     plug it in before the page first asks for MIDI access,
                                     since Chromium walks the ports once, then
    lab.unplug()                     ends it; it then writes what it received and holds
    lab.device_report()              that report as a dict: commands, image ("match" when it holds
                                     the built-in firmware), violations
    lab.wire()                       every message between the browser and the ports, as the
                                     stand-in traced it: "OUT <port> <hex>", "IN <port> <hex>"
                                     (none over the kernel)
    lab.start (name, *command)       starts a helper program (a screen reader) in the lab's environment,
                                     its output into name.log in the lab's folder
    lab.open (path)                  starts the browser at the first call, grants MIDI with SysEx,
                                     loads the page and returns the WebDriver
    lab.driver                       the WebDriver, None before open()
    lab.cdp (command, params=None)   a Chrome DevTools Protocol command, e.g. Accessibility.getFullAXTree
    lab.screenshot (name, scale=1, width=800, height=600)
                                     the page at that size and device scale factor, as a PNG in the
                                     lab's folder; returns its path

Leaving the `with` block ends every process that the lab started (the
browser's included, found by a mark in their environment) and fails if the
device host had to be killed. Run with Debian's /usr/bin/python3, which has
python3-selenium.
"""

import base64
import contextlib
import os
import secrets
import shutil
import signal
import subprocess
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

MACHINE = "through,silent:Synth:user,device:VT-5150:user:socket={socket}"
"""A "Midi Through" port, a device that never answers, and the VT-5150's port: both devices on
programs' clients, since Chromium lists a kernel client's port only for a sound card that udev shows it."""

CABLE_MACHINE = "through,silent:Synth:user,device:VT-5150:user:cable:socket={socket}"
"""The same, with the device behind an interface's cable: its port stays while it is unplugged."""

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"

# On a closed network: without the background-networking flags the
# browser's own connections are refused and slow it down. No zygote: the
# stand-in starts threads, which the zygote's forking does not survive.
CHROMIUM_FLAGS = [
    "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync", "--no-zygote",
]

MARK = "VT5150_WEB_LAB_MARK"


class Lab:
    """The browser, the page server and the simulated device of one test, and their folder."""

    def __init__ (self, build, pages, machine=MACHINE, folder=None, raw_midi=None, flags=(), headless=True):
        self.build = os.path.abspath (build)
        self.keep = folder is not None
        self.folder = os.path.abspath (folder) if folder else tempfile.mkdtemp (prefix="vt5150-web-lab-")
        os.makedirs (self.folder, exist_ok=True)
        self.socket = os.path.join (self.folder, "vt5150.socket")
        self.machine = machine.format (socket=self.socket)
        self.raw_midi = raw_midi
        self.flags = ["--headless"] * headless + CHROMIUM_FLAGS + list (flags) + ["--user-data-dir=" + self._path ("profile")]
        self._plug_at = ["--raw-midi", raw_midi] if raw_midi else ["--socket", self.socket]
        self.mark = secrets.token_hex (8)
        self.driver = None
        self._server = None
        self._device = None
        self._helpers = []
        self._origin = None
        shutil.copytree (pages, os.path.join (self.folder, "site"))
        for name in ("home", "tmp", "run"):
            os.makedirs (os.path.join (self.folder, name), mode=0o700, exist_ok=True)

    def __enter__ (self):
        try:
            self._start_server()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__ (self, *exception):
        self.close()

    def _environment (self):
        home = os.path.join (self.folder, "home")
        return dict (os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home,
                     XDG_RUNTIME_DIR=self._path ("run"), TMPDIR=self._path ("tmp"), **{MARK: self.mark})

    def _log (self, name):
        return open (os.path.join (self.folder, name), "w")

    def _start_server (self):
        with self._log ("server.log") as log:
            self._server = subprocess.Popen (
                ["/usr/bin/python3", "-u", "-m", "http.server", "--bind", "127.0.0.1",
                 "--directory", os.path.join (self.folder, "site"), "0"],
                stdout=subprocess.PIPE, stderr=log, env=self._environment(), text=True)
        # "Serving HTTP on 127.0.0.1 port N (http://127.0.0.1:N/) ..."
        words = self._server.stdout.readline().split()
        if "port" not in words:
            raise RuntimeError ("the page server did not start; see server.log")
        self._origin = "http://127.0.0.1:" + words[words.index ("port") + 1]

    def plug_in (self, *options):
        """Starts vt5150-seq-device behind the machine's device port, with these of its options."""
        self.unplug()
        with self._log ("device.log") as log:
            self._device = subprocess.Popen (
                [os.path.join (self.build, "bin", "vt5150-seq-device"), *self._plug_at,
                 "--report", self._path ("device.report"), "--trace", self._path ("device.trace"), *options],
                stdout=subprocess.PIPE, stderr=log, env=self._environment(), text=True)
        if not self._device.stdout.readline().startswith (("listening at ", "plugged in at ")):
            raise RuntimeError ("the simulated device did not start; see device.log")

    def start (self, name, *command):
        """Starts a helper program with the lab's environment; it ends with the lab."""
        with self._log (name + ".log") as log:
            self._helpers.append (subprocess.Popen (command, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                                    env=self._environment(), cwd=self.folder))

    def unplug (self):
        """Ends the simulated device, if plugged in; it then writes its report."""
        if self._device is None:
            return
        device, self._device = self._device, None
        device.stdout.close()
        if not _end (device, 5):
            raise RuntimeError ("the device host did not end within 5 s of SIGTERM and was killed")
        if not self.raw_midi:
            with contextlib.suppress (FileNotFoundError):
                os.unlink (self.socket)

    def device_report (self):
        """What the device received and holds, once unplugged: {"commands": "3", "image": "mismatch", ...}."""
        with open (self._path ("device.report")) as report:
            return dict (line.rstrip ("\n").split (": ", 1) for line in report if ": " in line)

    def wire (self):
        """The messages between the browser and the ports so far, one string each, active sensing left out."""
        with contextlib.suppress (FileNotFoundError), open (self._path ("sequencer.trace")) as trace:
            return [line.rstrip ("\n") for line in trace if not line.rstrip().endswith (" FE")]
        return []

    def open (self, path):
        """Loads the page at this path of the served folder, starting the browser first if need be."""
        if self.driver is None:
            self._start_browser()
        self.driver.get (self._origin + "/" + path.lstrip ("/"))
        return self.driver

    def _start_browser (self):
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in self.flags:
            options.add_argument (flag)
        environment = self._environment()
        if not self.raw_midi:
            # LD_PRELOAD splits at spaces and cannot be quoted: it names the
            # library alone, and LD_LIBRARY_PATH, which may hold spaces, its folder.
            folders = [os.path.join (self.build, "lib"), *filter (None, [environment.get ("LD_LIBRARY_PATH")])]
            environment.update (LD_PRELOAD="libvt5150_alsa_seq_standin.so", LD_LIBRARY_PATH=":".join (folders),
                                VT5150_ALSA_SEQ=self.machine, VT5150_ALSA_SEQ_TRACE=self._path ("sequencer.trace"))
        service = Service (CHROMEDRIVER, env=environment, log_path=self._path ("chromedriver.log"))
        self.driver = webdriver.Chrome (service=service, options=options)
        self.cdp ("Browser.setPermission", {"origin": self._origin, "setting": "granted",
                                            "permission": {"name": "midi", "sysex": True}})

    def cdp (self, command, params=None):
        """Sends a Chrome DevTools Protocol command to the page and returns its result."""
        return self.driver.execute_cdp_cmd (command, params or {})

    def screenshot (self, name, scale=1, width=800, height=600):
        """Writes the page at width x height CSS pixels and this device scale factor to a PNG; returns its path."""
        self.cdp ("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": scale, "mobile": False})
        try:
            picture = self.cdp ("Page.captureScreenshot", {"format": "png"})["data"]
        finally:
            self.cdp ("Emulation.clearDeviceMetricsOverride")
        path = self._path (name)
        with open (path, "wb") as file:
            file.write (base64.b64decode (picture))
        return path

    def close (self):
        """Ends the browser, the device, the helpers and the server, then any process still carrying the lab's mark."""
        problems = []
        if self.driver is not None:
            with contextlib.suppress (Exception):
                self.driver.quit()
            self.driver = None
        try:
            self.unplug()
        except RuntimeError as problem:
            problems.append (str (problem))
        for helper in self._helpers:
            _end (helper, 5)
        self._helpers = []
        if self._server is not None:
            self._server.stdout.close()
            _end (self._server, 5)
            self._server = None
        for pid in _marked (self.mark):
            _end_pid (pid)
        if not self.keep:
            shutil.rmtree (self.folder, ignore_errors=True)
        if problems:
            raise RuntimeError ("; ".join (problems))

    def _path (self, name):
        return os.path.join (self.folder, name)


def _end (process, seconds):
    """Asks the process to end, kills it after `seconds`; False if it had to be killed."""
    process.terminate()
    try:
        process.wait (seconds)
        return True
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return False


def _marked (mark):
    """The ids of the processes whose environment carries the lab's mark."""
    wanted = ("%s=%s" % (MARK, mark)).encode()
    found = []
    for name in os.listdir ("/proc"):
        if name.isdigit() and int (name) != os.getpid():
            with contextlib.suppress (OSError), open ("/proc/%s/environ" % name, "rb") as environ:
                if wanted in environ.read().split (b"\0"):
                    found.append (int (name))
    return found


def _end_pid (pid):
    """Ends a process that is not the lab's child: SIGTERM, then SIGKILL after 5 s."""
    with contextlib.suppress (ProcessLookupError):
        os.kill (pid, signal.SIGTERM)
        for _ in range (50):
            time.sleep (0.1)
            os.kill (pid, 0)
        os.kill (pid, signal.SIGKILL)
