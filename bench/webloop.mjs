// One live run of the demo's page in headless Chromium, timed frame by frame (bench/webloop.sh).
//
// node bench/webloop.mjs URL SECONDS DIR
//     Loads the page, clicks its start button (unless the page started the demo itself), lets the
//     timeline run to SECONDS and prints one JSON line: the click to the first frame (ms) and to
//     the end of the start-up before it (null when the page started by itself); then,
//     over the frames of the timeline's [0, SECONDS), the frames drawn, their spacing (ms, from
//     one frame's end to the next's) and the time the browser spent in each animation-frame
//     callback that drew one (ms: the page's own work for the frame, whichever loop drew it),
//     both per slot too; the rates of the timeline and of the track heard against the wall clock;
//     the console's errors. The page is served by bench/webloop.py serve.
import { clickStart, launch, openPage } from '../tests/e2e/browser/page.mjs';

// Before the page's scripts: every animation-frame callback timed (Emscripten asks for them
// through the global requestAnimationFrame in both loops), the click's time taken ahead of the
// page's own handler, and each frame the demo reports stamped with the wall clock and with the
// work of the callback it was drawn in.
const PROBE = `
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
`;

// Once the page has made its Module: the demo's report of each frame goes through the probe too.
const HOOK = `
(function () {
  const page = Module.onFrame;
  Module.onFrame = function (slot, seconds, heard) {
    vqBench.onFrame(slot, seconds, heard);
    page(slot, seconds, heard);
  };
})();
`;

const round = (value, digits) => Math.round(value * 10 ** digits) / 10 ** digits;
const mean = (values) => values.reduce((a, b) => a + b, 0) / values.length;
const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// Frame count, mean and median spacing and work (ms) of frames [wall, slot, s, heard, work].
function summary(frames) {
    const gaps = frames.slice(1).map((f, i) => f[0] - frames[i][0]);
    const work = frames.map((f) => f[4]).filter((w) => w !== null);
    return {
        frames: frames.length,
        gap_mean: gaps.length ? round(mean(gaps), 2) : null,
        gap_median: gaps.length ? round(median(gaps), 2) : null,
        work_mean: work.length ? round(mean(work), 3) : null,
        work_median: work.length ? round(median(work), 3) : null,
    };
}

function rate(frames, index, scale) {
    const span = (frames[frames.length - 1][0] - frames[0][0]) / 1000;
    return span > 0 ? round((frames[frames.length - 1][index] - frames[0][index]) / scale / span, 4)
                    : null;
}

async function main() {
    const [url, secondsText, folder] = process.argv.slice(2);
    const seconds = Number(secondsText);
    const browser = await launch('chromium', folder);
    const report = {};
    let click, started, frames, messages = { errors: [] };
    try {
        const opened = await openPage(browser, url, PROBE);
        messages = opened.messages;
        report.ready_after = round(opened.readyAfter, 2);
        await opened.page.evaluate(HOOK);
        // Where sound may start without a gesture the page starts the demo itself, before the
        // click could be timed: then the start-up is not.
        report.started_by = (await opened.page.evaluate('vq.started')) ? 'itself' : 'click';
        const clicked =
            report.started_by === 'click' ? await clickStart(opened.page) : performance.now();
        // The timeline's seconds as the page last saw them; the demo's first frame is at 0.
        while (await opened.page.evaluate(`vq.frames == 0 || vq.seconds < ${seconds}`)) {
            if (performance.now() - clicked > (seconds * 4 + 60) * 1000) {
                throw new Error(`the timeline did not reach ${seconds} s`);
            }
            await new Promise((resolve) => setTimeout(resolve, 500));
        }
        [click, started, frames] = await opened.page.evaluate(
            '[vqBench.click, vqBench.started, vqBench.frames]');
        report.page_errors = await opened.page.evaluate('vq.errors');
        report.isolated = await opened.page.evaluate('self.crossOriginIsolated');
    } finally {
        report.errors = messages.errors;
        await browser.close();
    }
    const shown = frames.filter((f) => f[2] < seconds);
    const timed = report.started_by === 'click';
    report.first_frame_ms = timed ? round(frames[0][0] - click, 1) : null;
    // Of which the start-up up to the track playing, in the click's handler; the rest is the
    // wait for the first audible sound and the first frame.
    report.startup_ms = timed ? round(started - click, 1) : null;
    Object.assign(report, summary(shown));
    report.slots = {};
    for (const slot of [...new Set(shown.map((f) => f[1]))].sort((a, b) => a - b)) {
        report.slots[slot] = summary(shown.filter((f) => f[1] === slot));
    }
    report.timeline_rate = rate(shown, 2, 1);
    // The track from its first audible frame on (44100 frames a second).
    const heard = shown.filter((f) => f[3] > 0);
    report.track_rate = heard.length > 1 ? rate(heard, 3, 44100) : null;
    console.log(JSON.stringify(report));
}

main().catch((error) => {
    console.error(error.stack || String(error));
    process.exit(1);
});
