#!/usr/bin/env python3
"""One live run of the demo's page in headless Chromium, timed frame by frame (bench/webloop.sh).

webloop.py serve DIR
    Serves DIR on a free port of 127.0.0.1 (printed first) as a cross-origin isolated page, so
    that the page's clock reads to 5 microseconds rather than 100.
webloop.py URL SECONDS DIR
    Loads the page, clicks its start button, lets the timeline run to SECONDS and prints one JSON
    line: the click to the first frame (ms) and to the end of the start-up before it; then, over
    the frames of the timeline's [0, SECONDS), the frames drawn, their spacing (ms, from one
    frame's end to the next's) and the time the browser spent in each animation-frame callback
    that drew one (ms: the page's own work for the frame, whichever loop drew it), both per slot
    too; the rates of the timeline and of the track heard against the wall clock; the console's
    errors.
"""
import functools
import http.server
import json
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from webpage import Chromium, click_start, console_lines, open_page  # noqa: E402

# Before the page's scripts: every animation-frame callback timed (Emscripten asks for them
# through the global requestAnimationFrame in both loops), the click's time taken ahead of the
# page's own handler, and each frame the demo reports stamped with the wall clock and with the
# work of the callback it was drawn in.
PROBE = r"""
window.vqBench = { click: null, started: null, frames: [] };
(function () {
  const raf = window.requestAnimationFrame.bind(window);
  let inFrame = null;
  window.requestAnimationFrame = function (callback) {
    return raf(function (stamp) {
      const began = performance.now();
      const drawn = [];
      inFrame = drawn;
      try {
        callback(stamp);
      } finally {
        inFrame = null;
        const work = performance.now() - began;
        for (const f of drawn) f.push(work);
      }
    });
  };
  // Before the page's own handler (capturing) and after it (bubbling): the start-up runs in it.
  window.addEventListener('click', function () { vqBench.click = performance.now(); }, true);
  window.addEventListener('click', function () { vqBench.started = performance.now(); }, false);
  vqBench.onFrame = function (slot, seconds, heard) {
    const f = [performance.now(), slot, seconds, heard];
    vqBench.frames.push(f);
    if (inFrame) inFrame.push(f); else f.push(null);
  };
})();
"""

# Once the page has made its Module: the demo's report of each frame goes through the probe too.
HOOK = r"""
(function () {
  const page = Module.onFrame;
  Module.onFrame = function (slot, seconds, heard) {
    vqBench.onFrame(slot, seconds, heard);
    page(slot, seconds, heard);
  };
})();
"""


def open_probed(browser, url):
    ready_after = open_page(browser, url, PROBE)
    browser.evaluate(HOOK)
    return ready_after


def summary(frames):
    """Frame count, mean and median spacing and work (ms) of frames [wall, slot, s, heard, work]."""
    gaps = [b[0] - a[0] for a, b in zip(frames, frames[1:])]
    work = [f[4] for f in frames if f[4] is not None]
    return {
        "frames": len(frames),
        "gap_mean": round(statistics.mean(gaps), 2) if gaps else None,
        "gap_median": round(statistics.median(gaps), 2) if gaps else None,
        "work_mean": round(statistics.mean(work), 3) if work else None,
        "work_median": round(statistics.median(work), 3) if work else None,
    }


def rate(frames, index, scale):
    span = (frames[-1][0] - frames[0][0]) / 1000.0
    return round((frames[-1][index] - frames[0][index]) / scale / span, 4) if span > 0 else None


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


def main():
    if sys.argv[1] == "serve":
        serve(sys.argv[2])
        return
    url, seconds, folder = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    os.makedirs(os.path.join(folder, "profile"), exist_ok=True)
    browser = Chromium(os.path.join(folder, "profile"))
    report = {}
    try:
        report["ready_after"] = round(open_probed(browser, url), 2)
        clicked = click_start(browser)
        # The timeline's seconds as the page last saw them; the demo's first frame is at 0.
        while browser.evaluate("vq.frames == 0 || vq.seconds < %f" % seconds):
            if time.monotonic() - clicked > seconds * 4 + 60:
                raise TimeoutError("the timeline did not reach %g s" % seconds)
            time.sleep(0.5)
        click, started, frames = browser.evaluate(
            "[vqBench.click, vqBench.started, vqBench.frames]")
        report["page_errors"] = browser.evaluate("vq.errors")
        report["isolated"] = browser.evaluate("self.crossOriginIsolated")
    finally:
        report["errors"], _ = console_lines(browser.events)
        browser.close()
    shown = [f for f in frames if f[2] < seconds]
    report["first_frame_ms"] = round(frames[0][0] - click, 1)
    # Of which the start-up up to the track playing, in the click's handler; the rest is the
    # wait for the first audible sound and the first frame.
    report["startup_ms"] = round(started - click, 1)
    report.update(summary(shown))
    report["slots"] = {}
    for slot in sorted(set(f[1] for f in shown)):
        report["slots"][slot] = summary([f for f in shown if f[1] == slot])
    report["timeline_rate"] = rate(shown, 2, 1.0)
    # The track from its first audible frame on (44100 frames a second).
    heard = [f for f in shown if f[3] > 0]
    report["track_rate"] = rate(heard, 3, 44100.0) if len(heard) > 1 else None
    print(json.dumps(report))


if __name__ == "__main__":
    main()
