#!/usr/bin/python3
"""A small DevTools-protocol client for headless Chromium.

Runs with Debian's /usr/bin/python3 and python3-websocket. Starts `chromium` headless with
WebGL on SwiftShader, opens one tab, and offers what the browser tests need: navigate,
console, browser warning and exception collection, JS evaluation, key events and PNG
screenshots. The browser runs under the autoplay rules of a player's (sound only after a
gesture) and is always killed, also when a test fails.

    with Browser() as browser:
        browser.navigate("http://127.0.0.1:8000/vorlith.html")
        browser.wait_for(lambda: "vorlith: ready" in browser.console_text())
        browser.press("KeyZ")
        browser.screenshot("title.png")
"""

import base64
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
import urllib.request

import websocket

CHROMIUM = os.environ.get("VORLITH_CHROMIUM", "chromium")

# Quiet, reproducible headless browser: WebGL through SwiftShader, nothing fetched from the net.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--window-size=1000,900", "--remote-debugging-port=0", "--no-first-run",
    "--no-default-browser-check", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--disable-default-apps",
    "--disable-extensions", "--disable-domain-reliability", "--disable-client-side-phishing-detection",
    "--disable-breakpad", "--metrics-recording-only", "--safebrowsing-disable-auto-update",
    "--disable-features=Translate,MediaRouter,OptimizationHints", "--mute-audio",
    "--password-store=basic",
]

# windowsVirtualKeyCode of the keys the game reads by their DevTools code; letters are KeyA..KeyZ.
KEY_CODES = {"ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40, "Enter": 13,
             "Escape": 27, "Space": 32}
KEY_CODES.update({"Key" + chr(c): c for c in range(ord("A"), ord("Z") + 1)})


class DevToolsError(RuntimeError):
    pass


def poll(probe, timeout, what, step=lambda: time.sleep(0.05)):
    """Calls probe until it returns something true, and returns that; step runs in between."""
    deadline = time.monotonic() + timeout
    while not (found := probe()):
        if time.monotonic() > deadline:
            raise DevToolsError("timed out after %gs waiting for %s" % (timeout, what))
        step()
    return found


