#!/usr/bin/python3
"""Figures of the browser build, measured in headless Chromium (WebGL on SwiftShader).

usage: web_figures.py BUILD_WEB_DIR PROGRAM DATA_DIR [OUT_DIR] [--before OLD_BUILD_WEB_DIR]
                     [--program-before OLD_PROGRAM] [--load-only]

Prints each file's size and the total, as they are and gzipped (-9, as a server would send
them), the time from navigation to the first title picture (median and slowest of nine cold
loads, each in a fresh browser) beside the floor (a page that only makes a WebGL 2 context
and clears it; and the same once it has opened an IndexedDB database), every committed replay's rate in the page (unpaced), and
the time per frame around the busiest boss frame (most bullets with the boss in play) of
boss_stage_clear, and the paced frame time (the title, then a stage with a key held). The
desktop program gives the same two under Xvfb: the boss frame unpaced, and the frame time
of the same replay paced around it (--program-before: an older program beside it). With --before, the same figures of another build are measured in the same
run (the loads taken in turn), printed as "before" beside "after". --load-only stops after
the weights and the first pictures. Saves the page's title and that boss frame as PNGs in OUT_DIR (default
/tmp/vorlith-web-figures), beside the desktop's --screenshot of the same frame when Xvfb is
there to take it.
"""
import contextlib
import glob
import gzip
import itertools
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from devtools import Browser  # noqa: E402
import webpage  # noqa: E402


class TimedBrowser(Browser):
    """Keeps the browser's time stamp (ms) of every console call."""

    def __init__(self, *args, **kwargs):
        self.stamps = []
        super().__init__(*args, **kwargs)

    def _handle_event(self, message):
        if message.get("method") == "Runtime.consoleAPICalled":
            self.stamps.append(message["params"].get("timestamp", 0.0))
        super()._handle_event(message)


def page_of(build):
    """The served folder: page/ of a build, or the build itself where the page lies in it."""
    page = webpage.page_dir(build)
    return page if os.path.isdir(page) else build


def sizes(label, build):
    page = page_of(build)
    total = packed = 0
    names = ["vorlith.html", "vorlith.js", "vorlith.wasm", "vorlith.data"]
    names += sorted(os.path.basename(p) for pattern in ("*.woff2", "vorlith-*.json",
                                                        "font-licence.txt")
                    for p in glob.glob(os.path.join(page, pattern)))
    print("page weight (%s):" % label)
    for name in names:
        with open(os.path.join(page, name), "rb") as f:
            data = f.read()
        size = len(gzip.compress(data, 9))
        total += len(data)
        packed += size
        print("  %-22s %9d bytes %9d gzipped" % (name, len(data), size))
    print("  %-22s %9d bytes %9d gzipped" % ("total", total, packed))


# The floor: a page that makes a WebGL 2 context with the game's attributes, clears it and
# counts its picture at the next animation frame (?storage: once the player's IndexedDB
# database has opened as well, which the title waits for too).
FLOOR_PAGE = """<!doctype html><html><head><meta charset="utf-8"><link rel="icon" href="data:,">
</head><body><canvas id="canvas" width="640" height="480"></canvas><script>
var Module = {}, waits = 2;
function ready() {
  if (--waits) return;
  requestAnimationFrame(function () {
    Module.firstPictureTime = performance.now();
    Module.picturesShown = 1;
  });
}
if (location.search === '?storage') {
  var open = indexedDB.open('/player', 21);
  open.onupgradeneeded = function () { open.result.createObjectStore('FILE_DATA'); };
  open.onsuccess = ready;
} else {
  ready();
}
var gl = document.getElementById('canvas').getContext('webgl2', {alpha: false, depth: false,
    stencil: false, antialias: false, premultipliedAlpha: true, preserveDrawingBuffer: false});
gl.clearColor(0, 0, 0.25, 1);
gl.clear(gl.COLOR_BUFFER_BIT);
ready();
</script></body></html>
"""


# Headless Chromium composites the page on its GPU side (SwiftShader here) and reads each
# composited frame back, which keeps the GPU thread that also serves WebGL busy; a browser
# on a real GPU does not wait so. The loads are taken both ways.
COMPOSITING = [("", []), (", no GPU compositing", ["--disable-gpu-compositing"])]


