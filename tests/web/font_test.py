#!/usr/bin/python3
"""Runs the font rasterizer's page (tests/web/fontpage) in headless Chromium and checks what
the browser's canvas made of the shipped subset fonts.

    font_test.py BUILD_DIR [SCREENSHOT.png]
"""

import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser  # noqa: E402
import webpage  # noqa: E402


def records(console, kind):
    prefix = kind + " {"
    return [json.loads(line[len(prefix) - 1:]) for line in console.splitlines()
            if line.startswith(prefix)]


def check(fonts, glyphs, missing, console, errors):
    failures = list("console error: " + e for e in errors)
    if len(fonts) != 4 or not all(f["open"] for f in fonts):
        failures.append("not every font opened: %s" % fonts)
    for f in fonts:
        if f.get("open") and not (f["height"] - 3 <= f["line"] <= f["height"]):
            failures.append("height %d: line height %d" % (f["height"], f["line"]))
    for g in glyphs:
        char = chr(g["cp"])
        if not g["drawn"]:
            failures.append("%r not drawn at line %d" % (char, g["top"]))
        elif char != " " and (g["w"] == 0 or g["h"] == 0 or g["adv"] <= 0):
            failures.append("%r empty at line %d: %s" % (char, g["top"], g))
    lines = {}
    for g in glyphs:
        lines.setdefault(g["top"], {})[chr(g["cp"])] = g
    for top, line in lines.items():
        # Kana are full width, Latin letters half: the faces, not a fallback, drew them.
        if line["自"]["adv"] < 1.6 * line["W"]["adv"] and top == max(lines):
            failures.append("kana not full width at line %d" % top)
        if line["g"]["y"] + line["g"]["h"] <= line["W"]["y"] + line["W"]["h"]:
            failures.append("'g' does not descend below 'W' at line %d" % top)
    if any(m["drawn"] for m in missing):
        failures.append("a character outside the subset was drawn")
    if '"open":false' not in console.split("toolarge ")[-1]:
        failures.append("a 5000-pixel font opened")
    return failures


def main():
    if len(sys.argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    with webpage.serve(sys.argv[1]) as base, Browser() as browser:
        browser.navigate(base + "/font_page.html")
        browser.wait_for(lambda: "font page done" in browser.console_text() or browser.errors(),
                         30, "the font page")
        browser.pump(0.2)
        if len(sys.argv) == 3:
            browser.screenshot(sys.argv[2])
        console = browser.console_text()
        failures = check(records(console, "font"), records(console, "glyph"),
                         records(console, "missing"), console, browser.errors())
    if not failures:
        print("font test: ok (%d glyphs)" % len(records(console, "glyph")))
    return webpage.report(failures)


if __name__ == "__main__":
    sys.exit(main())
