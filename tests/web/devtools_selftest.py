#!/usr/bin/python3
"""Proves the DevTools client against a static page on a loopback server of its own."""

import functools
import http.server
import os
import struct
import sys
import tempfile
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser  # noqa: E402


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def check(condition, message, failures):
    if not condition:
        failures.append(message)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "selftest")
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=root))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/index.html" % server.server_address[1]
    failures = []
    pid = None
    try:
        with Browser() as browser:
            pid = browser.process.pid
            browser.navigate(url)
            browser.wait_for(lambda: "self-test ready" in browser.console_text(), 10, "ready")
            browser.wait_for(lambda: browser.exceptions, 10, "the thrown error")
            check('self-test ready {"n": 1}' in browser.console_text(),
                  "console arguments joined", failures)
            check(any("deliberate error" in e for e in browser.errors()),
                  "console.error collected", failures)
            check(any("deliberate throw" in e for e in browser.exceptions),
                  "exception collected", failures)
            check(browser.evaluate("6 * 7") == 42, "evaluate", failures)
            check(browser.evaluate("Promise.resolve('later')", await_promise=True) == "later",
                  "evaluate awaiting a promise", failures)
            browser.press("ArrowLeft")
            browser.press("KeyZ")
            browser.wait_for(lambda: "up KeyZ" in browser.console_text(), 5, "key events")
            check(browser.evaluate("keysSeen.join(',')") == "ArrowLeft,KeyZ", "key codes",
                  failures)
            check("down z KeyZ 90" in browser.console_text(), "key, code and keyCode", failures)
            check(browser.evaluate("innerWidth") >= 900, "window size", failures)
            with tempfile.TemporaryDirectory() as tmp:
                png = open(browser.screenshot(os.path.join(tmp, "shot.png")), "rb").read()
            check(png[:8] == b"\x89PNG\r\n\x1a\n", "screenshot is a PNG", failures)
            width, height = struct.unpack(">II", png[16:24])
            check(width >= 900 and height >= 800, "screenshot size %dx%d" % (width, height),
                  failures)
    finally:
        server.shutdown()
    try:
        os.kill(pid, 0)
        failures.append("chromium still runs after close")
    except (ProcessLookupError, TypeError):
        pass
    for f in failures:
        print("devtools self-test FAILED:", f)
    if not failures:
        print("devtools self-test: ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
