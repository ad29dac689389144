#!/usr/bin/env python3
"""Serves the browser build on 127.0.0.1 for watching it and for the tests.

usage: serve.py DIRECTORY [PORT]   (PORT 0 picks a free one)

Prints "serving http://127.0.0.1:PORT/" once it listens. Files go out with
the types browsers want (application/wasm streams the program while it
downloads), with cross-origin isolation headers so that a build with threads
runs too, and uncached, so a rebuilt page is always the one shown.
"""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".data": "application/octet-stream",
        ".html": "text/html; charset=utf-8",
    }

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, format, *args):
        pass


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip().splitlines()[2])
    directory = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8080
    handler = functools.partial(Handler, directory=directory)
    with http.server.ThreadingHTTPServer(("127.0.0.1", port), handler) as server:
        print(f"serving http://127.0.0.1:{server.server_address[1]}/", flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
