#!/usr/bin/env python3
"""Serves the regular files of a folder on 127.0.0.1 only: the given port, or
the next free one; port 0 lets the system pick one. Text, the program and
the maze and texture files go gzip-compressed to a browser that accepts it,
as static hosts send them.

  serve.py FOLDER [PORT]
"""
import functools
import gzip
import http
import http.server
import io
import os
import stat
import sys
import urllib.parse

USAGE = "usage: serve.py FOLDER [PORT]"
# What a static host compresses when asked to: everything but pictures that
# are compressed already.
COMPRESSED = {".html", ".js", ".mjs", ".css", ".wasm", ".json", ".bmp", ".dat", ".webmanifest", ".txt"}


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    """Answers with files inside the folder only, symlinks resolved, and never
    lists a folder."""

    # Seconds a connection may sit idle or half-sent before it is closed.
    timeout = 5
    # The app manifest's own type, which Python's table lacks.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".webmanifest": "application/manifest+json"}

    def send_head(self):
        try:
            path = self.translate_path(self.path)
            if os.path.isdir(path):
                url = urllib.parse.urlsplit(self.path)
                if not url.path.endswith("/"):
                    # Relative links in the folder's page need the slash.
                    self.send_response(http.HTTPStatus.MOVED_PERMANENTLY)
                    self.send_header("Location", urllib.parse.urlunsplit(url._replace(path=url.path + "/")))
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return None
                path = os.path.join(path, "index.html")
            real = os.path.realpath(path)
            root = os.path.realpath(self.directory)
            if os.path.commonpath([root, real]) != root:
                raise FileNotFoundError(real)
            # No blocking on a FIFO: anything but a regular file is refused below.
            fd = os.open(real, os.O_RDONLY | os.O_NONBLOCK | os.O_NOFOLLOW)
        except ValueError:  # a NUL byte, or a name the file system cannot take
            self.send_error(http.HTTPStatus.BAD_REQUEST, "Bad file name")
            return None
        except OSError:
            self.send_error(http.HTTPStatus.NOT_FOUND, "File not found")
            return None
        f = os.fdopen(fd, "rb")
        st = os.fstat(fd)
        if not stat.S_ISREG(st.st_mode):
            f.close()
            self.send_error(http.HTTPStatus.NOT_FOUND, "File not found")
            return None
        size = st.st_size
        packed = self.accepts_gzip() and os.path.splitext(real)[1].lower() in COMPRESSED
        if packed:
            with f:
                f = io.BytesIO(gzip.compress(f.read(), compresslevel=6))
            size = len(f.getbuffer())
        self.send_response(http.HTTPStatus.OK)
        self.send_header("Content-type", self.guess_type(real))
        self.send_header("Content-Length", str(size))
        if packed:
            self.send_header("Content-Encoding", "gzip")
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("Last-Modified", self.date_time_string(st.st_mtime))
        # Always the file as it is now: a maze or texture just written is what a reload gets.
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        return f

    def accepts_gzip(self):
        """Whether the request's Accept-Encoding takes gzip (one that refuses it says q=0)."""
        for part in self.headers.get("Accept-Encoding", "").split(","):
            coding, _, params = part.strip().partition(";")
            if coding.strip().lower() in ("gzip", "*"):
                quality = params.strip().lower()
                try:
                    return not quality.startswith("q=") or float(quality[2:]) > 0
                except ValueError:
                    return True
        return False


class SiteServer(http.server.ThreadingHTTPServer):
    request_queue_size = 64

    def handle_error(self, request, client_address):
        # A client that went away or stalled mid-answer is no fault of ours: one line, no traceback.
        error = sys.exc_info()[1]
        if isinstance(error, OSError):
            sys.stderr.write("%s: %s\n" % (client_address[0], error))
        else:
            super().handle_error(request, client_address)


def usage_error(message):
    sys.stderr.write("serve.py: %s (%s)\n" % (message, USAGE))
    sys.exit(2)


def main():
    if len(sys.argv) not in (2, 3):
        usage_error("expected a folder and an optional port")
    folder = sys.argv[1]
    if not os.path.isdir(folder):
        usage_error("not a folder: %r" % folder)
    text = sys.argv[2] if len(sys.argv) > 2 else "8000"
    if not (text.isascii() and text.isdigit() and int(text) <= 65535):
        usage_error("PORT must be a whole number from 0 to 65535, not %r" % text)
    port = int(text)
    handler = functools.partial(SiteHandler, directory=folder)
    candidates = [0] if port == 0 else range(port, min(port + 100, 65536))
    for candidate in candidates:
        try:
            server = SiteServer(("127.0.0.1", candidate), handler)
            break
        except OSError:
            continue
    else:
        sys.exit("serve.py: no free port from %d to %d" % (candidates[0], candidates[-1]))
    print("Serving the maze at http://127.0.0.1:%d/ (Ctrl+C stops)" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()


if __name__ == "__main__":
    main()
