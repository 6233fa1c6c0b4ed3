#!/usr/bin/python3
"""Input latency of the page in headless Chromium, by a requestAnimationFrame probe.

usage: web_input_latency.py BUILD_WEB_DIR [PRESSES]

Starts a stage, then presses ArrowLeft and ArrowRight in turn (DevTools key events) at
moments spread over the frame's phase. The page's own clock stamps each key-down as the
page receives it, the first trace line whose ship has moved (the frame that drew the
effect), and the next requestAnimationFrame after that frame (about when its picture
reaches the screen). Prints the median, 95th and 99th percentiles of both, in ms and in
frames of 16.7 ms.
"""
import os
import random
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "web"))
from devtools import Browser  # noqa: E402
import webpage  # noqa: E402

FRAME_MS = 1000.0 / 60

# Runs before the page's scripts, so that the program's console output passes through it.
PROBE = """
(function () {
  var log = console.log;
  var probe = window.vorlithLatency = {down: 0, waiting: false, x: null, samples: []};
  console.log = function (text) {
    if (typeof text === 'string' && text.indexOf('{"frame"') === 0) {
      var frame = JSON.parse(text);
      if (frame.ship && probe.waiting && frame.ship.x !== probe.x) {
        probe.waiting = false;
        var drawn = performance.now(), down = probe.down;
        requestAnimationFrame(function (shown) { probe.samples.push([drawn - down, shown - down]); });
      }
      if (frame.ship && !probe.waiting) probe.x = frame.ship.x;
    }
    return log.apply(console, arguments);
  };
  document.addEventListener('keydown', function (event) {
    if (event.repeat || (event.code !== 'ArrowLeft' && event.code !== 'ArrowRight')) return;
    probe.down = performance.now();
    probe.waiting = true;
  }, true);
})();
"""


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def main():
    build = sys.argv[1]
    presses = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    page = webpage.page_dir(build)
    with webpage.serve(page if os.path.isdir(page) else build) as base, Browser() as browser:
        browser.call("Page.addScriptToEvaluateOnNewDocument", source=PROBE)
        webpage.open_page(browser, base + "/vorlith.html?trace=1")
        browser.pump(0.5)
        browser.press("KeyZ", 0.1)
        browser.wait_for(lambda: any('"ship":{' in line for line in webpage.trace_lines(browser)),
                         30, "the stage")
        browser.pump(1.0)
        for i in range(presses):
            time.sleep(random.uniform(0, FRAME_MS / 1000))
            key = "ArrowLeft" if i % 2 == 0 else "ArrowRight"
            browser.key(key, True)
            browser.pump(0.15)
            browser.key(key, False)
            browser.pump(0.15)
        samples = browser.evaluate("vorlithLatency.samples")
    print("%d of %d presses seen on screen" % (len(samples), presses))
    for index, what in ((0, "key-down to the frame that moved the ship"),
                        (1, "key-down to the next animation frame after it")):
        values = [s[index] for s in samples]
        print("%s: median %.1f ms (%.2f frames), 95th %.1f ms, 99th %.1f ms" %
              (what, statistics.median(values), statistics.median(values) / FRAME_MS,
               percentile(values, 0.95), percentile(values, 0.99)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
