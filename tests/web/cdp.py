"""A headless Chromium driven through the DevTools protocol, standard library only.

The protocol runs over --remote-debugging-pipe: Chromium reads commands on its
fd 3 and writes replies and events on its fd 4, one JSON message each,
NUL-terminated. A pipe rather than a websocket because it needs no third-party
package (PyPI is out of reach, so Playwright is too), no debugging port that
anything else on the machine could connect to, and it ends with the browser.

Also here: an HTTP server for a folder on 127.0.0.1 (a free port, a thread of
this process) and a PNG decoder for the screenshots.
"""

import base64
import functools
import http.server
import json
import os
import queue
import shutil
import signal
import socketserver
import struct
import subprocess
import tempfile
import threading
import time
import zlib


class CdpError(RuntimeError):
    pass


class Chromium:
    """One headless Chromium (a fresh profile) and one page in it."""

    def __init__(self, binary="/usr/bin/chromium", extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="maze-chromium-")
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()

        def child_fds():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        flags = [
            "--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--no-first-run", "--disable-quic", "--disable-extensions", "--mute-audio",
            "--hide-scrollbars", "--force-device-scale-factor=1", "--window-size=800,800",
            "--remote-debugging-pipe", "--user-data-dir=" + self.profile,
        ]
        # A session of its own, so the browser's helper processes go with it.
        self.process = subprocess.Popen(
            [binary] + flags + list(extra_flags) + ["about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=child_fds, close_fds=False, start_new_session=True)
        os.close(to_browser_r)
        os.close(from_browser_w)

        self._next_id = 0
        self._replies = {}
        self._reply_ready = threading.Condition()
        self.events = queue.Queue()
        self.console = []  # (type, text) of every console call and uncaught exception
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

        targets = self.send("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.send("Target.attachToTarget", {"targetId": page["targetId"], "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime"):
            self.call(domain + ".enable")

    # ---- the protocol ----

    def _read(self):
        buffer = b""
        while True:
            try:
                chunk = os.read(self._from_browser, 65536)
            except OSError:
                chunk = b""
            if not chunk:
                with self._reply_ready:
                    self._replies[None] = None  # the browser has gone
                    self._reply_ready.notify_all()
                return
            buffer += chunk
            while b"\0" in buffer:
                raw, buffer = buffer.split(b"\0", 1)
                message = json.loads(raw)
                if "id" in message:
                    with self._reply_ready:
                        self._replies[message["id"]] = message
                        self._reply_ready.notify_all()
                else:
                    self._note(message)
                    self.events.put(message)

    def _note(self, message):
        method, params = message.get("method"), message.get("params", {})
        if method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params.get("args", []))
            self.console.append((params.get("type"), text))
        elif method == "Runtime.exceptionThrown":
            self.console.append(("exception", json.dumps(params.get("exceptionDetails", {}))[:500]))

    def send(self, method, params=None, session=None, timeout=30):
        self._next_id += 1
        ident = self._next_id
        message = {"id": ident, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        with self._reply_ready:
            while ident not in self._replies:
                if None in self._replies:
                    raise CdpError("the browser has gone (%s)" % method)
                left = deadline - time.monotonic()
                if left <= 0:
                    raise CdpError("no reply to %s within %s s" % (method, timeout))
                self._reply_ready.wait(left)
            reply = self._replies.pop(ident)
        if "error" in reply:
            raise CdpError("%s: %s" % (method, reply["error"]))
        return reply.get("result", {})

    def call(self, method, params=None, timeout=30):
        """A command to the page."""
        return self.send(method, params, self.session, timeout)

    # ---- the page ----

    def evaluate(self, expression, timeout=30):
        """The value of a JavaScript expression in the page (promises are awaited)."""
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True}, timeout)
        if "exceptionDetails" in result:
            raise CdpError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def navigate(self, url):
        """Opens url and returns once its document (not the one before) is there."""
        self.evaluate("window.__replaced = true")
        self.console.clear()
        self.call("Page.navigate", {"url": url})
        self.wait_for("!window.__replaced")

    def wait_for(self, expression, timeout=30, interval=0.05):
        """Polls until the expression is truthy; returns its value."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise CdpError("timed out waiting for %s (last %r)" % (expression, value))
            time.sleep(interval)

    def key(self, key):
        """Types one key as a person would: key down, the character, key up."""
        named = {"Escape": ("Escape", 27)}
        if key in named:
            params = {"key": key, "code": named[key][0], "windowsVirtualKeyCode": named[key][1]}
            self.call("Input.dispatchKeyEvent", dict(params, type="rawKeyDown"))
        else:
            code = "Key" + key.upper() if key.isalpha() else ""
            params = {"key": key, "code": code, "text": key, "unmodifiedText": key.lower(),
                      "windowsVirtualKeyCode": ord(key.upper()),
                      "modifiers": 8 if key.isupper() else 0}
            self.call("Input.dispatchKeyEvent", dict(params, type="keyDown"))
        self.call("Input.dispatchKeyEvent", dict(params, type="keyUp"))

    def screenshot(self, selector, area=None):
        """The element's pixels, or those of area (x, y, width, height) inside
        it, as (width, height, RGB bytes top row first)."""
        box = self.evaluate("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                            " return [r.left, r.top, r.width, r.height]; })()" % json.dumps(selector))
        x, y, w, h = area or (0, 0, box[2], box[3])
        shot = self.call("Page.captureScreenshot", {
            "format": "png", "clip": {"x": box[0] + x, "y": box[1] + y, "width": w, "height": h, "scale": 1}})
        return decode_png(base64.b64decode(shot["data"]))

    def close(self):
        try:
            self.send("Browser.close", timeout=5)
        except CdpError:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        # Whatever of the browser is left, by its own process group.
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass
        self.process.wait()
        for fd in (self._to_browser, self._from_browser):
            try:
                os.close(fd)
            except OSError:
                pass
        shutil.rmtree(self.profile, ignore_errors=True)


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


class Server:
    """Serves a folder at http://127.0.0.1:PORT/ on a free port, from a thread."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        socketserver.TCPServer.allow_reuse_address = True
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        self._thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self._thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def decode_png(data):
    """(width, height, RGB bytes top row first) of an 8-bit RGB or RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                raise ValueError("PNG depth %d colour type %d" % (depth, colour))
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(line)
        previous = line
    rgb = bytearray()
    for line in rows:
        if channels == 3:
            rgb += line
        else:
            for i in range(0, stride, 4):
                rgb += line[i:i + 3]
    return width, height, bytes(rgb)
