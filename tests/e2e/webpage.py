#!/usr/bin/env python3
"""The demo's page in headless Chromium, driven over the DevTools pipe (no package needed).

webpage.py live URL SECONDS DIR
    Loads the page, clicks its start button as a user would, follows the page's state (vq) for
    SECONDS, takes a screenshot (DIR/shot.png), presses Escape and prints one JSON line: the
    states seen, the share of lit pixels in the picture's centre, the exit status and whether
    the end screen shows, and the console's errors and warnings.
webpage.py shots URL DIR
    The same for a page of test frames (URL ending in ?at=T,T,...): waits for the demo to end
    and writes each frame as DIR/t-SSS.mmm.rgba (800 x 600 RGBA, rows bottom first).
webpage.py psnr CAPTURED SHOTS
    The PSNR of each frame in SHOTS against the capture's PNG of the same name in CAPTURED,
    one line each; status 1 when one is missing or below 30 dB.
"""
import base64
import fcntl
import json
import math
import os
import struct
import subprocess
import sys
import time
import zlib


class Chromium:
    def __init__(self, profile):
        to_browser = os.pipe()
        from_browser = os.pipe()
        # The browser reads commands from fd 3 and writes answers to fd 4.
        keep_in = fcntl.fcntl(to_browser[0], fcntl.F_DUPFD_CLOEXEC, 10)
        keep_out = fcntl.fcntl(from_browser[1], fcntl.F_DUPFD_CLOEXEC, 10)

        def child():
            os.dup2(keep_in, 3)
            os.dup2(keep_out, 4)

        self.log = open(os.path.join(profile, "chromium.log"), "w")
        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--use-angle=swiftshader",
             "--enable-unsafe-swiftshader", "--remote-debugging-pipe", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--window-size=800,600", "--user-data-dir=" + profile, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log, close_fds=False,
            preexec_fn=child)
        for fd in (to_browser[0], from_browser[1], keep_in, keep_out):
            os.close(fd)
        self.send_fd = to_browser[1]
        self.recv_fd = from_browser[0]
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None

    def close(self):
        self.proc.kill()
        self.proc.wait()
        self.log.close()

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            if time.monotonic() > deadline:
                raise TimeoutError("no answer from the browser")
            chunk = os.read(self.recv_fd, 1 << 20)
            if not chunk:
                raise EOFError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=True, timeout=30.0):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.send_fd, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read_message(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer["result"]
            self.events.append(answer)

    def evaluate(self, expression, timeout=30.0):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True},
                           timeout=timeout)
        return result["result"].get("value")


def console_lines(events):
    """The page's errors and warnings, from script exceptions, console calls and the log."""
    errors, warnings = [], []
    for event in events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            errors.append(details.get("exception", {}).get("description") or details["text"])
        elif method == "Runtime.consoleAPICalled" and params["type"] in ("error", "warning"):
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            (errors if params["type"] == "error" else warnings).append(text)
        elif method == "Log.entryAdded" and params["entry"]["level"] in ("error", "warning"):
            entry = params["entry"]
            (errors if entry["level"] == "error" else warnings).append(entry["text"])
    return errors, warnings


def decode_png(png):
    """Width, height, bytes a pixel and the rows, top first, of an 8-bit RGB or RGBA PNG."""
    width, height, depth, kind = struct.unpack(">IIBB", png[16:26])
    assert depth == 8 and kind in (2, 6), "an 8-bit RGB or RGBA picture"
    data, at = b"", 8
    while at < len(png):
        length, tag = struct.unpack(">I4s", png[at:at + 8])
        if tag == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(data)
    step = 4 if kind == 6 else 3
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind_of_filter, row = line[0], bytearray(line[1:])
        for i in range(stride) if kind_of_filter else ():
            a = row[i - step] if i >= step else 0
            b = previous[i]
            c = previous[i - step] if i >= step else 0
            if kind_of_filter == 1:
                row[i] = (row[i] + a) & 255
            elif kind_of_filter == 2:
                row[i] = (row[i] + b) & 255
            elif kind_of_filter == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif kind_of_filter == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(row)
        previous = row
    return width, height, step, rows


def lit_share(png, box):
    """The share of pixels brighter than a dark grey in box (x, y, w, h) of a PNG."""
    _, _, step, rows = decode_png(png)
    x0, y0, w, h = box
    lit = sum(1 for y in range(y0, y0 + h) for x in range(x0, x0 + w)
              if max(rows[y][x * step:x * step + 3]) > 40)
    return lit / float(w * h)