class Browser:
    def __init__(self, startup_timeout=20.0, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="vorlith-chromium-")
        self.log = open(os.path.join(self.profile, "chromium.log"), "w+b")
        self.process = self.socket = None
        self.next_id = 0
        self.console = []     # (type, text) of each console call and browser message, in order
        self.exceptions = []  # text of each uncaught exception
        self.loads = 0        # load events of the tab's main frame
        try:
            self._start(startup_timeout, list(extra_flags))
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _start(self, timeout, extra_flags):
        self.process = subprocess.Popen(
            [CHROMIUM, "--user-data-dir=" + self.profile] + CHROMIUM_FLAGS + extra_flags +
            ["about:blank"], stdout=self.log, stderr=subprocess.STDOUT, start_new_session=True)
        port = poll(self._port, timeout, "chromium's DevTools port")
        request = urllib.request.Request("http://127.0.0.1:%d/json/new?about:blank" % port,
                                         method="PUT")
        with urllib.request.urlopen(request, timeout=timeout) as reply:
            target = json.load(reply)
        self.socket = websocket.create_connection(target["webSocketDebuggerUrl"],
                                                  timeout=timeout, suppress_origin=True)
        for domain in ("Runtime.enable", "Page.enable", "Log.enable"):
            self.call(domain)

    def _port(self):
        """The DevTools port once chromium has written it (None before)."""
        if self.process.poll() is not None:
            self.log.seek(0)
            raise DevToolsError("chromium exited with status %d:\n%s" % (
                self.process.returncode, self.log.read().decode("utf-8", "replace")[-2000:]))
        try:
            with open(os.path.join(self.profile, "DevToolsActivePort")) as f:
                return int(f.readline())
        except (OSError, ValueError):
            return None

    def close(self):
        if self.socket is not None:
            self.socket.shutdown()  # no closing handshake: the browser is killed next
        if self.process is not None and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)

    # --- protocol -------------------------------------------------------------------------

    def _handle_event(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(_remote_to_text(a) for a in params.get("args", []))
            self.console.append((params.get("type", "log"), text))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            exception = details.get("exception", {})
            self.exceptions.append(exception.get("description") or details.get("text", "?"))
        elif method == "Page.loadEventFired":
            self.loads += 1
        elif method == "Log.entryAdded":
            entry = params.get("entry", {})
            # A page without an icon is no fault of the page's code.
            if entry.get("level") == "error" and not entry.get("url", "").endswith("/favicon.ico"):
                self.console.append(("browser-error", entry.get("text", "")))
            elif entry.get("level") == "warning":
                self.console.append(("browser-warning", entry.get("text", "")))

    def _receive(self, seconds, ident=None):
        """Handles events for that long, or until the answer to command ident, returned."""
        deadline = time.monotonic() + seconds
        while (left := deadline - time.monotonic()) > 0:
            self.socket.settimeout(left)
            try:
                message = json.loads(self.socket.recv())
            except websocket.WebSocketTimeoutException:
                break
            if ident is not None and message.get("id") == ident:
                return message
            if "id" not in message:
                self._handle_event(message)
        return None

    def call(self, method, timeout=30.0, **params):
        """Sends one command and returns its result; events that arrive meanwhile are kept."""
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        message = self._receive(timeout, self.next_id)
        if message is None:
            raise DevToolsError("%s: no answer in %gs" % (method, timeout))
        if "error" in message:
            raise DevToolsError("%s: %s" % (method, message["error"].get("message")))
        return message.get("result", {})

    def pump(self, seconds):
        """Collects events for about this long."""
        self._receive(seconds)

    def wait_for(self, condition, timeout=20.0, what="condition"):
        poll(condition, timeout, what, lambda: self.pump(0.05))

    # --- page -----------------------------------------------------------------------------

    def navigate(self, url, timeout=30.0):
        loads = self.loads
        result = self.call("Page.navigate", url=url)
        if result.get("errorText"):
            raise DevToolsError("navigating to %s: %s" % (url, result["errorText"]))
        self.wait_for(lambda: self.loads > loads, timeout, "the load event of " + url)

    def evaluate(self, expression, await_promise=False, timeout=30.0):
        result = self.call("Runtime.evaluate", timeout=timeout, expression=expression,
                           returnByValue=True, awaitPromise=await_promise)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            text = details.get("exception", {}).get("description") or details.get("text")
            raise DevToolsError("evaluating %r: %s" % (expression[:80], text))
        return result.get("result", {}).get("value")

    def console_text(self):
        return "\n".join(text for _, text in self.console)

    def errors(self):
        """Console errors and uncaught exceptions so far."""
        return [text for kind, text in self.console if kind in ("error", "browser-error", "assert")
                ] + self.exceptions

    def key(self, code, down, modifiers=0):
        key = " " if code == "Space" else code[3:].lower() if code.startswith("Key") else code
        params = {"type": "keyDown" if down else "keyUp", "key": key, "code": code,
                  "windowsVirtualKeyCode": KEY_CODES[code],
                  "nativeVirtualKeyCode": KEY_CODES[code], "modifiers": modifiers}
        if down and len(key) == 1:
            params["text"] = key
        self.call("Input.dispatchKeyEvent", **params)

    def press(self, code, hold_seconds=0.05, modifiers=0):
        self.key(code, True, modifiers)
        self.pump(hold_seconds)
        self.key(code, False, modifiers)

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
        return path


def _remote_to_text(obj):
    """A console call's argument: the page logs strings; anything else by its description."""
    if "value" in obj:
        value = obj["value"]
        return value if isinstance(value, str) else json.dumps(value)
    return obj.get("description") or obj.get("unserializableValue") or obj.get("type", "")
