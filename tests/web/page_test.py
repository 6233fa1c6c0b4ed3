#!/usr/bin/python3
"""The game's page in headless Chromium, played as a player would.

usage: page_test.py BUILD_WEB_DIR

Checks the page as a player meets it, each check_* below one part of it: the title (a pixel
probe of a screenshot), keys and a controller in play (seen in the trace the page writes
with ?trace=1), the page's message box, dialogs and sound, full screen, the files it is
served from, and what it keeps in the browser's storage across a reload; console errors and
exceptions fail it. Prints the time to the first title picture.
"""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "e2e")]
from devtools import Browser  # noqa: E402
from webpage import frames, ship_x, waited  # noqa: E402
from probe_screenshots import Picture, TITLE_BLUE  # noqa: E402
import webpage  # noqa: E402

FAILURES = []  # what each check found wrong, in order
fail = FAILURES.append


def canvas_box(browser):
    return browser.evaluate(
        "(function(){var r=document.getElementById('canvas').getBoundingClientRect();"
        "return [Math.round(r.left), Math.round(r.top), Math.round(r.width),"
        " Math.round(r.height)];})()")


def check_scaling(browser):
    """The picture fills the 1000 x 900 window's width (aspect kept, 1.5625 to one); on a
    screen of two device pixels to one it is shown four screen pixels to one game pixel,
    the largest whole multiple that fits; the back buffer stays 640 x 480 throughout."""
    back = "[canvas.width, canvas.height]"
    for ratio, window, want in ((1, (1000, 900), [1000, 750]), (2, (1400, 1200), [1280, 960])):
        browser.call("Emulation.setDeviceMetricsOverride", width=window[0], height=window[1],
                     deviceScaleFactor=ratio, mobile=False)
        browser.pump(0.3)
        box = canvas_box(browser)
        if box[2:] != want or browser.evaluate(back) != [640, 480]:
            fail("at %d device pixels to one in %s the picture is %s (back buffer "
                 "%s), not %s" % (ratio, window, box, browser.evaluate(back), want))
    browser.call("Emulation.clearDeviceMetricsOverride")
    browser.pump(0.3)


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
    def pad(axis_x, button, pressed, seconds):
        browser.evaluate("setPad(%d, %d, %s)" % (axis_x, button, "true" if pressed else "false"))
        browser.pump(seconds)

    browser.evaluate(FAKE_PAD)
    start_x = ship_x(browser)
    pad(1, -1, False, 0.5)
    pad(0, -1, False, 0.2)
    if not ship_x(browser) > start_x:
        fail("the ship did not move right with the stick (x %s -> %s)" %
             (start_x, ship_x(browser)))
    pad(0, 9, True, 0.3)
    before = len(frames(browser))
    browser.pump(0.5)
    if len(frames(browser)) != before:
        fail("frames ran while Start had paused the game")
    pad(0, 9, False, 0.1)
    pad(0, 9, True, 0.5)
    if len(frames(browser)) == before:
        fail("Start pressed again did not end the pause")


def check_message_box(browser, base):
    """A model that cannot be read: its message in the page's dialog, the game waiting on
    it (no pictures) until OK, then going on."""
    webpage.open_game(browser, base + "/vorlith.html")
    browser.evaluate("FS.writeFile('/data/model/enemy.x', 'damaged')")
    browser.press("KeyZ", 0.1)
    browser.wait_for(lambda: browser.evaluate("vorlithMessageOpen()"), 30, "the message box")
    caption = browser.evaluate("document.getElementById('message-caption').textContent")
    text = browser.evaluate("document.getElementById('message-text').textContent")
    if caption != "Error! ModelRegistry::LoadAllModels()" or "enemy.x" not in text:
        fail("unexpected message box %r: %r" % (caption, text))
    shown = browser.evaluate("Module.picturesShown")
    browser.pump(0.5)
    if browser.evaluate("Module.picturesShown") != shown:
        fail("the game drew while its message box was open")
    browser.evaluate("document.querySelector('#message button').click()")
    browser.pump(0.5)
    if browser.evaluate("Module.picturesShown") == shown:
        fail("the game did not go on after OK")
    FAILURES.extend("after OK: %s" % e.split("\n")[0] for e in browser.exceptions)


