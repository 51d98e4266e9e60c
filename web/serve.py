#!/usr/bin/env python3
"""Serves the web page's folder on this computer only.

    web/serve.py [--gzip] FOLDER [PORT]

Prints the address to open. PORT 0 picks a free port. Files go out with the
types browsers insist on for the WebAssembly module and the manifest; with
--gzip they are compressed for browsers that accept it, as a production web
server would send them.
"""
import functools
import gzip
import http.server
import io
import os
import sys


@functools.lru_cache(maxsize=64)
def compressed_version(path, modified):
    with open(path, "rb") as file:
        return gzip.compress(file.read(), 9)


def compressed(path):
    """The file gzipped, once per version of it, so that timing the page does not time the compressing."""
    return compressed_version(path, os.stat(path).st_mtime_ns)


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".html": "text/html; charset=utf-8",
        ".js": "text/javascript",
        ".wasm": "application/wasm",
        ".webmanifest": "application/manifest+json",
        ".svg": "image/svg+xml",
    }

    def __init__(self, *args, compress, **kwargs):
        self.compress = compress
        super().__init__(*args, **kwargs)

    def end_headers(self):
        # Revalidated every time, so that a rebuilt page shows at the next reload.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        if not (self.compress and "gzip" in self.headers.get("Accept-Encoding", "") and os.path.isfile(path)):
            return super().send_head()
        body = compressed(path)
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        return io.BytesIO(body)

    def log_message(self, format, *args):
        pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser that closes a connection mid-answer is no error of ours.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def main():
    compress = "--gzip" in sys.argv[1:]
    args = [arg for arg in sys.argv[1:] if arg != "--gzip"]
    if not args or not os.path.isdir(args[0]):
        sys.exit(__doc__)
    port = int(args[1]) if len(args) > 1 else 8000
    handler = functools.partial(Handler, directory=args[0], compress=compress)
    server = Server(("127.0.0.1", port), handler)
    print(f"linterp: serving {args[0]} at http://127.0.0.1:{server.server_address[1]}/ (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