def psnr(captured, shot, width, height):
    """PSNR in dB of the RGB of a bottom-first RGBA frame against a decoded PNG."""
    cw, ch, step, rows = captured
    assert (cw, ch) == (width, height), "frames of one size"
    total = 0
    for y in range(height):
        ours = shot[(height - 1 - y) * width * 4:(height - y) * width * 4]
        theirs = rows[y]
        total += sum((ours[x * 4 + c] - theirs[x * step + c]) ** 2
                     for x in range(width) for c in range(3))
    mse = total / float(width * height * 3)
    return float("inf") if mse == 0 else 10.0 * math.log10(255.0 ** 2 / mse)


def compare(captured_dir, shots_dir):
    failed = False
    names = sorted(n for n in os.listdir(shots_dir) if n.endswith(".rgba"))
    if not names:
        print("no frames from the page")
        return 1
    for name in names:
        png = os.path.join(captured_dir, name[:-5] + ".png")
        if not os.path.exists(png):
            print("%s: no captured frame" % name)
            return 1
        with open(png, "rb") as f:
            captured = decode_png(f.read())
        with open(os.path.join(shots_dir, name), "rb") as f:
            value = psnr(captured, f.read(), 800, 600)
        failed = failed or value < 30.0
        print("%s %.2f dB" % (name[:-5], value))
    return 1 if failed else 0


def open_page(browser, url, first_script=None):
    """Opens url in the browser's page and waits for the demo to be ready; seconds it took.
    first_script, if given, runs in the page before any of the page's own."""
    targets = browser.call("Target.getTargets", session=False)["targetInfos"]
    page = next(t for t in targets if t["type"] == "page")
    browser.session = browser.call("Target.attachToTarget",
                                   {"targetId": page["targetId"], "flatten": True},
                                   session=False)["sessionId"]
    for domain in ("Runtime", "Log", "Page"):
        browser.call(domain + ".enable")
    # The page 800 x 600 at one device pixel a pixel: the picture unscaled.
    browser.call("Emulation.setDeviceMetricsOverride",
                 {"width": 800, "height": 600, "deviceScaleFactor": 1, "mobile": False})
    if first_script:
        browser.call("Page.addScriptToEvaluateOnNewDocument", {"source": first_script})
    loaded = time.monotonic()
    browser.call("Page.navigate", {"url": url})
    while not browser.evaluate("typeof vq == 'object' && vq.ready"):
        if time.monotonic() - loaded > 60:
            raise TimeoutError("the page did not become ready")
        time.sleep(0.1)
    return time.monotonic() - loaded


