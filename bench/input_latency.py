#!/usr/bin/python3
"""Input latency of the desktop game under Xvfb, read from the window's pixels.

usage: input_latency.py PROGRAM [PRESSES] [DATA_DIR]

Starts a private Xvfb with evilwm, the game in it (from DATA_DIR, default the source tree's
data/), and a stage with Z. Then it presses ArrowLeft and ArrowRight in turn through XTest,
PRESSES times (200), each at a moment set against the last picture's arrival: the moments
step evenly through one frame period, so that the presses cover the frame's whole phase.
Each press is timed to the first picture on the window (XGetImage, polled every 0.3 ms)
whose ship has moved in the pressed direction, when the picture after it shows that too (a
bullet passing the ship can look like a move for one picture); the key is let go then, and
the next press waits until the ship has stood still over three pictures.

Prints the median, the 95th and the 99th percentiles in ms and in frames of the measured
frame period, and the floor for comparison: one frame period (the longest wait for the
frame that reads the key) plus one frame's update, draw and presentation, taken as the 2nd
percentile of the presses (those that came just before a frame read the keys).
"""
import ctypes
import ctypes.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# The window's layout at 640 x 480: the debug panel's CurrentTime line (it changes with every
# frame) and the ship at the stage start (x 50, y 90 of the field), with room for a step of
# about 3 pixels either way and clear of the hit-point gauge at its right.
DIGITS = (20, 104, 130, 14)  # x, y, width, height
BAND = (372, 356, 56, 24)
SHIFT = 8  # pixels searched either way

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Display:
    """Just enough Xlib and XTest through ctypes: key events and window pixels."""

    def __init__(self, name):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
            [ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x.XOpenDisplay(name.encode())
        if not self.display:
            raise RuntimeError("cannot open display " + name)

    def key(self, keysym, down):
        code = self.x.XKeysymToKeycode(self.display, keysym)
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x.XFlush(self.display)

    def grab(self, window, box):
        """The box's pixels as bytes (4 a pixel, rows of box width)."""
        x, y, w, h = box
        image = self.x.XGetImage(self.display, window, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            raise RuntimeError("XGetImage failed (the window is gone?)")
        info = image.contents
        data = ctypes.string_at(info.data, info.bytes_per_line * h)
        self.x.XFree(info.data)
        self.x.XFree(image)
        return data


def profile(band):
    """How many lit pixels each column of the band holds."""
    width = BAND[2]
    counts = [0] * width
    for i in range(0, len(band), 4):
        if band[i] > 64 or band[i + 1] > 64 or band[i + 2] > 64:
            counts[(i // 4) % width] += 1
    return counts


def ship_shift(reference, now):
    """The horizontal shift (pixels) that best lays the reference's column profile onto the
    current one; 0 when no shift does better than none."""

    def cost(shift):
        return sum(abs(now[x] - reference[x - shift])
                   for x in range(max(0, shift), min(len(now), len(now) + shift)))

    return min(range(-SHIFT, SHIFT + 1), key=lambda s: (cost(s), abs(s)))


class Game:
    """Xvfb with evilwm, and the game in it with the focus."""

    def __init__(self, program, data):
        self.procs = []
        read, write = os.pipe()
        self.procs.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write)
        with os.fdopen(read) as numbers:
            self.name = ":" + numbers.readline().strip()
        # The game's settings and records in a folder of its own: defaults, whatever the
        # player running the benchmark has set, and nothing of theirs written.
        self.home = tempfile.mkdtemp(prefix="vorlith-latency-")
        self.env = dict(os.environ, DISPLAY=self.name, XDG_CONFIG_HOME=self.home,
                        XDG_DATA_HOME=self.home)
        self.env.pop("SDL_VIDEODRIVER", None)
        self._start(["evilwm", "-fn", "fixed"])
        _wait(lambda: "window id" in self._run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
              60, "window manager")
        self._start([os.path.abspath(program)], cwd=data)
        self.window = int(_wait(lambda: self._run("xdotool", "search", "--onlyvisible",
                                                  "--name", "Vorlith").split()[0], 60,
                                "game window"))
        self._run("xdotool", "windowactivate", "--sync", str(self.window))
        self.x = Display(self.name)

    def _start(self, command, cwd=None):
        self.procs.append(subprocess.Popen(command, cwd=cwd, env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

    def _run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True,
                              timeout=30).stdout.strip()

    def running(self):
        return self.procs[-1].poll() is None

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def _wait(probe, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except (OSError, IndexError, ValueError):
            pass
        time.sleep(0.1)
    raise RuntimeError("no %s within %d s" % (what, seconds))


XK_LEFT, XK_RIGHT, XK_C, XK_Z = 0xFF51, 0xFF53, 0x63, 0x7A
POLL_S = 0.0003  # between two looks at the window, leaving the game the CPU


class Pictures:
    """Watches the window: next() waits for the next picture and keeps its ship band."""

    def __init__(self, game):
        self.game = game
        self.digits = game.x.grab(game.window, DIGITS)
        self.band = profile(game.x.grab(game.window, BAND))
        self.at = time.perf_counter()

    def next(self, timeout=2.0):
        grab, window = self.game.x.grab, self.game.window
        deadline = time.perf_counter() + timeout
        while time.perf_counter() < deadline:
            digits = grab(window, DIGITS)
            if digits == self.digits:
                time.sleep(POLL_S)
                continue
            self.at = time.perf_counter()
            while True:  # the band of this same picture: no other arrived around its grab
                band = grab(window, BAND)
                again = grab(window, DIGITS)
                if again == digits:
                    break
                digits = again
            self.digits, self.band = digits, profile(band)
            return self.at
        raise RuntimeError("no new picture within %.1f s" % timeout)


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def press_once(game, pictures, keysym, step, phase):
    """Presses at `phase` seconds after a picture's arrival; the time to the first picture
    with the ship moved that way, or None when none came within half a second."""
    still = 0
    while still < 3:  # the last move has shown: the ship stood still over three pictures
        before = pictures.band
        pictures.next()
        still = still + 1 if ship_shift(before, pictures.band) == 0 else 0
    reference = pictures.band
    target = pictures.next() + phase
    while time.perf_counter() < target:
        pass
    game.x.key(keysym, True)
    pressed = time.perf_counter()
    candidate = None  # a picture that showed the move, held to it by the next one
    try:
        while time.perf_counter() - pressed < 0.5:
            arrived = pictures.next()
            if ship_shift(reference, pictures.band) * step <= 0:
                candidate = None
            elif candidate is not None:
                return candidate - pressed
            else:
                candidate = arrived
        return None
    finally:
        game.x.key(keysym, False)


def measure(game, presses):
    pictures = Pictures(game)
    gaps = []
    for _ in range(121):
        before = pictures.at
        gaps.append(pictures.next() - before)
    period = statistics.median(gaps[1:])
    samples, misses = [], 0
    while len(samples) < presses:
        i = len(samples)
        keysym, step = (XK_LEFT, -1) if i % 2 == 0 else (XK_RIGHT, 1)
        took = press_once(game, pictures, keysym, step, period * i / presses)
        if took is not None:
            samples.append(took * 1000)
            continue
        misses += 1  # the ship was shot down: a continue (C) brings it back to its place
        if misses > 20:
            raise RuntimeError("the ship stopped moving")
        game.x.key(XK_C, True)
        time.sleep(0.1)
        game.x.key(XK_C, False)
        time.sleep(0.5)
    return period * 1000, samples, misses


def main():
    if len(sys.argv) < 2:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    program = sys.argv[1]
    presses = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    data = sys.argv[3] if len(sys.argv) > 3 else os.path.join(ROOT, "data")
    game = Game(program, data)
    try:
        corner = lambda: game.x.grab(game.window, (2, 2, 1, 1))[:3]  # noqa: E731
        _wait(lambda: corner() == b"\x40\x00\x00", 30, "title (dark blue)")
        game.x.key(XK_Z, True)
        _wait(lambda: corner() == b"\x32\x32\x32", 30, "stage (the grey panel)")
        game.x.key(XK_Z, False)
        time.sleep(0.5)
        period, samples, misses = measure(game, presses)
    finally:
        game.close()
    frames = [s / period for s in samples]
    print("%d presses over the frame's phase (%d more while the ship was down); frame period "
          "%.2f ms (median of 120 pictures)" % (len(samples), misses, period))
    print("key press to the first picture with the ship moved: median %.1f ms (%.2f frames), "
          "95th %.1f ms (%.2f), 99th %.1f ms (%.2f); fastest %.1f, slowest %.1f ms" %
          (statistics.median(samples), statistics.median(frames), percentile(samples, 0.95),
           percentile(frames, 0.95), percentile(samples, 0.99), percentile(frames, 0.99),
           min(samples), max(samples)))
    work = percentile(samples, 0.02)
    print("floor: one frame period plus one frame's update, draw and presentation (%.1f ms, the "
          "2nd percentile: a press just before a frame reads the keys) = %.1f ms (%.2f frames)" %
          (work, period + work, 1 + work / period))
    return 0


if __name__ == "__main__":
    sys.exit(main())
