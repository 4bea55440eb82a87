#!/usr/bin/env python3
"""The development server, web/serve.py (also the page tests' and benchmark's
server), started on a free port of 127.0.0.1 and stopped by its process id:
it serves the folder's regular files and nothing else, uncached, answers bad
paths, closes stalled connections, and refuses bad ports (also through
scripts/web) with one line."""
import gzip
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SERVE = os.path.join(ROOT, "web", "serve.py")
SCRIPT_WEB = os.path.join(ROOT, "scripts", "web")
IDLE_TIMEOUT = 5  # serve.py's


class ServeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        base = cls.tmp.name
        cls.site = os.path.join(base, "site")
        os.mkdir(cls.site)
        os.mkdir(os.path.join(cls.site, "empty"))
        files = {"site/index.html": b"<p>page</p>", "site/maze1.dat": b"rrr\nr*x\nrrr\n", "secret.txt": b"secret"}
        for name, data in files.items():
            with open(os.path.join(base, name), "wb") as f:
                f.write(data)
        os.symlink(os.path.join(base, "secret.txt"), os.path.join(cls.site, "secret.txt"))
        os.symlink(base, os.path.join(cls.site, "outside"))
        os.symlink("maze1.dat", os.path.join(cls.site, "inside.dat"))
        os.mkfifo(os.path.join(cls.site, "fifo"))
        cls.log = open(os.path.join(base, "server.log"), "wb")
        cls.server = subprocess.Popen([sys.executable, SERVE, cls.site, "0"], stdout=subprocess.PIPE,
                                      stderr=cls.log, stdin=subprocess.DEVNULL)
        # Port 0: the system picks a free port, and the printed address names it.
        line = b""
        if select.select([cls.server.stdout], [], [], 20)[0]:
            line = cls.server.stdout.readline()
        match = re.match(rb"Serving the maze at http://127\.0\.0\.1:([0-9]+)/ ", line)
        if not match:
            cls.tearDownClass()
            raise AssertionError("no address printed: %r" % line)
        cls.port = int(match.group(1))

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        try:
            cls.server.wait(10)
        except subprocess.TimeoutExpired:
            cls.server.kill()
            cls.server.wait()
        cls.server.stdout.close()
        cls.log.close()
        cls.tmp.cleanup()

    def connect(self):
        s = socket.create_connection(("127.0.0.1", self.port), timeout=10)
        self.addCleanup(s.close)
        return s

    def get(self, path):
        """The status code and body of GET path, sent byte for byte as given."""
        status, _, body = self.request(path)
        return status, body

    def request(self, path, headers=b""):
        """The status code, head and body of GET path, with the given header lines."""
        s = self.connect()
        s.sendall(b"GET " + path + b" HTTP/1.0\r\n" + headers + b"\r\n")
        answer = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            answer += chunk
        head, _, body = answer.partition(b"\r\n\r\n")
        match = re.match(rb"HTTP/1\.[01] ([0-9]{3}) ", head)
        self.assertTrue(match, "no answer to %r: %r" % (path, answer))
        return int(match.group(1)), head, body

    def test_files_are_never_cached(self):
        # The page's tests rewrite a folder's maze and textures between loads of one address.
        status, head, _ = self.request(b"/maze1.dat")
        self.assertEqual(status, 200)
        self.assertIn(b"\r\nCache-Control: no-store\r\n", head + b"\r\n")

    def test_only_regular_files_inside_the_folder_are_served(self):
        self.assertEqual(self.get(b"/maze1.dat"), (200, b"rrr\nr*x\nrrr\n"))
        self.assertEqual(self.get(b"/"), (200, b"<p>page</p>"))
        self.assertEqual(self.get(b"/inside.dat"), (200, b"rrr\nr*x\nrrr\n"))
        self.assertEqual(self.get(b"/empty")[0], 301)
        for path in (b"/secret.txt", b"/outside/secret.txt", b"/outside/", b"/../secret.txt",
                     b"/%2e%2e/secret.txt", b"/fifo", b"/empty/", b"/missing.dat"):
            status, body = self.get(path)
            self.assertEqual(status, 404, path)
            self.assertNotIn(b"secret", body, path)

    def test_files_are_compressed_for_a_browser_that_takes_gzip(self):
        cases = ((b"", False), (b"Accept-Encoding: gzip, deflate, br\r\n", True),
                 (b"Accept-Encoding: br, gzip;q=0\r\n", False), (b"Accept-Encoding: identity\r\n", False))
        for headers, packed in cases:
            status, head, body = self.request(b"/maze1.dat", headers)
            self.assertEqual(status, 200, headers)
            self.assertEqual(b"\r\nContent-Encoding: gzip\r\n" in head + b"\r\n", packed, headers)
            self.assertIn(b"\r\nContent-Length: %d\r\n" % len(body), head + b"\r\n", headers)
            self.assertEqual(gzip.decompress(body) if packed else body, b"rrr\nr*x\nrrr\n", headers)

    def test_bad_paths_get_an_answer(self):
        for path in (b"/maze1.dat%00", b"/%00", b"/%ED%A0%80.dat"):
            self.assertEqual(self.get(path)[0], 400, path)

    def test_stalled_connections_are_closed_and_block_nobody(self):
        start = time.monotonic()
        stalled = [self.connect() for _ in range(40)]
        for s in stalled[::2]:
            s.sendall(b"GET /maze1.dat HTTP/1.1\r\nHost: 127.0.0.1")  # half a request
        # The others send nothing at all.
        self.assertEqual(self.get(b"/maze1.dat")[0], 200)
        self.assertLess(time.monotonic() - start, IDLE_TIMEOUT, "answered only once the stalled ones timed out")
        for s in stalled:
            self.assertEqual(s.recv(100), b"", "a stalled connection got an answer")
        self.assertLess(time.monotonic() - start, IDLE_TIMEOUT + 5, "stalled connections kept open")

    def test_bad_ports_are_refused_in_one_line(self):
        for port in ("abc", "70000", "-1", "", "1.5", "٣"):
            r = subprocess.run([sys.executable, SERVE, self.site, port], capture_output=True, text=True, timeout=30)
            self.assertEqual(r.returncode, 2, port)
            self.assertEqual(r.stdout, "", port)
            self.assertRegex(r.stderr, r"\Aserve\.py: PORT must be a whole number from 0 to 65535, not .*\n\Z", port)
        # Refused before anything is installed or built.
        for args in (["--port"], ["--port", "abc"], ["--port", "65536"], ["--build-only", "--port"]):
            r = subprocess.run([SCRIPT_WEB] + args, capture_output=True, text=True, timeout=30)
            self.assertEqual(r.returncode, 2, args)
            self.assertEqual(r.stdout, "", args)
            self.assertRegex(r.stderr, r"\Ausage: scripts/web .*\n\Z", args)


if __name__ == "__main__":
    unittest.main()
