"""The page in headless Chromium: a loopback server for a browser build, the page opened with
its options, and its console trace collected. Used by the browser tests."""

import contextlib
import functools
import http.server
import json
import os
import threading
import time
import urllib.parse

from devtools import Browser, DevToolsError


def page_dir(build_dir):
    """The folder of a browser build that holds the page's files (the one served)."""
    return os.path.join(build_dir, "page")


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extra = {}  # URL path -> file served beside the page

    def translate_path(self, path):
        name = urllib.parse.urlsplit(path).path
        return self.extra.get(name) or super().translate_path(path)

    def log_message(self, *args):
        pass


@contextlib.contextmanager
def serve(directory, extra=None):
    """Serves directory (and extra: URL path -> file) on 127.0.0.1; yields the base URL."""
    handler = type("Handler", (_QuietHandler,), {"extra": dict(extra or {})})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(handler, directory=directory))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield "http://127.0.0.1:%d" % server.server_address[1]
    finally:
        server.shutdown()
        server.server_close()


def open_page(browser, url, timeout=60.0):
    """Navigates with the page focused (headless Chromium has no focused window otherwise)
    and waits for its first picture; returns the time of that picture from the navigation's
    start, in ms."""
    browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
    browser.navigate(url)
    browser.wait_for(lambda: (browser.evaluate("Module.picturesShown|0") or 0) > 0, timeout,
                     "the first picture")
    return browser.evaluate("Module.firstPictureTime")


def open_game(browser, url):
    """open_page, then half a second: the title takes keys once it has run a few frames."""
    open_page(browser, url)
    browser.pump(0.5)


def trace_lines(browser):
    """The trace lines the page has written to the console so far."""
    return [text for kind, text in browser.console if kind == "log" and text.startswith('{"frame"')]


def frames(browser):
    """The frames of the page's trace so far, parsed."""
    return [json.loads(line) for line in trace_lines(browser)]


def ship_x(browser):
    """The ship's x in the last frame that has a ship."""
    return [f for f in frames(browser) if f["ship"]][-1]["ship"]["x"]


def waited(browser, condition, timeout, what):
    """Whether the condition held within timeout seconds (a test's failure, not an error)."""
    try:
        browser.wait_for(condition, timeout, what)
        return True
    except DevToolsError:
        return False


def report(failures):
    """Prints each failure; the exit status of a test with them."""
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


def browser_replay(build_dir, replay, timeout=900.0):
    """Plays a replay file in the page with the trace on; returns (trace lines, seconds)."""
    with serve(page_dir(build_dir), {"/replays/" + os.path.basename(replay): replay}) as base, \
            Browser() as browser:
        url = "%s/vorlith.html?replay=replays/%s&trace=1" % (base, os.path.basename(replay))
        open_page(browser, url)
        start = time.monotonic()
        browser.wait_for(lambda: "vorlith: replay done" in browser.console_text()
                         or browser.errors(), timeout, "the end of the replay")
        elapsed = time.monotonic() - start
        assert not browser.errors(), "errors in the page: %s" % browser.errors()
        return trace_lines(browser), elapsed
