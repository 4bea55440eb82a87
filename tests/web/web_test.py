#!/usr/bin/env python3
"""The web page in a real headless Chromium, served over HTTP on 127.0.0.1.

Each test lays out a folder beside the built page's own files (its maze, its
textures, or a file missing or broken), opens it and plays it through real key
events, reading the walk back through the canvas' pixels, the title, the
page's messages and the console. See cdp.py for why the browser is driven over
a DevTools pipe.

  web_test.py --site build-web/site --mazetool build/mazetool
              --desktop-pictures build/tests/desktop_pictures [unittest options]
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402

ARGS = None
PAGE_FILES = ("index.html", "page.js", "page.css", "maze.js", "maze.wasm", "texture_files.js")
TEXTURE_FILES = ("metal004.bmp", "pipes6lights.bmp", "pipeslights.bmp", "pipeslightswires.bmp",
                 "StoneWallImproved.bmp", "RustyBricksGrate.bmp", "SteelBoxFan.bmp")
# Plain test textures: the floor grey, each wall letter its own colour.
PLAIN = {"floor": (128, 128, 128), "r": (255, 0, 0), "g": (0, 255, 0), "b": (0, 0, 255),
         "c": (0, 255, 255), "m": (255, 0, 255), "y": (255, 255, 0)}
SKY = (127, 127, 255)
IDLE = 4
CONGRATULATIONS = "You found the end.  Congratulations!!!!"
TITLE_RE = r"^Maze:  Current Frames Per Second: [0-9]+$"

# Facing a wall of each colour in turn: start facing r, then three left turns.
ROOM = b"ggggg\nc*  r\nbbbbb\n"


def plain_bmp(rgb, side=8):
    """An uncompressed 24-bit bitmap of one colour."""
    row = bytes((rgb[2], rgb[1], rgb[0])) * side
    pixels = row * side
    header = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + header + pixels


def plain_textures():
    colours = [PLAIN[k] for k in ("floor", "r", "g", "b", "c", "m", "y")]
    return {name: plain_bmp(c) for name, c in zip(TEXTURE_FILES, colours)}


def near(a, b, tolerance=1):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class WebPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="maze-web-test-")
        cls.server = cdp.Server(cls.root)
        try:
            cls.browser = cdp.Chromium()
        except Exception:
            cls.server.close()
            raise
        # Every title the page ever shows, in order (document.title collapses spaces).
        cls.browser.call("Page.addScriptToEvaluateOnNewDocument", {"source": """
            window.titles = [];
            new MutationObserver(() => {
              const t = document.querySelector('title');
              const last = window.titles[window.titles.length - 1];
              if (t && (!last || t.textContent !== last[0]))
                window.titles.push([t.textContent, performance.now()]);
            }).observe(document, {subtree: true, childList: true, characterData: true});"""})

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        cls.server.close()
        shutil.rmtree(cls.root, ignore_errors=True)

    # ---- helpers ----

    def site(self, name, maze=ROOM, textures=None, drop=()):
        """A folder served at URL/name/: the page, a maze1.dat and seven
        textures (plain ones unless given); names in `drop` left out."""
        folder = os.path.join(self.root, name)
        os.makedirs(folder)
        for f in PAGE_FILES:
            os.symlink(os.path.join(ARGS.site, f), os.path.join(folder, f))
        files = dict(plain_textures() if textures is None else textures)
        if maze is not None:
            files["maze1.dat"] = maze
        for f, data in files.items():
            if f not in drop:
                with open(os.path.join(folder, f), "wb") as out:
                    out.write(data)
        return folder

    def open(self, name, fragment=""):
        """Opens the folder's page and waits until it has drawn, or stopped with a message."""
        b = self.browser
        b.navigate(self.server.url + name + "/" + fragment)
        b.wait_for("window.mazePage && mazePage.state() && (mazePage.state().frames > 1"
                   " || !document.getElementById('message').hidden || document.getElementById('error').open)")

    def state(self):
        return self.browser.evaluate("mazePage.state()")

    def type(self, keys):
        """Types keys one at a time, each after the previous motion has ended."""
        for k in keys:
            self.browser.key(k)
            self.browser.wait_for("mazePage.state().movement === %d || !mazePage.state().running" % IDLE)

    def frames_pass(self, count=15):
        frames = self.state()["frames"]
        self.browser.wait_for("mazePage.state().frames >= %d" % (frames + count))

    def centre(self):
        _, _, rgb = self.browser.screenshot("#maze", (250, 250, 1, 1))
        return tuple(rgb[:3])

    def message(self):
        return self.browser.evaluate("document.getElementById('message').hidden ? null"
                                     " : document.getElementById('message-text').textContent")

    # ---- the tests ----

    def test_title_is_the_app_name_then_the_frame_rate_once_a_second(self):
        self.site("titles")
        self.open("titles")
        titles = self.browser.wait_for("window.titles.length >= 4 && window.titles", timeout=20)
        self.assertEqual(titles[0][0], "Maze: ")
        for text, _ in titles[1:]:
            self.assertRegex(text, TITLE_RE)
        # As on the desktop, whose clock reads past a second at start: the
        # first frame already shows a count of 1.
        self.assertEqual(titles[1][0], "Maze:  Current Frames Per Second: 1")
        # Rewritten once more than a second has passed since the last time
        # (seen here a moment after the page's own clock read it: 10 ms of slack).
        gaps = [b[1] - a[1] for a, b in zip(titles[1:], titles[2:])]
        self.assertTrue(all(g > 990 for g in gaps), titles)

    def test_frames_leave_no_gl_object_behind(self):
        # Every GL object the page holds has a slot in emscripten's tables,
        # which never give one back: a frame that made one (a fence, say)
        # would grow them for as long as the page runs.
        self.site("slots")
        self.open("slots")
        self.frames_pass(5)
        before = self.state()["glTableSlots"]
        self.frames_pass(100)
        self.assertEqual(self.state()["glTableSlots"], before)

    def test_walls_ahead_after_turns_steps_blocked_and_dropped_keys(self):
        self.site("walk")
        self.open("walk")
        b = self.browser
        self.assertTrue(near(self.centre(), PLAIN["r"]), self.centre())
        # Three quarter turns left, one at a time: the wall ahead changes colour each time.
        for wall, heading in (("g", 0), ("c", 3), ("b", 2)):
            self.type("a")
            s = self.state()
            self.assertEqual((s["heading"], s["column"], s["row"]), (heading, 1, 1))
            self.assertTrue(near(self.centre(), PLAIN[wall]), (wall, self.centre()))
        self.type("d")
        self.assertTrue(near(self.centre(), PLAIN["c"]), self.centre())
        self.type("aa")  # facing the r wall again
        self.assertEqual(self.state()["heading"], 1)

        # Keys are case-sensitive: W does nothing.
        b.key("W")
        self.frames_pass()
        self.assertEqual((self.state()["column"], self.state()["movement"]), (1, IDLE))

        # A key pressed while a step plays is dropped, not queued.
        b.key("w")
        b.key("d")
        b.wait_for("mazePage.state().movement === %d" % IDLE)
        self.frames_pass()
        s = self.state()
        self.assertEqual((s["column"], s["row"], s["heading"], s["movement"]), (2, 1, 1, IDLE))

        # One more step reaches the last open cell; the wall then blocks.
        self.type("w")
        self.assertEqual(self.state()["column"], 3)
        before = self.browser.screenshot("#maze")[2]
        self.type("w")
        self.frames_pass()
        self.assertEqual((self.state()["column"], self.state()["row"]), (3, 1))
        self.assertEqual(self.browser.screenshot("#maze")[2], before)

        # v and V cycle the field of view through 50, 150 and back to 100.
        fields = []
        for k in "vVv":
            b.key(k)
            fields.append(self.state()["fieldOfView"])
        self.assertEqual(fields, [50, 150, 100])

    def test_exit_from_a_random_maze_link_then_play_again(self):
        self.site("random")
        fragment = "#seed=77&width=11&height=9&exits=2"
        self.open("random", fragment)
        generated = subprocess.run([ARGS.mazetool, "generate", "--seed", "77", "--width", "11", "--height", "9",
                                    "--exits", "2"], check=True, capture_output=True, text=True).stdout
        self.assertEqual(self.browser.evaluate("mazePage.mazeText()"), generated)

        maze_file = os.path.join(self.root, "random.dat")
        with open(maze_file, "w") as f:
            f.write(generated)
        keys = subprocess.run([ARGS.mazetool, "solve", maze_file], check=True, capture_output=True,
                              text=True).stdout.strip()
        self.type(keys)
        self.browser.wait_for("!document.getElementById('message').hidden")
        self.assertEqual(self.message(), CONGRATULATIONS)
        self.assertIn(("log", CONGRATULATIONS), self.browser.console)
        self.assertFalse(self.state()["running"])
        # The loop has stopped: no frame is drawn any more.
        frames = self.state()["frames"]
        self.browser.evaluate("new Promise(r => setTimeout(r, 300))")
        self.assertEqual(self.state()["frames"], frames)

        self.browser.evaluate("document.getElementById('again').click()")
        self.browser.wait_for("mazePage.state().running")
        start = self.state()
        self.assertEqual((start["heading"], start["movement"]), (1, IDLE))
        self.assertTrue(self.browser.evaluate("document.getElementById('message').hidden"))

    def test_a_bad_random_maze_link_plays_maze1_with_a_message(self):
        self.site("badlink")
        self.open("badlink", "#seed=5&width=4")
        self.assertEqual(self.browser.evaluate("mazePage.mazeText()"), ROOM.decode())
        self.assertIn("width", self.browser.evaluate("document.getElementById('notice').textContent"))

    def test_random_button_writes_a_link_to_its_maze(self):
        self.site("button")
        self.open("button")
        self.browser.evaluate("document.getElementById('random').click()")
        fragment = self.browser.wait_for("location.hash.length > 1 && location.hash")
        self.assertRegex(fragment, r"^#seed=[0-9]+&width=32&height=32$")
        self.browser.wait_for("mazePage.mazeText().length === 33 * 32")
        seed = fragment.split("&")[0].split("=")[1]
        generated = subprocess.run([ARGS.mazetool, "generate", "--seed", seed], check=True,
                                   capture_output=True, text=True).stdout
        self.assertEqual(self.browser.evaluate("mazePage.mazeText()"), generated)

    def test_quit_keys_close_the_maze_and_it_starts_again(self):
        self.site("quit")
        for key in ("q", "Q", "Escape"):
            self.open("quit")
            self.browser.key(key)
            self.browser.wait_for("!document.getElementById('message').hidden")
            self.assertEqual(self.message(), "The maze was closed.")
            self.assertFalse(self.state()["running"])
        self.browser.evaluate("document.getElementById('again').click()")
        self.browser.wait_for("mazePage.state().running")

    def test_missing_maze_shows_the_line_and_draws_nothing(self):
        self.site("nomaze", maze=None)
        self.open("nomaze")
        self.assertEqual(self.message(), "maze1.dat can not be opened. Exiting program.")
        self.assertEqual(self.state()["frames"], 0)
        self.assertFalse(self.browser.evaluate("document.getElementById('error').open"))

    def test_missing_or_broken_texture_shows_the_loader_message_in_an_error_dialog(self):
        broken = bytearray(plain_bmp((1, 2, 3)))
        broken[14:18] = struct.pack("<I", 108)  # a newer header the loader does not read
        cases = (("notexture", {"drop": ("SteelBoxFan.bmp",)}, "Failed to open DIB file SteelBoxFan.bmp.\n"),
                 ("badtexture", {"textures": dict(plain_textures(), **{"pipeslights.bmp": bytes(broken)})},
                  "Unknown DIB file format."),
                 # Empty: as the desktop's file reader sees it, not a bitmap too short to decode.
                 ("emptytexture", {"textures": dict(plain_textures(), **{"metal004.bmp": b""})},
                  "Failed to open DIB file metal004.bmp.\n"))
        for name, layout, text in cases:
            self.site(name, **layout)
            self.open(name)
            b = self.browser
            self.assertTrue(b.evaluate("document.getElementById('error').open"), name)
            self.assertEqual(b.evaluate("document.getElementById('error-title').textContent"), "Error")
            self.assertEqual(b.evaluate("document.getElementById('error-text').textContent"), text)
            self.assertIn(("error", text), b.console)
            self.assertEqual(self.state()["frames"], 0)

    def test_a_maze_opened_through_the_file_input_or_dropped(self):
        self.site("picker")
        self.open("picker")
        mine = os.path.join(self.root, "mine.dat")
        with open(mine, "wb") as f:
            f.write(b"yyyyy\ny*  m\r\nyyyyy\n")  # CR LF read as the loader reads it
        with open(os.path.join(self.root, "room.dat"), "wb") as f:
            f.write(ROOM)
        too_big = os.path.join(self.root, "big.dat")
        with open(too_big, "wb") as f:
            f.write(b" " * (64 * 1024 + 1))
        b = self.browser
        node = b.call("DOM.querySelector", {"nodeId": b.call("DOM.getDocument")["root"]["nodeId"],
                                            "selector": "#maze-file"})["nodeId"]

        b.call("DOM.setFileInputFiles", {"nodeId": node, "files": [mine]})
        b.wait_for("mazePage.mazeText().startsWith('yyyyy')")
        self.frames_pass(3)
        self.assertTrue(near(self.centre(), PLAIN["m"]), self.centre())
        self.type("a")
        self.assertTrue(near(self.centre(), PLAIN["y"]), self.centre())

        # Too large: refused with a message, the current walk goes on (facing y).
        b.call("DOM.setFileInputFiles", {"nodeId": node, "files": [too_big]})
        b.wait_for("document.getElementById('notice').textContent.includes('too large')")
        self.assertTrue(self.state()["running"])
        self.assertEqual(self.state()["heading"], 0)
        self.assertTrue(b.evaluate("mazePage.mazeText().startsWith('yyyyy')"))

        # Dropped on the page: a folder is refused, a file starts a new walk.
        folder = os.path.join(self.root, "a-folder")
        os.mkdir(folder)
        self.drop(folder)
        b.wait_for("document.getElementById('notice').textContent.includes('folder')")
        self.assertTrue(b.evaluate("mazePage.mazeText().startsWith('yyyyy')"))
        self.drop(os.path.join(self.root, "room.dat"))
        b.wait_for("mazePage.mazeText().startsWith('ggggg')")
        self.assertEqual(self.state()["heading"], 1)

    def drop(self, path):
        for kind in ("dragEnter", "dragOver", "drop"):
            self.browser.call("Input.dispatchDragEvent", {"type": kind, "x": 100, "y": 100, "data": {
                "items": [], "files": [path], "dragOperationsMask": 1}})

    def shipped_site(self, name):
        """A folder with the shipped maze and textures; returns it and the maze's bytes."""
        textures = {}
        for texture in TEXTURE_FILES:
            with open(os.path.join(ARGS.site, texture), "rb") as f:
                textures[texture] = f.read()
        with open(os.path.join(ARGS.site, "maze1.dat"), "rb") as f:
            maze = f.read()
        return self.site(name, maze=maze, textures=textures), maze

    def test_starting_again_or_opening_a_maze_mid_step_is_a_fresh_start(self):
        folder, maze = self.shipped_site("fresh")
        b = self.browser
        # What a fresh page shows at its start, and after a step and a turn.
        self.open("fresh")
        self.frames_pass(2)
        fresh = [b.screenshot("#maze")[2]]
        self.type("wa")
        self.frames_pass(2)
        fresh.append(b.screenshot("#maze")[2])

        def expect_fresh(how):
            self.frames_pass(2)
            s = self.state()
            self.assertEqual((s["column"], s["row"], s["heading"], s["movement"]), (1, 1, 1, IDLE), how)
            self.assertEqual(b.screenshot("#maze")[2], fresh[0], how + ": the start")
            self.type("wa")
            self.frames_pass(2)
            self.assertEqual(b.screenshot("#maze")[2], fresh[1], how + ": after a step and a turn")

        # w, then q while the step plays, then "Start again".
        self.open("fresh")
        b.key("w")
        b.wait_for("mazePage.state().movement !== %d" % IDLE)
        b.key("q")
        b.wait_for("!document.getElementById('message').hidden")
        self.assertNotEqual(self.state()["column"], 2, "the quit came after the step had ended")
        b.evaluate("document.getElementById('again').click()")
        b.wait_for("mazePage.state().running")
        expect_fresh("started again mid-step")

        # The same maze opened through the file input while a step plays.
        mine = os.path.join(self.root, "fresh.dat")
        with open(mine, "wb") as f:
            f.write(maze)
        self.open("fresh")
        b.key("w")
        b.wait_for("mazePage.state().movement !== %d" % IDLE)
        node = b.call("DOM.querySelector", {"nodeId": b.call("DOM.getDocument")["root"]["nodeId"],
                                            "selector": "#maze-file"})["nodeId"]
        b.call("DOM.setFileInputFiles", {"nodeId": node, "files": [mine]})
        b.wait_for("document.getElementById('notice').textContent.includes('fresh.dat')")
        expect_fresh("opened mid-step")

    def test_web_picture_matches_the_desktop_picture(self):
        # The shipped maze and textures; poses along a walk, with all three fields of view.
        folder, _ = self.shipped_site("compare")
        poses = ["-", "w", "w", "d", "v", "v", "a", "v", "s"]
        out = os.path.join(self.root, "desktop")
        subprocess.run([ARGS.desktop_pictures, folder, out] + poses, check=True, stdout=subprocess.DEVNULL)

        self.open("compare")
        means, previous = [], None
        for i, keys in enumerate(poses):
            self.type(keys.strip("-"))
            self.frames_pass(2)
            w, h, web = self.browser.screenshot("#maze")
            with open("%s.%d.ppm" % (out, i), "rb") as f:
                desktop = f.read().split(b"\n", 3)[3]
            self.assertEqual((w, h, len(web)), (500, 500, len(desktop)))
            mean = sum(abs(a - b) for a, b in zip(web, desktop)) / len(web)
            means.append(round(mean, 3))
            if previous is not None:
                # Much nearer its own pose than the one before: a page that
                # did not follow the keys would fail here.
                other = sum(abs(a - b) for a, b in zip(web, previous)) / len(web)
                self.assertGreater(other, 3 * mean, "pose %d: %.3f from its own, %.3f from the last" % (i, mean, other))
            previous = desktop
        print("mean difference per channel at each pose:", means, file=sys.stderr)
        # Two renderers (Mesa llvmpipe, SwiftShader) round and pick mipmap levels a little differently.
        self.assertLessEqual(max(means), 2.0, means)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--mazetool", required=True)
    parser.add_argument("--desktop-pictures", required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.site = os.path.abspath(ARGS.site)
    missing = [f for f in PAGE_FILES if not os.path.isfile(os.path.join(ARGS.site, f))]
    if missing:
        sys.exit("web_test.py: %s has no built page (%s); build it first (scripts/test does, with the"
                 " web-test preset)" % (ARGS.site, ", ".join(missing)))
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