def click_start(browser):
    """A click as a user's: a trusted gesture, so the browser lets the sound start. Returns the
    time before the click: the demo's start-up runs inside its handler, which the dispatch
    waits for, and counts towards the first frame."""
    x, y = browser.evaluate(
        "(() => { const r = document.getElementById('play').getBoundingClientRect();"
        " return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    clicked = time.monotonic()
    for kind in ("mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent",
                     {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
    return clicked


def press(browser, key, code, keycode):
    """A key pressed and let go, as a user's: held for a few frames, since the demo reads its
    keys in its frames and the page may enter full screen only while a key's gesture lasts."""
    for kind in ("keyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent",
                     {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": keycode,
                      "nativeVirtualKeyCode": keycode})
        time.sleep(0.2 if kind == "keyDown" else 0)


# What the page has played at the demo's last frame, told from outside the demo by the browser's
# audio clock: SDL schedules its first buffer a fixed delay after handing it over and each next
# one where the last ends, unless the queue ran dry: then the new one starts that delay from now,
# and the gap counts (vqGaps, in seconds). vqPlayed sits beside the heard position that frame
# reported.
CLOCK_PLAYED = """
var vqStart = -1, vqGaps = [], vqPlayed = -1;
(function () {
  var audio;
  Object.defineProperty(SDL, 'audio', { configurable: true, get: function () { return audio; },
    set: function (value) {
      audio = value;
      if (!value) return;
      var push;
      Object.defineProperty(value, 'pushAudio', { configurable: true,
        get: function () { return push; },
        set: function (f) {
          push = function () {
            var begins = SDL.audioContext.currentTime + value.bufferingDelay;
            if (vqStart < 0) vqStart = begins;
            else if (begins > value.nextPlayTime) vqGaps.push(begins - value.nextPlayTime);
            return f.apply(this, arguments);
          };
        } });
    } });
})();
var vqOnFrame = Module.onFrame;
Module.onFrame = function () {
  var gaps = vqGaps.reduce(function (sum, gap) { return sum + gap; }, 0);
  vqPlayed = vqStart < 0 ? -1 : (SDL.audioContext.currentTime - vqStart - gaps) * SDL.audio.freq;
  return vqOnFrame.apply(this, arguments);
};
"""


def follow(browser, report, seconds, folder):
    browser.evaluate(CLOCK_PLAYED)
    clicked = click_start(browser)
    while time.monotonic() - clicked < seconds:
        state = json.loads(browser.evaluate(
            "JSON.stringify(Object.assign({}, vq, {errors: undefined, shots: undefined,"
            " played: vqPlayed, gaps: vqGaps.length}))"))
        state["wall"] = round(time.monotonic() - clicked, 3)
        report["states"].append(state)
        time.sleep(0.25)
    shot = base64.b64decode(browser.call("Page.captureScreenshot", {"format": "png"})["data"])
    with open(os.path.join(folder, "shot.png"), "wb") as f:
        f.write(shot)
    # The picture's centre: 400 x 300 of the 800 x 600 window.
    report["lit_centre"] = round(lit_share(shot, (200, 150, 400, 300)), 4)
    # f puts the page in full screen and takes it out again; the demo runs on meanwhile.
    report["full_screen"] = []
    for _ in range(2):
        frames = browser.evaluate("vq.frames")
        press(browser, "f", "KeyF", 70)
        pressed = time.monotonic()
        wanted = not report["full_screen"]
        while time.monotonic() - pressed < 5 and (
                browser.evaluate("document.fullscreenElement != null") != wanted
                or browser.evaluate("vq.frames") < frames + 10):
            time.sleep(0.1)
        # Whether full screen, whether frames went on, and the picture's box in the window.
        report["full_screen"].append(json.loads(browser.evaluate(
            "(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
            " return JSON.stringify([document.fullscreenElement != null, vq.frames > %d,"
            " [r.x, r.y, r.width, r.height, innerWidth, innerHeight]]); })()" % frames)))
    # Escape ends the demo: the page shows its end screen with the exit status.
    press(browser, "Escape", "Escape", 27)
    pressed = time.monotonic()
    while browser.evaluate("vq.exitStatus") is None and time.monotonic() - pressed < 5:
        time.sleep(0.1)
    report["exit_status"] = browser.evaluate("vq.exitStatus")
    report["sound_gaps"] = browser.evaluate("vqGaps")
    report["end_screen"] = browser.evaluate("!document.getElementById('end').hidden")


def take_shots(browser, report, folder):
    clicked = click_start(browser)
    # The frames are drawn in one long task, which holds back any question to the page.
    while browser.evaluate("vq.exitStatus", timeout=300.0) is None:
        if time.monotonic() - clicked > 300:
            raise TimeoutError("the test frames did not end")
        time.sleep(0.5)
    report["drawn_in"] = round(time.monotonic() - clicked, 2)
    report["exit_status"] = browser.evaluate("vq.exitStatus")
    count = browser.evaluate("vq.shots.length")
    for i in range(count):
        seconds, pixels = browser.evaluate("[vq.shots[%d].seconds, vq.shots[%d].rgba]" % (i, i))
        name = "t-%07.3f.rgba" % seconds  # the capture's name for the time
        with open(os.path.join(folder, name), "wb") as f:
            f.write(base64.b64decode(pixels))
    report["shots"] = count
    # Per frame: its time, then the milliseconds and the frames of the row that led to it.
    report["rows"] = browser.evaluate("vq.shots.map(s => [s.seconds, s.ms, s.frames])")


def main():
    mode = sys.argv[1]
    if mode == "psnr":
        sys.exit(compare(sys.argv[2], sys.argv[3]))
    url, folder = sys.argv[2], sys.argv[-1]
    os.makedirs(os.path.join(folder, "profile"), exist_ok=True)
    browser = Chromium(os.path.join(folder, "profile"))
    report = {"states": []}
    try:
        report["ready_after"] = open_page(browser, url)
        if mode == "live":
            follow(browser, report, float(sys.argv[3]), folder)
        else:
            take_shots(browser, report, folder)
        report["page_errors"] = browser.evaluate("vq.errors")
    finally:
        report["errors"], report["warnings"] = console_lines(browser.events)
        browser.close()
    print(json.dumps(report))


if __name__ == "__main__":
    main()
