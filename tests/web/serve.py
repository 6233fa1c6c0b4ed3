"""A quiet static HTTP server on 127.0.0.1 at a free port, in a thread of its own."""

import functools
import http.server
import threading


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".woff2": "font/woff2"})

    def log_message(self, *args):
        pass


class StaticServer:
    def __init__(self, root):
        self.server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(_QuietHandler, directory=root))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.base = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()
