#!/usr/bin/python3
"""The game's page in headless Chromium, played as a player would.

usage: page_test.py BUILD_WEB_DIR

Checks that the page loads without console errors or exceptions, shows the title (a pixel
probe of a screenshot), that keys start the stage and move the ship (seen in the trace the
page writes with ?trace=1), that a standard-mapping controller steers and pauses, and that a
message box is the page's dialog, the game waiting on it. Prints the time to the first title
picture.
"""
import json
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser  # noqa: E402
import webpage  # noqa: E402

TITLE_BLUE = (0, 0, 0x40)  # the title's background


class Picture:
    """A PNG screenshot's pixels, read through ImageMagick."""

    def __init__(self, path):
        size = subprocess.check_output(["identify", "-format", "%w %h", path]).split()
        self.width = int(size[0])
        self.rgb = subprocess.check_output(["convert", path, "-depth", "8", "rgb:-"])

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])


def canvas_box(browser):
    return browser.evaluate(
        "(function(){var r=document.getElementById('canvas').getBoundingClientRect();"
        "return [Math.round(r.left), Math.round(r.top), Math.round(r.width),"
        " Math.round(r.height)];})()")


def frames(browser):
    return [json.loads(line) for line in webpage.trace_lines(browser)]


# A controller with the standard mapping, as the Gamepad API hands it to the page.
FAKE_PAD = """
window.fakePad = {id: 'test pad', index: 0, connected: true, mapping: 'standard',
  timestamp: 0, axes: [0, 0, 0, 0],
  buttons: Array.from({length: 17}, function () { return {pressed: false, value: 0}; })};
window.setPad = function (axisX, button, pressed) {
  fakePad.axes[0] = axisX;
  if (button >= 0) fakePad.buttons[button] = {pressed: pressed, value: pressed ? 1 : 0};
  fakePad.timestamp = performance.now();
};
navigator.getGamepads = function () { return [fakePad]; };
"""


def check_gamepad(browser):
    """The left stick moves the ship; Start pauses and goes on as P does."""
    failures = []
    browser.evaluate(FAKE_PAD)
    ship_x = lambda: [f for f in frames(browser) if f["ship"]][-1]["ship"]["x"]  # noqa: E731
    start_x = ship_x()
    browser.evaluate("setPad(1, -1, false)")
    browser.pump(0.5)
    browser.evaluate("setPad(0, -1, false)")
    browser.pump(0.2)
    if not ship_x() > start_x:
        failures.append("the ship did not move right with the stick (x %s -> %s)" %
                        (start_x, ship_x()))
    browser.evaluate("setPad(0, 9, true)")
    browser.pump(0.3)
    before = len(frames(browser))
    browser.pump(0.5)
    if len(frames(browser)) != before:
        failures.append("frames ran while Start had paused the game")
    browser.evaluate("setPad(0, 9, false)")
    browser.pump(0.1)
    browser.evaluate("setPad(0, 9, true)")
    browser.pump(0.5)
    if len(frames(browser)) == before:
        failures.append("Start pressed again did not end the pause")
    return failures


def check_message_box(browser, base):
    """A model that cannot be read: its message in the page's dialog, the game waiting on
    it (no pictures) until OK, then going on."""
    failures = []
    webpage.open_page(browser, base + "/vorlith.html")
    browser.evaluate("FS.writeFile('/data/model/enemy.x', 'damaged')")
    browser.pump(0.5)  # the title takes keys once it has run a few frames
    browser.press("KeyZ", 0.1)
    browser.wait_for(lambda: browser.evaluate("vorlithMessageOpen()"), 30, "the message box")
    caption = browser.evaluate("document.getElementById('message-caption').textContent")
    text = browser.evaluate("document.getElementById('message-text').textContent")
    if caption != "Error! ModelRegistry::LoadAllModels()" or "enemy.x" not in text:
        failures.append("unexpected message box %r: %r" % (caption, text))
    shown = browser.evaluate("Module.picturesShown")
    browser.pump(0.5)
    if browser.evaluate("Module.picturesShown") != shown:
        failures.append("the game drew while its message box was open")
    browser.evaluate("document.querySelector('#message button').click()")
    browser.pump(0.5)
    if browser.evaluate("Module.picturesShown") == shown:
        failures.append("the game did not go on after OK")
    return failures


def main():
    build = sys.argv[1]
    failures = []
    with webpage.serve(build) as base, Browser() as browser, \
            tempfile.TemporaryDirectory() as work:
        first = webpage.open_page(browser, base + "/vorlith.html?trace=1")
        print("first title picture %.0f ms after the navigation started" % first)
        browser.pump(0.5)
        shot = Picture(browser.screenshot(os.path.join(work, "title.png")))
        left, top, width, height = canvas_box(browser)
        if (width, height) != (640, 480):
            failures.append("the canvas is %dx%d, not 640x480" % (width, height))
        # The background away from the text, and the text's row holding something brighter.
        corner = shot.at(left + 20, top + 400)
        if corner != TITLE_BLUE:
            failures.append("title background at (20,400) is %s, not %s" % (corner, TITLE_BLUE))
        text_row = [shot.at(left + x, top + 165) for x in range(250, 420, 2)]
        if not any(sum(p) > 3 * 160 for p in text_row):
            failures.append("no light pixel of \"Press Z key\" on the title")

        browser.press("KeyZ", 0.1)
        browser.wait_for(lambda: any(f["scene"] == 0 and f["ship"] for f in frames(browser)),
                         30, "the stage to start after Z")
        start_x = [f for f in frames(browser) if f["ship"]][-1]["ship"]["x"]
        browser.key("ArrowLeft", True)
        browser.pump(0.6)
        browser.key("ArrowLeft", False)
        browser.pump(0.2)
        moved_x = [f for f in frames(browser) if f["ship"]][-1]["ship"]["x"]
        if not moved_x < start_x:
            failures.append("the ship did not move left with ArrowLeft (x %s -> %s)" %
                            (start_x, moved_x))
        failures += check_gamepad(browser)
        fps = [f["fps"] for f in frames(browser)[-30:]]
        print("frames per second in play: %s" % sorted(fps)[len(fps) // 2])
        failures += ["console: %s" % e for e in browser.errors()]
        failures += check_message_box(browser, base)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