def first_pictures(builds, loads=9):
    """Cold loads of each build and of the floor page in turn, with and without the
    browser's GPU compositing; the times from navigation to the first picture."""
    pages = [(label, page_of(build), "/vorlith.html") for label, build in builds]
    pages += [("floor: a WebGL 2 context cleared", None, "/vorlith.html"),
              ("floor with the player's IndexedDB opened", None, "/vorlith.html?storage")]
    times = {}
    with contextlib.ExitStack() as stack:
        floor = stack.enter_context(tempfile.TemporaryDirectory())
        with open(os.path.join(floor, "vorlith.html"), "w") as f:
            f.write(FLOOR_PAGE)
        bases = [(label, stack.enter_context(webpage.serve(served or floor)) + path)
                 for label, served, path in pages]
        for _ in range(loads):
            for (label, url), (setup, flags) in itertools.product(bases, COMPOSITING):
                with Browser(extra_flags=flags) as browser:
                    times.setdefault(label + setup, []).append(webpage.open_page(browser, url))
    for label, each in times.items():
        print("first title picture after navigation (%s): median %.0f ms, slowest %.0f ms, "
              "fastest %.0f ms (%d cold loads)" % (label, statistics.median(each), max(each),
                                                   min(each), loads))


def truncated(replay, frames, path):
    """The first `frames` frames of a replay file, as a replay file of its own."""
    out, left = ["vorlith-replay 1"], frames
    for line in open(replay, encoding="utf-8").read().splitlines()[1:]:
        if not line or line.startswith("#") or left == 0:
            continue
        count, _, keys = line.partition(" ")
        take = min(int(count), left)
        out.append("%d %s" % (take, keys))
        left -= take
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return path


def replay_in_page(build, replay, shot=None):
    """Plays a replay with the trace on; returns (frames, stamps, seconds)."""
    name = os.path.basename(replay)
    with webpage.serve(page_of(build), {"/" + name: replay}) as base, TimedBrowser() as browser:
        webpage.open_page(browser, "%s/vorlith.html?replay=%s&trace=1" % (base, name))
        start = time.monotonic()
        browser.wait_for(lambda: "vorlith: replay done" in browser.console_text(), 1800,
                         "the replay's end")
        seconds = time.monotonic() - start
        if shot:
            browser.pump(0.3)
            box = browser.evaluate("(function(){var r=canvas.getBoundingClientRect();"
                                   "return [r.left, r.top, r.width, r.height];})()")
            import base64
            data = browser.call("Page.captureScreenshot", format="png", clip={
                "x": box[0], "y": box[1], "width": box[2], "height": box[3], "scale": 1})
            with open(shot, "wb") as f:
                f.write(base64.b64decode(data["data"]))
        frames, stamps = [], []
        for (kind, text), stamp in zip(browser.console, browser.stamps):
            if kind == "log" and text.startswith('{"frame"'):
                frames.append(json.loads(text))
                stamps.append(stamp)
        return frames, stamps, seconds


def desktop_shot(program, data, replay, frame, path):
    if not shutil.which("xvfb-run"):
        return False
    run = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1024x768x24",
                          os.path.abspath(program), "--no-pacing", "--replay", replay,
                          "--screenshot", "%d:%s" % (frame, path)],
                         cwd=data, capture_output=True, timeout=600)
    return run.returncode == 0 and os.path.exists(path)


def replay_figures(label, build):
    """Every committed replay's rate; returns the busiest boss frame of boss_stage_clear."""
    boss_replay = os.path.join(ROOT, "tests", "replays", "boss_stage_clear.replay")
    boss_trace = None
    for replay in sorted(glob.glob(os.path.join(ROOT, "tests", "replays", "*.replay"))):
        frames, stamps, seconds = replay_in_page(build, replay)
        print("replay %-28s (%s) %5d frames in %6.1f s: %5.0f frames/s" %
              (os.path.basename(replay), label, len(frames), seconds, len(frames) / seconds))
        if replay == boss_replay:
            boss_trace = (frames, stamps)
    frames, stamps = boss_trace
    busiest = max((f for f in frames if f["boss"] and f["boss"]["inPlay"]),
                  key=lambda f: (f["bullets"] + f["enemies"], -f["frame"]))
    at, half = busiest["frame"], 30
    window = stamps[at + half] - stamps[at - half]
    print("busiest boss frame %d (%s; %d bullets, %d enemies): %.1f ms per frame unpaced "
          "(frames %d to %d)" % (at, label, busiest["bullets"], busiest["enemies"],
                                 window / (2 * half), at - half, at + half))
    return boss_replay, at


