#!/usr/bin/env python3
"""The page server of bench/webloop.sh (bench/webloop.mjs drives the pages).

webloop.py serve DIR
    Serves DIR on a free port of 127.0.0.1 (printed first) as a cross-origin isolated page, so
    that the page's clock reads to 5 microseconds rather than 100.
"""
import functools
import http.server
import sys


class IsolatingHandler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(IsolatingHandler, directory=folder))
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    serve(sys.argv[2])
