#!/usr/bin/python3
"""The page keeps its high scores in the browser's storage: a run played with keys to "Game
Over" (or "Stage Clear!!") and ended with V (or C) lands in /player/data/scores.txt (IDBFS),
and after a reload of the page the table read back from IndexedDB still holds it, with the
run's replay beside it.

usage: records_test.py BUILD_WEB_DIR
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import webpage  # noqa: E402
from devtools import Browser  # noqa: E402
from webpage import frames  # noqa: E402

TABLE = "/player/data/scores.txt"


def read_table(browser):
    return browser.evaluate("FS.analyzePath(%r).exists ? FS.readFile(%r, {encoding: 'utf8'}) : ''"
                            % (TABLE, TABLE))


def main():
    build = sys.argv[1]
    failures = []
    with webpage.serve(webpage.page_dir(build)) as base, Browser() as browser:
        webpage.open_game(browser, base + "/vorlith.html?trace=1")
        if read_table(browser):
            failures.append("a fresh profile already has a table")
        browser.press("KeyZ", 0.1)
        browser.wait_for(lambda: frames(browser)[-1]["scene"] == 0, 30, "the stage after Z")
        browser.key("ArrowLeft", True)  # into the first enemies' lane, not firing
        browser.wait_for(lambda: frames(browser)[-1]["ship"]["x"] <= 30, 30, "the lane")
        browser.key("ArrowLeft", False)
        ended = "f['ship']['finished'] or f['boss'] and f['boss']['finished']"
        browser.wait_for(lambda: eval(ended, {"f": frames(browser)[-1]}), 300, "the run's end")
        key = "KeyV" if frames(browser)[-1]["ship"]["finished"] else "KeyC"  # Game Over, or Game Complete
        browser.key(key, True)
        browser.wait_for(lambda: frames(browser)[-1]["scene"] == 1, 30, "the title after the run")
        browser.key(key, False)
        score = [f for f in frames(browser) if f["scene"] == 0][-1]["score"]
        browser.pump(1.0)  # IDBFS saves in the background
        webpage.open_page(browser, base + "/vorlith.html")  # a reload: memory starts afresh
        table = read_table(browser).split("\n")
        print("the table after a reload: %r (the run ended with %d points)" % (table[:2], score))
        if len(table) < 2 or not table[1].startswith("%d 1 " % score):
            failures.append("the table after the reload is %r, not the run's %d points" %
                            (table[:2], score))
        else:
            replay = "/player/data/" + table[1].split()[-1]
            if not browser.evaluate("FS.analyzePath(%r).exists" % replay):
                failures.append("no replay %s after the reload" % replay)
        failures += ["console: %s" % e for e in browser.errors()]
    return webpage.report(failures)


if __name__ == "__main__":
    sys.exit(main())