def spread(intervals):
    """Median and 95th percentile of frame intervals (ms)."""
    ordered = sorted(intervals)
    return statistics.median(ordered), ordered[int(round(0.95 * (len(ordered) - 1)))]


def paced_in_page(label, build, seconds=4.0):
    """Frame times of the page's own paced loop: the title, then a stage flown sideways."""
    with webpage.serve(page_of(build)) as base, TimedBrowser() as browser:
        webpage.open_page(browser, base + "/vorlith.html?trace=1")
        browser.pump(0.5)
        browser.press("KeyZ", 0.1)
        browser.key("ArrowLeft", True)
        browser.pump(seconds)
        browser.key("ArrowLeft", False)
        stamps = [stamp for (kind, text), stamp in zip(browser.console, browser.stamps)
                  if kind == "log" and text.startswith('{"frame"')]
    median, high = spread([b - a for a, b in zip(stamps[5:], stamps[6:])])
    print("paced frame time in the page (%s): median %.2f ms, 95th %.2f ms (%d frames)" %
          (label, median, high, len(stamps) - 6))


def desktop_frames(program, data, replay, paced):
    """Times (s) at which the desktop program under Xvfb wrote each frame's trace line."""
    command = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", os.path.abspath(program),
               "--replay", replay, "--trace", "/dev/stdout"] + ([] if paced else ["--no-pacing"])
    stamps = []
    with subprocess.Popen(command, cwd=data, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL) as run:
        for line in run.stdout:
            if line.startswith(b'{"frame"'):
                stamps.append(time.monotonic() * 1000)
    return stamps


def desktop_figures(label, program, data, cut, at, half=30):
    """The desktop's busiest boss frame (unpaced) and paced frame time, as the page's."""
    if not shutil.which("xvfb-run"):
        return
    stamps = desktop_frames(program, data, cut, False)
    print("busiest boss frame %d on the desktop (%s): %.1f ms per frame unpaced" %
          (at, label, (stamps[at] - stamps[at - 2 * half]) / (2 * half)))
    stamps = desktop_frames(program, data, cut, True)
    median, high = spread([b - a for a, b in zip(stamps[at - 2 * half:], stamps[at - 2 * half + 1:])])
    print("paced frame time on the desktop (%s, around that frame): median %.2f ms, 95th %.2f ms"
          % (label, median, high))


def main():
    args = sys.argv[1:]
    load_only = "--load-only" in args
    args = [a for a in args if a != "--load-only"]
    before = program_before = None
    if "--before" in args:
        at = args.index("--before")
        before = args[at + 1]
        del args[at:at + 2]
    if "--program-before" in args:
        at = args.index("--program-before")
        program_before = args[at + 1]
        del args[at:at + 2]
    build, program, data = args[:3]
    out = args[3] if len(args) > 3 else "/tmp/vorlith-web-figures"
    os.makedirs(out, exist_ok=True)
    builds = ([("before", before)] if before else []) + [("after", build)]
    for label, each in builds:
        sizes(label, each)
    first_pictures(builds)
    if load_only:
        return 0
    for label, each in builds:
        boss_replay, at = replay_figures(label, each)
    for label, each in builds:
        paced_in_page(label, each)
    with tempfile.TemporaryDirectory() as work:
        cut = truncated(boss_replay, at + 1, os.path.join(work, "boss_frame.replay"))
        for label, desktop in ([("before", program_before)] if program_before else []) + \
                [("after", program)]:
            desktop_figures(label, desktop, data, cut, at)
        replay_in_page(build, cut, os.path.join(out, "browser-boss.png"))
        with Browser() as browser, webpage.serve(page_of(build)) as base:
            webpage.open_page(browser, base + "/vorlith.html")
            browser.pump(0.5)
            browser.screenshot(os.path.join(out, "browser-title.png"))
        desk = desktop_shot(program, data, cut, at, os.path.join(out, "desktop-boss.png"))
    print("screenshots in %s: browser-title.png, browser-boss.png%s" %
          (out, ", desktop-boss.png" if desk else " (no Xvfb: no desktop shot)"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
