#!/usr/bin/env python3
"""The web page's figures, beside a minimal WebGL page measured in the same run.

  web_bench.py SITE [--rounds N] [--seconds S] [--warmup S]

One headless Chromium (SwiftShader, no GPU) with the frame-rate limit and
vertical sync off, serving SITE and bench/web_minimal.html on 127.0.0.1.
Rounds alternate between the two pages; the figures are medians:
  - frames per second: frames drawn over S seconds after S of warm-up,
    timed by the page's own clock;
  - page load to first frame: navigation start to the first drawn frame;
  - the total size of the page's files (at most 2 MB).
"""

import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
import cdp  # noqa: E402

LIMIT = 2 * 1000 * 1000


def measure(browser, url, counter, first, warmup, seconds):
    """(frames per second, load-to-first-frame ms) of one visit."""
    browser.navigate("about:blank")  # the last page's frames and context are gone before the clock starts
    browser.navigate(url)
    browser.wait_for("(%s) != null" % first, timeout=60)
    load = browser.evaluate(first)
    time.sleep(warmup)
    f0, t0 = browser.evaluate("[%s, performance.now()]" % counter)
    time.sleep(seconds)
    f1, t1 = browser.evaluate("[%s, performance.now()]" % counter)
    return (f1 - f0) * 1000.0 / (t1 - t0), load


def spread(values, fmt):
    return "[" + fmt % min(values) + " .. " + fmt % max(values) + "]"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=3)
    parser.add_argument("--warmup", type=float, default=1)
    o = parser.parse_args()

    root = tempfile.mkdtemp(prefix="maze-web-bench-")
    os.symlink(os.path.abspath(o.site), os.path.join(root, "site"))
    shutil.copy(os.path.join(HERE, "web_minimal.html"), os.path.join(root, "minimal.html"))
    server = cdp.Server(root)
    browser = cdp.Chromium(extra_flags=["--disable-frame-rate-limit", "--disable-gpu-vsync"])
    results = {"minimal": [], "maze": []}
    try:
        # One unmeasured visit each first: the browser's GPU process and shader caches start cold.
        measure(browser, server.url + "minimal.html", "minimal.frames", "(window.minimal ? minimal.firstFrameMs : null)",
                0, 0.5)
        measure(browser, server.url + "site/", "0", "window.mazePage ? mazePage.firstFrameMs : null", 0, 0.5)
        for _ in range(o.rounds):
            results["minimal"].append(measure(browser, server.url + "minimal.html", "minimal.frames",
                                              "(window.minimal ? minimal.firstFrameMs : null)", o.warmup, o.seconds))
            results["maze"].append(measure(browser, server.url + "site/",
                                           "(window.mazePage && mazePage.state() ? mazePage.state().frames : 0)",
                                           "window.mazePage ? mazePage.firstFrameMs : null", o.warmup, o.seconds))
    finally:
        browser.close()
        server.close()
        shutil.rmtree(root, ignore_errors=True)

    size = sum(os.path.getsize(os.path.join(o.site, f)) for f in os.listdir(o.site)
               if os.path.isfile(os.path.join(o.site, f)))
    fps = {k: [r[0] for r in v] for k, v in results.items()}
    load = {k: [r[1] for r in v] for k, v in results.items()}
    fps_ratio = [m / n for m, n in zip(fps["maze"], fps["minimal"])]
    print("Web page, 500x500 canvas, headless Chromium (WebGL 2 on SwiftShader), frame-rate limit and vsync off")
    print("  (frames over %.1f s after %.1f s of warm-up; median of %d alternating visits, range in brackets)"
          % (o.seconds, o.warmup, o.rounds))
    print("  minimal WebGL  %8.1f frames/s %s" % (statistics.median(fps["minimal"]), spread(fps["minimal"], "%.1f")))
    print("  maze page      %8.1f frames/s %s" % (statistics.median(fps["maze"]), spread(fps["maze"], "%.1f")))
    print("  maze/minimal   %8.3f          %s" % (statistics.median(fps_ratio), spread(fps_ratio, "%.3f")))
    print("Page load to first frame (navigation start to the first drawn frame, median)")
    print("  minimal WebGL  %8.1f ms       %s" % (statistics.median(load["minimal"]), spread(load["minimal"], "%.1f")))
    print("  maze page      %8.1f ms       %s" % (statistics.median(load["maze"]), spread(load["maze"], "%.1f")))
    print("Page files: %d bytes in %s (%s the 2 MB budget)"
          % (size, o.site, "within" if size <= LIMIT else "OVER"))
    return 0 if size <= LIMIT else 1


if __name__ == "__main__":
    sys.exit(main())