def check_play_again(browser, base):
    """Esc ends the game; the page says so and Enter starts another (a new title from frame
    0, which Z leaves for the stage), then the button does the same after the next Esc."""
    webpage.open_game(browser, base + "/vorlith.html?trace=1")
    shown = "!document.getElementById('ended').hidden"
    for again in ("Enter", "button"):
        browser.press("Escape", 0.1)
        if not waited(browser, lambda: browser.evaluate(shown), 10, "the end of the game"):
            return fail("after Esc the page does not say that the game has ended")
        starts = sum(f["frame"] == 0 for f in frames(browser))
        if again == "Enter":
            browser.press("Enter", 0.1)
        else:
            browser.evaluate("document.getElementById('again').click()")
        browser.pump(1.0)
        if browser.evaluate(shown) or sum(f["frame"] == 0 for f in frames(browser)) != starts + 1:
            return fail("%s after the end did not start a new game" % again)
    browser.press("KeyZ", 0.1)
    browser.wait_for(lambda: frames(browser)[-1]["scene"] == 0, 30, "the stage after Z")


# Every AudioContext the page makes, kept for the test to read its state.
AUDIO_CONTEXTS = """
window.audioContexts = [];
var PageAudioContext = window.AudioContext;
window.AudioContext = function (options) {
  var context = new PageAudioContext(options);
  audioContexts.push(context);
  return context;
};
"""
REPLAYS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "replays")


