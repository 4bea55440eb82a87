#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 only: the given port, or the next free one.

  serve.py FOLDER [PORT]
"""
import functools
import http.server
import sys


def main():
    folder = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8000
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    for candidate in range(port, port + 100):
        try:
            server = http.server.ThreadingHTTPServer(("127.0.0.1", candidate), handler)
            break
        except OSError:
            continue
    else:
        sys.exit("no free port from %d to %d" % (port, port + 99))
    print("Serving the maze at http://127.0.0.1:%d/ (Ctrl+C stops)" % candidate, flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()


if __name__ == "__main__":
    main()
