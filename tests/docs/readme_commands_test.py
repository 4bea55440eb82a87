#!/usr/bin/env python3
"""The README stays true: every command in its shell blocks is run, either
here as written (the cheap ones that need no display, against the built
programs, in a copy of the run folder holding the README's example maze) or
by the test or CI script this file names for it. Its links point at files
that exist, and its package name carries the program's version.

  readme_commands_test.py BUILD_DIR
BUILD_DIR holds maze, mazetool, mazewalk and run/ (the shipped maze and
textures)."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
README = os.path.join(ROOT, "README.md")
BUILD = None  # set from the command line

RUN = "run here"


def elsewhere(path, text):
    """A command run by the test or CI script at PATH, which holds TEXT (the
    test's name, or the line that runs it)."""
    return (path, text)


# Each README command, by a full-match pattern, and where it is run.
COMMANDS = [
    (r"scripts/run", elsewhere("tests/install/install_after_run.sh", '"$root/scripts/run" --build-only')),
    (r"scripts/test", elsewhere(".ci/run", "bash scripts/test")),
    (r"scripts/web", elsewhere(".ci/run", "scripts/web --port 0")),
    (r"scripts/web --build-only", elsewhere("scripts/test", "scripts/web --build-only")),
    (r"maze", elsewhere("tests/e2e/startup_test.cpp", "TEST(Startup, WindowIs500By500AndItsTitleShowsTheFrameRateEverySecond)")),
    (r"maze small\.dat", elsewhere("tests/e2e/cli_install_test.cpp", "TEST(CommandLine, AMazeFileOperandOpensThatMazeOnceTheToolkitHasTakenItsOptions)")),
    (r"maze --demo", elsewhere("tests/e2e/demo_test.cpp", "TEST(Demo, WithoutAMazeFileWalksRandomMazesUntilAKeyEndsItWithCodeZero)")),
    (r"maze --(help|version)", RUN),
    (r"mazetool .*", RUN),
    (r"cmake --install build --prefix ~/\.local", elsewhere("tests/install/install_after_run.sh", 'cmake --install "$1" --prefix "$2"')),
    (r"scripts/package", elsewhere(".ci/run", "bash scripts/package")),
    (r"sudo apt install \./build-package/maze_[0-9.]+_amd64\.deb", elsewhere(".ci/run", "apt-get install -y")),
    (r"/usr/libexec/xscreensaver/mazewalk --window", elsewhere("tests/e2e/saver_test.cpp", "TEST(Saver, WindowOpensItsOwn500By500WhichQOrEscapeEnds)")),
    (r"/usr/libexec/xscreensaver/mazewalk --(help|version)", RUN),
]


def fenced_blocks(text):
    """The README's fenced blocks as (info string, lines)."""
    return [(m.group(1).strip(), m.group(2).splitlines())
            for m in re.finditer(r"^```([^\n`]*)\n(.*?)^```$", text, re.M | re.S)]


def shell_commands(text):
    """The commands of the shell blocks, in order, without their comments."""
    commands = []
    for info, lines in fenced_blocks(text):
        if info == "sh":
            commands += [c for c in (re.sub(r"\s+#\s.*$", "", line).strip() for line in lines) if c]
    return commands


def how_run(command):
    matches = [how for pattern, how in COMMANDS if re.fullmatch(pattern, command)]
    return matches[0] if matches else None


class ReadmeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(README, encoding="utf-8") as f:
            cls.text = f.read()
        cls.commands = shell_commands(cls.text)

    def test_every_command_is_run_by_a_test_or_ci(self):
        self.assertGreater(len(self.commands), 10)
        for command in self.commands:
            with self.subTest(command=command):
                how = how_run(command)
                self.assertIsNotNone(how, "no test or CI script runs this README command")
                if how != RUN:
                    path, text = how
                    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                        self.assertIn(text, f.read(), "%s no longer runs it" % path)
        # A row no README command uses is one the README dropped: drop it here too.
        for pattern, _ in COMMANDS:
            with self.subTest(pattern=pattern):
                self.assertTrue(any(re.fullmatch(pattern, c) for c in self.commands), "no README command matches")

    def test_the_cheap_commands_run_as_written(self):
        """In README order, in one folder: the example maze first, as the
        README has the reader save it."""
        examples = [lines for info, lines in fenced_blocks(self.text) if info == "text small.dat"]
        self.assertEqual(len(examples), 1, "the README's example maze (a ```text small.dat block)")
        with tempfile.TemporaryDirectory() as work:
            shutil.copytree(os.path.join(BUILD, "run"), work, dirs_exist_ok=True)
            with open(os.path.join(work, "small.dat"), "w", encoding="ascii") as f:
                f.write("\n".join(examples[0]) + "\n")
            env = dict(os.environ, PATH=BUILD + os.pathsep + os.environ.get("PATH", ""))
            ran = 0
            for command in self.commands:
                if how_run(command) != RUN:
                    continue
                with self.subTest(command=command):
                    # The package's mazewalk is the build's here.
                    line = re.sub(r"^/usr/libexec/xscreensaver/", "", command)
                    r = subprocess.run(["bash", "-c", "set -o pipefail; " + line], cwd=work, env=env,
                                       capture_output=True, text=True, timeout=120)
                    self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
                    out = re.search(r">\s*(\S+)$", command)
                    if out:
                        self.assertGreater(os.path.getsize(os.path.join(work, out.group(1))), 0)
                    if command == "mazetool check small.dat":
                        # The example shows a maze without a single trap.
                        self.assertEqual(r.stdout, "0 findings: playable\n")
                ran += 1
            self.assertGreaterEqual(ran, 8)

    def test_links_point_at_files_that_exist(self):
        links = re.findall(r"\]\(([^)#\s]+)\)", self.text)
        self.assertIn("docs/page.png", links)
        self.assertIn("docs/maze.png", links)
        for link in links:
            if not re.match(r"[a-z]+:", link):
                with self.subTest(link=link):
                    self.assertTrue(os.path.isfile(os.path.join(ROOT, link)))

    def test_the_package_is_named_with_the_programs_version(self):
        r = subprocess.run([os.path.join(BUILD, "maze"), "--version"], capture_output=True, text=True, timeout=60)
        version = r.stdout.split()[-1]
        packages = re.findall(r"maze_([^_\s]+)_amd64\.deb", self.text)
        self.assertTrue(packages)
        for found in packages:
            self.assertEqual(found, version)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: readme_commands_test.py BUILD_DIR")
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main()