def check_sound_after_gesture(browser, build):
    """An unpaced replay into its stage makes no AudioContext and no browser warning of one
    before a gesture; a key press then starts the sound (a running AudioContext)."""
    replay = os.path.join(REPLAYS, "boss_stage_clear.replay")
    script = browser.call("Page.addScriptToEvaluateOnNewDocument", source=AUDIO_CONTEXTS)
    audio_warnings = lambda: [t for k, t in browser.console if "AudioContext" in t]  # noqa: E731
    with webpage.serve(webpage.page_dir(build), {"/stage.replay": replay}) as base:
        del browser.console[:]
        webpage.open_page(browser, base + "/vorlith.html?replay=stage.replay&trace=1")
        browser.wait_for(lambda: len([f for f in frames(browser) if f["scene"] == 0]) > 300,
                         60, "300 frames of the stage")
        made, warned = browser.evaluate("audioContexts.length"), audio_warnings()
        if made or warned:
            fail("before any gesture the page made %d AudioContext(s) and %d "
                 "warning(s) %s" % (made, len(warned), warned[:1]))
        browser.press("KeyX", 0.1)
        running = "audioContexts.map(function (c) { return c.state; })"
        if not waited(browser, lambda: browser.evaluate(running) == ["running"], 10, "sound"):
            fail("after a key press the AudioContexts are %s, not one running" %
                 browser.evaluate(running))
        if "vorlith: replay done" in browser.console_text():
            fail("the replay ended before the key press: no test of a held device")
        FAILURES.extend("after the key press: %s" % t for t in audio_warnings()[len(warned):])
    browser.call("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])


def check_paused_picture(browser, path, mode):
    """The paused picture on the screen: the game's picture (not black) around the PAUSE
    label (white letters on black at the middle of the canvas)."""
    shot = Picture(browser.screenshot(path))
    left, top, width, height = canvas_box(browser)
    grid = [shot.at(left + width * i // 32, top + height * j // 24)
            for i in range(1, 32) for j in range(1, 24) if not (12 <= i <= 20 and 10 <= j <= 14)]
    lit = sum(sum(p) > 3 * 24 for p in grid)
    middle = [shot.at(left + width // 2 + dx, top + height // 2 + dy)
              for dx in range(-width // 12, width // 12) for dy in (-2, 0, 2)]
    if lit < len(grid) // 10:
        fail("%s: the picture is black (%d of %d probes lit)" % (mode, lit, len(grid)))
    if (255, 255, 255) not in middle or (0, 0, 0) not in middle:
        fail("%s: no PAUSE label at the middle" % mode)


def check_pause_survives_full_screen(browser, base, work):
    """P, then Alt+Enter into full screen and again back: the paused picture and its PAUSE
    label are shown in each mode, the game stepping no frame."""
    webpage.open_game(browser, base + "/vorlith.html?trace=1")
    browser.press("KeyZ", 0.1)
    browser.wait_for(lambda: len([f for f in frames(browser) if f["scene"] == 0]) > 120, 30,
                     "two seconds of the stage")
    browser.press("KeyP", 0.1)
    browser.pump(0.5)
    paused_at = len(frames(browser))
    for mode, full in (("paused", False), ("in full screen", True), ("back in the page", False)):
        if mode != "paused":
            browser.press("Enter", 0.1, modifiers=1)  # Alt
            browser.pump(1.0)
        if bool(browser.evaluate("document.fullscreenElement !== null")) != full:
            fail("%s: the page is not in the mode asked for" % mode)
        check_paused_picture(browser, os.path.join(work, "paused.png"), mode)
    if len(frames(browser)) != paused_at:
        fail("the game stepped while paused")


def read_table(browser):
    table = "/player/data/scores.txt"
    return browser.evaluate("FS.analyzePath(%r).exists ? FS.readFile(%r, {encoding: 'utf8'}) : ''"
                            % (table, table))


def check_records(base):
    """The high scores in the browser's storage: a run played with keys to "Game Over" (or
    "Stage Clear!!") and ended with V (or C) lands in /player/data/scores.txt (IDBFS), and
    after a reload of the page the table read back from IndexedDB still holds it, with the
    run's replay beside it; no console error or exception on the way. In a browser of its own:
    a fresh profile, with empty storage."""
    with Browser() as browser:
        webpage.open_game(browser, base + "/vorlith.html?trace=1")
        if read_table(browser):
            fail("a fresh profile already has a table")
        browser.press("KeyZ", 0.1)
        browser.wait_for(lambda: frames(browser)[-1]["scene"] == 0, 30, "the stage after Z")
        browser.key("ArrowLeft", True)  # into the first enemies' lane, not firing
        browser.wait_for(lambda: frames(browser)[-1]["ship"]["x"] <= 30, 30, "the lane")
        browser.key("ArrowLeft", False)
        ended = "f['ship']['finished'] or f['boss'] and f['boss']['finished']"
        browser.wait_for(lambda: eval(ended, {"f": frames(browser)[-1]}), 300, "the run's end")
        key = "KeyV" if frames(browser)[-1]["ship"]["finished"] else "KeyC"  # or Complete
        browser.key(key, True)
        browser.wait_for(lambda: frames(browser)[-1]["scene"] == 1, 30, "the title after it")
        browser.key(key, False)
        score = [f for f in frames(browser) if f["scene"] == 0][-1]["score"]
        browser.pump(1.0)  # IDBFS saves in the background
        webpage.open_page(browser, base + "/vorlith.html")  # a reload: memory starts afresh
        table = read_table(browser).split("\n")
        print("the table after a reload: %r (the run ended with %d points)" % (table[:2], score))
        if len(table) < 2 or not table[1].startswith("%d 1 " % score):
            fail("the table after the reload is %r, not the run's %d points" % (table[:2], score))
        else:
            replay = "/player/data/" + table[1].split()[-1]
            if not browser.evaluate("FS.analyzePath(%r).exists" % replay):
                fail("no replay %s after the reload" % replay)
        FAILURES.extend("console: %s" % e for e in browser.errors())


PAGE_FILES = {"vorlith.html", "vorlith.js", "vorlith.wasm", "vorlith.data", "font-licence.txt",
              "vorlith-gothic.woff2", "vorlith-gothic.json", "vorlith-pgothic.woff2",
              "vorlith-pgothic.json"}


def check_page_folder(build):
    """The served folder holds the page's files only (no cache, Makefiles or libraries)."""
    page = webpage.page_dir(build)
    found = set(os.listdir(page)) if os.path.isdir(page) else set()
    if found != PAGE_FILES:
        fail("the page folder %s holds %s, not %s" % (page, sorted(found), sorted(PAGE_FILES)))


def check_replay_problems(browser, build, work):
    """A replay that cannot be fetched, and one with a bad line: the reason on the page."""
    bad = os.path.join(work, "bad.replay")
    with open(bad, "w", encoding="utf-8") as f:
        f.write("vorlith-replay 1\n10 -\nfive Z\n")
    status = "document.getElementById('status').textContent"
    with webpage.serve(webpage.page_dir(build), {"/bad.replay": bad}) as base:
        for query, want in (("none.replay", "none.replay: cannot fetch the replay: HTTP 404"),
                            ("", "cannot fetch the replay: ?replay= names no file"),
                            ("bad.replay", "/replay/bad.replay:3: ")):
            browser.navigate(base + "/vorlith.html?replay=" + query)
            if not waited(browser, lambda: want in (browser.evaluate(status) or ""), 30, want):
                fail("?replay=%s: the page shows %r, not %r" %
                     (query, browser.evaluate(status), want))


def check_settings_kept(browser, base):
    """The options screen (O) rebinds fire to Space (eight lines down, Z, then Space) and Esc
    saves; after a reload Z leaves the title as it is and Space starts the stage without
    scrolling the page (its default action is kept from a bound key)."""
    webpage.open_game(browser, base + "/vorlith.html?trace=1")
    browser.press("KeyO", 0.1)
    browser.wait_for(lambda: frames(browser)[-1]["scene"] == 3, 10, "the options screen")
    for key in ["ArrowDown"] * 8 + ["KeyZ", "Space", "Escape"]:
        browser.press(key, 0.1)
        browser.pump(0.1)
    browser.wait_for(lambda: frames(browser)[-1]["scene"] == 1, 10, "the title after Esc")
    browser.pump(1.0)  # the page's storage is written after the file
    webpage.open_game(browser, base + "/vorlith.html?trace=1")
    browser.press("KeyZ", 0.2)
    browser.pump(0.3)
    if frames(browser)[-1]["scene"] != 1:
        return fail("after the reload Z still starts the game: the settings were not kept")
    # A page taller than the window, so that Space could scroll it.
    browser.evaluate("document.body.style.minHeight = '300vh'; window.scrollTo(0, 0)")
    browser.press("Space", 0.2)
    if not waited(browser, lambda: frames(browser)[-1]["scene"] == 0, 10, "the stage after Space"):
        return fail("after the reload Space (fire = Space) does not start the game")
    if browser.evaluate("window.scrollY"):
        fail("Space scrolled the page by %s px" % browser.evaluate("window.scrollY"))


def main():
    build = sys.argv[1]
    with webpage.serve(webpage.page_dir(build)) as base, Browser() as browser, \
            tempfile.TemporaryDirectory() as work:
        first = webpage.open_page(browser, base + "/vorlith.html?trace=1")
        print("first title picture %.0f ms after the navigation started" % first)
        browser.pump(0.5)
        shot = Picture(browser.screenshot(os.path.join(work, "title.png")))
        left, top, width, height = canvas_box(browser)
        scale = width / 640.0
        # The background away from the text, and the text's row holding something brighter.
        corner = shot.at(left + int(20 * scale), top + int(400 * scale))
        if corner != TITLE_BLUE:
            fail("title background at (20,400) is %s, not %s" % (corner, TITLE_BLUE))
        text_row = [shot.at(left + int(x * scale), top + int(165 * scale))
                    for x in range(250, 420, 2)]
        if not any(sum(p) > 3 * 160 for p in text_row):
            fail("no light pixel of \"Press Z key\" on the title")

        check_scaling(browser)
        browser.press("KeyZ", 0.1)
        browser.wait_for(lambda: any(f["scene"] == 0 and f["ship"] for f in frames(browser)),
                         30, "the stage to start after Z")
        start_x = ship_x(browser)
        browser.press("ArrowLeft", 0.6)
        browser.pump(0.2)
        moved_x = ship_x(browser)
        if not moved_x < start_x:
            fail("the ship did not move left with ArrowLeft (x %s -> %s)" % (start_x, moved_x))
        check_gamepad(browser)
        fps = [f["fps"] for f in frames(browser)[-30:]]
        print("frames per second in play: %s" % sorted(fps)[len(fps) // 2])
        FAILURES.extend("console: %s" % e for e in browser.errors())
        check_message_box(browser, base)
        check_play_again(browser, base)
        check_replay_problems(browser, build, work)
        check_sound_after_gesture(browser, build)
        check_pause_survives_full_screen(browser, base, work)
        check_settings_kept(browser, base)
        check_records(base)
    check_page_folder(build)
    return webpage.report(FAILURES)


if __name__ == "__main__":
    sys.exit(main())
