// The demo's page driven as a user would, in Chromium (DevTools) or Firefox (WebDriver BiDi)
// through puppeteer-core, or in WebKitGTK's MiniBrowser (W3C WebDriver) through
// selenium-webdriver behind the same few calls: one driver for the three engines.
//
// node page.mjs live BROWSER URL SECONDS DIR
//     Loads the page, clicks its start button unless the page started the demo itself (where
//     sound may start without a gesture), follows the page's state (vq) for SECONDS, takes
//     a screenshot (DIR/shot.png), presses f twice and Escape, and prints one JSON line: whether
//     the page started by itself or on the click, the states seen, the share of lit pixels in the picture's centre, full screen, the exit status
//     and the end screen, the sound's schedule, and the page's errors and warnings. What the page
//     handed to WebAudio in its first seconds goes to DIR/sound.raw (16-bit, interleaved).
// node page.mjs shots BROWSER URL DIR
//     The same for a page of test frames (URL ending in ?at=T,T,...): waits for the demo to end
//     and writes each frame as DIR/t-SSS.mmm.rgba (RGBA, rows bottom first: 800 x 600, or the
//     size the URL asks for with &size=WxH); reports the context's losses and restorations
//     (&lose=N: after the Nth frame) and the bytes the GL layer keeps to rebuild it.
// node page.mjs failed BROWSER URL DIR
//     Loads the page, clicks its start button and waits for the demo to end by itself (a start
//     that fails): prints its exit status and the end screen's text.
// node page.mjs phone chromium URL DIR
//     The page on a phone (Chromium's emulation: 390 x 844 CSS pixels, 3 device pixels each,
//     touch, a phone's user agent): taps its start button, swipes and double-taps beside the
//     picture, taps the picture twice (full screen on, then off), turns to landscape, and
//     prints one JSON line: how it started, the scroll and zoom after the gestures, full screen
//     after each tap, and per orientation the canvas's shown size and its drawing buffer.
// node page.mjs psnr CAPTURED SHOTS
//     The PSNR of each frame in SHOTS against the capture's PNG of the same name in CAPTURED,
//     one line each; status 1 when one is missing or below 30 dB.
// BROWSER is chromium (headless, WebGL on SwiftShader), firefox (Firefox ESR in a window on
// the DISPLAY given, WebGL on llvmpipe: headless Firefox has no WebGL here) or webkit
// (MiniBrowser in a window on the DISPLAY given, through WebKitWebDriver).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';
import selenium from 'selenium-webdriver';

const WIDTH = 800;
const HEIGHT = 600;
// What the sound check reads: the page's first seconds of sound.
const SOUND_SECONDS = 5;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// kind: chromium, chromium-autoplay (started as a party's machine starts it: sound may start
// without a gesture), chromium-nowebgl (a browser without WebGL), firefox or webkit.
export async function launch(kind, folder) {
    if (kind === 'webkit') {
        return WebKitBrowser.launch(folder);
    }
    const profile = path.join(folder, 'profile');
    fs.mkdirSync(profile, { recursive: true });
    if (kind === 'chromium' || kind === 'chromium-autoplay' || kind === 'chromium-nowebgl') {
        return puppeteer.launch({
            executablePath: '/usr/bin/chromium',
            headless: true,
            userDataDir: profile,
            args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                   '--no-first-run', '--disable-background-networking',
                   '--disable-component-update', '--disable-sync',
                   `--window-size=${WIDTH},${HEIGHT}`,
                   ...(kind === 'chromium-autoplay'
                       ? ['--autoplay-policy=no-user-gesture-required'] : []),
                   ...(kind === 'chromium-nowebgl' ? ['--disable-webgl'] : [])],
            defaultViewport: { width: WIDTH, height: HEIGHT, deviceScaleFactor: 1 },
            protocolTimeout: 300000,
        });
    }
    if (kind === 'firefox') {
        return puppeteer.launch({
            browser: 'firefox',
            executablePath: '/usr/bin/firefox-esr',
            headless: false,
            userDataDir: profile,
            args: [`--width=${WIDTH + 100}`, `--height=${HEIGHT + 200}`],
            defaultViewport: { width: WIDTH, height: HEIGHT, deviceScaleFactor: 1 },
            protocolTimeout: 300000,
            extraPrefsFirefox: {
                // No updates, studies or first-run pages; WebGL even on a software renderer.
                'app.update.enabled': false,
                'browser.shell.checkDefaultBrowser': false,
                'datareporting.policy.dataSubmissionEnabled': false,
                'webgl.force-enabled': true,
                // The page's full screen without the transition's pause.
                'full-screen-api.transition-duration.enter': '0 0',
                'full-screen-api.transition-duration.leave': '0 0',
                'full-screen-api.warning.timeout': 0,
            },
        });
    }
    throw new Error(`no browser ${kind}`);
}

// A free port on 127.0.0.1 for WebKitWebDriver, which takes one on its command line.
function freePort() {
    return new Promise((resolve, reject) => {
        const server = net.createServer();
        server.on('error', reject);
        server.listen(0, '127.0.0.1', () => {
            const { port } = server.address();
            server.close(() => resolve(port));
        });
    });
}

// Resolves once something listens on the port, or throws after the seconds given.
async function waitForPort(port, seconds, exited) {
    for (const end = performance.now() + seconds * 1000; performance.now() < end;) {
        if (exited()) {
            throw new Error('WebKitWebDriver ended before it listened');
        }
        const open = await new Promise((resolve) => {
            const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
            socket.on('error', () => resolve(false));
        });
        if (open) {
            return;
        }
        await sleep(100);
    }
    throw new Error(`WebKitWebDriver did not listen on port ${port}`);
}

// Console errors and warnings and unhandled rejections, kept in the page for the driver to read:
// plain WebDriver has no console. Installed once the page has loaded (WebDriver runs nothing
// before a page's own scripts): what fails earlier reaches vq.errors through the page's own
// error handler.
const CONSOLE_TAP = `
(function () {
  if (window.vqConsole) return;
  var kept = window.vqConsole = { errors: [], warnings: [] };
  ['error', 'warn'].forEach(function (level) {
    var original = console[level];
    console[level] = function () {
      var text = Array.prototype.map.call(arguments, String).join(' ');
      (level == 'error' ? kept.errors : kept.warnings).push(text);
      return original.apply(console, arguments);
    };
  });
  window.addEventListener('unhandledrejection', function (event) {
    kept.errors.push('unhandled rejection: ' + String(event.reason));
  });
})();
`;

// WebKitGTK's MiniBrowser driven through WebKitWebDriver by selenium-webdriver, behind the
// calls of puppeteer's that this driver makes: version and close of the browser; evaluate,
// mouse.click, keyboard.down and up and screenshot of its one page.
class WebKitPage {
    constructor(driver) {
        this.driver = driver;
        this.mouse = {
            click: (x, y) => driver.actions({ async: true })
                .move({ x: Math.round(x), y: Math.round(y), origin: selenium.Origin.VIEWPORT })
                .press().release().perform(),
        };
        const key = (name) => (name === 'Escape' ? selenium.Key.ESCAPE : name);
        this.keyboard = {
            down: (name) => driver.actions({ async: true }).keyDown(key(name)).perform(),
            up: (name) => driver.actions({ async: true }).keyUp(key(name)).perform(),
        };
    }

    // Script text as puppeteer takes it, statements or an expression, run in the page's global
    // scope (an indirect eval: its var statements make globals) for the value of its last
    // expression; a function's value is not sent back.
    evaluate(code) {
        return this.driver.executeScript(
            'var value = (0, eval)(arguments[0]);' +
            ' return typeof value == "function" ? null : value;', code);
    }

    async screenshot() {
        return Buffer.from(await this.driver.takeScreenshot(), 'base64');
    }
}

class WebKitBrowser {
    static async launch(folder) {
        const binary = ['/usr/lib/x86_64-linux-gnu', '/usr/lib/aarch64-linux-gnu', '/usr/lib']
            .map((lib) => path.join(lib, 'webkit2gtk-4.1', 'MiniBrowser'))
            .find((file) => fs.existsSync(file));
        if (!binary) {
            throw new Error('no MiniBrowser: scripts/setup installs webkit2gtk-driver');
        }
        const port = await freePort();
        // The driver starts MiniBrowser with its own environment: DISPLAY and the sound server.
        const log = fs.openSync(path.join(folder, 'webkitwebdriver.log'), 'w');
        const service = spawn('WebKitWebDriver', [`--port=${port}`, '--host=local'],
                              { stdio: ['ignore', log, log] });
        let exited = false;
        service.on('exit', () => { exited = true; });
        const browser = new WebKitBrowser(service);
        try {
            await waitForPort(port, 30, () => exited);
            browser.driver = await new selenium.Builder()
                .usingServer(`http://127.0.0.1:${port}`)
                .withCapabilities({
                    browserName: 'MiniBrowser',
                    'webkitgtk:browserOptions': { binary, args: ['--automation'] },
                })
                .build();
            // The test frames are drawn in one long task, which holds back every script.
            await browser.driver.manage().setTimeouts({ script: 600000, pageLoad: 120000 });
            browser.page = new WebKitPage(browser.driver);
        } catch (error) {
            await browser.close();
            throw error;
        }
        return browser;
    }

    constructor(service) {
        this.service = service;
        this.driver = null;
        this.page = null;
        // The messages openPage handed out, filled from the page's console tap at the close.
        this.messages = null;
    }

    async version() {
        const capabilities = await this.driver.getCapabilities();
        return `${capabilities.get('browserName')} ${capabilities.get('browserVersion')}`;
    }

    // The window sized so that its page is WIDTH x HEIGHT, whatever its toolbar takes.
    async fitPage() {
        const window = this.driver.manage().window();
        await window.setRect({ width: WIDTH, height: HEIGHT });
        const [width, height] = await this.page.evaluate('[innerWidth, innerHeight]');
        await window.setRect({ width: 2 * WIDTH - width, height: 2 * HEIGHT - height });
    }

    // Opens url, waits for it to load and to offer its button or start; returns as openPage.
    async open(url, firstScript) {
        await this.fitPage();
        const messages = (this.messages = { errors: [], warnings: [] });
        const loaded = performance.now();
        await this.driver.get(url);
        const end = loaded + 120000;
        while (!(await this.page.evaluate(
            "typeof vq == 'object' && vq.ready && (vq.started || vq.offered)"))) {
            if (performance.now() > end) {
                throw new Error('the page neither started nor offered its button');
            }
            await sleep(50);
        }
        const readyAfter = (performance.now() - loaded) / 1000;
        await this.page.evaluate(CONSOLE_TAP);
        if (firstScript) {
            await this.page.evaluate(firstScript);
        }
        return { page: this.page, messages, readyAfter };
    }

    async close() {
        try {
            if (this.driver && this.messages) {
                const kept = await this.page.evaluate('window.vqConsole || null').catch(() => null);
                if (kept) {
                    this.messages.errors.push(...kept.errors);
                    this.messages.warnings.push(...kept.warnings);
                }
            }
            if (this.driver) {
                await this.driver.quit();
            }
        } finally {
            this.service.kill();
        }
    }
}

// Every buffer the page hands to WebAudio: when it is to start, and for the first seconds its
// samples. SDL schedules each buffer where the last one ends, unless the queue ran dry: then it
// starts later, and the gap counts (vqGaps, in seconds). Installed before the page's own scripts,
// since the page may start the demo as soon as it has loaded.
const SOUND_TAP = `
(function () {
  // Globals of the page's: the driver may run this inside a function of its own.
  var vqSound = window.vqSound = { rate: 0, channels: 0, frames: 0, starts: [], chunks: [],
                                   context: null, end: -1 };
  window.vqGaps = [];
  var start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when) {
    var buffer = this.buffer;
    if (buffer) {
      when = when || 0;
      if (!vqSound.context) {
        vqSound.context = this.context;
      } else if (when > vqSound.end + 1e-6) {
        vqGaps.push(when - vqSound.end);
      }
      vqSound.end = when + buffer.length / buffer.sampleRate;
      vqSound.starts.push([when, buffer.length]);
    }
    if (buffer && vqSound.frames < ${SOUND_SECONDS} * buffer.sampleRate) {
      vqSound.rate = buffer.sampleRate;
      vqSound.channels = buffer.numberOfChannels;
      var channels = [];
      for (var c = 0; c < buffer.numberOfChannels; ++c) {
        channels.push(new Float32Array(buffer.getChannelData(c)));
      }
      vqSound.chunks.push(channels);
      vqSound.frames += buffer.length;
    }
    return start.apply(this, arguments);
  };
})();
`;

// The kept sound as interleaved 16-bit samples in base64 (SDL hands over 16-bit samples, which
// the page scales by 1 / 32768).
const SOUND_READ = `(() => {
  var out = new Int16Array(vqSound.frames * vqSound.channels), at = 0;
  vqSound.chunks.forEach(function (channels) {
    for (var i = 0; i < channels[0].length; ++i) {
      for (var c = 0; c < channels.length; ++c) {
        out[at++] = Math.max(-32768, Math.min(32767, Math.round(channels[c][i] * 32768)));
      }
    }
  });
  var bytes = new Uint8Array(out.buffer), text = '';
  for (var i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  }
  return JSON.stringify({ rate: vqSound.rate, channels: vqSound.channels,
                          starts: vqSound.starts.slice(0, vqSound.chunks.length),
                          samples: btoa(text) });
})()`;

// What the page has played at the demo's last frame, told from outside the demo by the browser's
// audio clock: from the first buffer's start on, less the gaps. vqPlayed sits beside the heard
// position that frame reported.
const CLOCK_PLAYED = `
var vqPlayed = -1;
var vqOnFrame = Module.onFrame;
Module.onFrame = function () {
  var gaps = vqGaps.reduce(function (sum, gap) { return sum + gap; }, 0);
  vqPlayed = vqSound.context
      ? (vqSound.context.currentTime - vqSound.starts[0][0] - gaps) * vqSound.rate : -1;
  return vqOnFrame.apply(this, arguments);
};
`;

// Opens url and waits for the demo to be ready and to have started or offered its button;
// returns the page, its messages and the seconds it took. Errors: script exceptions, console
// errors and requests that failed (in WebKit, where WebDriver runs no script before the page's,
// firstScript and the console's tap come once the page is ready: before the click, after a start
// by itself).
// A phone held upright: Chromium's emulation of its screen, touch and user agent.
const PHONE = {
    viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    userAgent: 'Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) ' +
        'Chrome/156.0.0.0 Mobile Safari/537.36',
};

export async function openPage(browser, url, firstScript, device) {
    if (browser instanceof WebKitBrowser) {
        return browser.open(url, firstScript);
    }
    const page = (await browser.pages())[0] || (await browser.newPage());
    const messages = { errors: [], warnings: [] };
    page.on('pageerror', (error) => messages.errors.push(String(error.message || error)));
    page.on('console', (message) => {
        if (message.type() === 'error') {
            messages.errors.push(message.text());
        } else if (message.type() === 'warn' || message.type() === 'warning') {
            messages.warnings.push(message.text());
        }
    });
    page.on('requestfailed', (request) => messages.errors.push(
        `request failed: ${request.url().slice(0, 200)} ${request.failure()?.errorText}`));
    if (device) {
        await page.emulate(device);
    } else {
        // The page 800 x 600 at one device pixel a pixel: the picture unscaled.
        await page.setViewport({ width: WIDTH, height: HEIGHT, deviceScaleFactor: 1 });
    }
    if (firstScript) {
        await page.evaluateOnNewDocument(firstScript);
    }
    // The page tells when it has started by itself or offered its button: until then nothing is
    // evaluated in it, since an evaluation counts as a gesture and would let the sound start.
    let decided;
    const decision = new Promise((resolve) => { decided = resolve; });
    await page.exposeFunction('vqStartDecided', () => decided());
    await page.evaluateOnNewDocument(`(function () {
      var poll = setInterval(function () {
        if (typeof vq == 'object' && vq.ready && (vq.started || vq.offered)) {
          clearInterval(poll);
          window.vqStartDecided();
        }
      }, 50);
    })();`);
    const loaded = performance.now();
    await page.goto(url, { waitUntil: 'load', timeout: 120000 });
    let timer;
    await Promise.race([decision, new Promise((resolve, reject) => {
        timer = setTimeout(() => reject(new Error('the page neither started nor offered its button')),
                           120000);
    })]);
    clearTimeout(timer);
    return { page, messages, readyAfter: (performance.now() - loaded) / 1000 };
}

// A click as a user's: a trusted gesture, so the browser lets the sound start. Returns the time
// before the click: the demo's start-up runs inside its handler and counts towards the first
// frame.
export async function clickStart(page) {
    const box = await page.evaluate(`(() => {
        const r = document.getElementById('play').getBoundingClientRect();
        return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
    const clicked = performance.now();
    await page.mouse.click(box[0], box[1]);
    return clicked;
}

// A key held for a few frames, as a user's: the demo reads its keys in its frames, and the page
// may enter full screen only while a key's gesture lasts.
async function press(page, key) {
    await page.keyboard.down(key);
    await sleep(200);
    await page.keyboard.up(key);
}

function decodePng(png) {
    const width = png.readUInt32BE(16);
    const height = png.readUInt32BE(20);
    const depth = png[24];
    const kind = png[25];
    if (depth !== 8 || (kind !== 2 && kind !== 6)) {
        throw new Error('not an 8-bit RGB or RGBA picture');
    }
    const parts = [];
    for (let at = 8; at < png.length;) {
        const length = png.readUInt32BE(at);
        if (png.toString('latin1', at + 4, at + 8) === 'IDAT') {
            parts.push(png.subarray(at + 8, at + 8 + length));
        }
        at += 12 + length;
    }
    const raw = zlib.inflateSync(Buffer.concat(parts));
    const step = kind === 6 ? 4 : 3;
    const stride = width * step;
    const rows = [];
    let previous = new Uint8Array(stride);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        const row = Uint8Array.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
        for (let i = 0; i < stride; ++i) {
            const a = i >= step ? row[i - step] : 0;
            const b = previous[i];
            const c = i >= step ? previous[i - step] : 0;
            let add = 0;
            if (filter === 1) add = a;
            else if (filter === 2) add = b;
            else if (filter === 3) add = (a + b) >> 1;
            else if (filter === 4) {
                const p = a + b - c;
                const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
                add = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            row[i] = (row[i] + add) & 255;
        }
        rows.push(row);
        previous = row;
    }
    return { width, height, step, rows };
}

// The share of pixels brighter than a dark grey in the middle of a PNG: half its width and height.
function litCentre(png) {
    const { width, height, step, rows } = decodePng(png);
    const [x0, y0, w, h] = [width >> 2, height >> 2, width >> 1, height >> 1];
    let lit = 0;
    for (let y = y0; y < y0 + h; ++y) {
        for (let x = x0; x < x0 + w; ++x) {
            const p = rows[y].subarray(x * step, x * step + 3);
            lit += Math.max(p[0], p[1], p[2]) > 40 ? 1 : 0;
        }
    }
    return lit / (w * h);
}

// PSNR in dB of the RGB of a bottom-first RGBA frame against a decoded PNG of its size.
function psnr(captured, shot) {
    const width = captured.width;
    const height = captured.height;
    if (shot.length !== width * height * 4) {
        throw new Error('frames of different sizes');
    }
    let total = 0;
    for (let y = 0; y < height; ++y) {
        const ours = (height - 1 - y) * width * 4;
        const theirs = captured.rows[y];
        for (let x = 0; x < width; ++x) {
            for (let c = 0; c < 3; ++c) {
                const d = shot[ours + x * 4 + c] - theirs[x * captured.step + c];
                total += d * d;
            }
        }
    }
    const mse = total / (width * height * 3);
    return mse === 0 ? Infinity : 10 * Math.log10(255 * 255 / mse);
}

function compare(capturedDir, shotsDir) {
    const names = fs.readdirSync(shotsDir).filter((n) => n.endsWith('.rgba')).sort();
    if (names.length === 0) {
        console.log('no frames from the page');
        return 1;
    }
    let failed = false;
    for (const name of names) {
        const png = path.join(capturedDir, name.slice(0, -5) + '.png');
        if (!fs.existsSync(png)) {
            console.log(`${name}: no captured frame`);
            return 1;
        }
        const value = psnr(decodePng(fs.readFileSync(png)),
                           fs.readFileSync(path.join(shotsDir, name)));
        failed = failed || !(value >= 30);
        console.log(`${name.slice(0, -5)} ${value.toFixed(2)} dB`);
    }
    return failed ? 1 : 0;
}

async function follow(page, report, seconds, folder) {
    await page.evaluate(CLOCK_PLAYED);
    // Where the browser lets sound start without a gesture the page starts the demo itself;
    // elsewhere it waits for its button.
    report.started_by = (await page.evaluate('vq.started')) ? 'itself' : 'click';
    const clicked = report.started_by === 'click' ? await clickStart(page) : performance.now();
    while (performance.now() - clicked < seconds * 1000) {
        const state = JSON.parse(await page.evaluate(
            'JSON.stringify(Object.assign({}, vq, {errors: undefined, shots: undefined,' +
            ' played: vqPlayed, gaps: vqGaps.length}))'));
        state.wall = Math.round(performance.now() - clicked) / 1000;
        report.states.push(state);
        await sleep(250);
    }
    const shot = Buffer.from(await page.screenshot({ type: 'png' }));
    fs.writeFileSync(path.join(folder, 'shot.png'), shot);
    // The picture's centre: 400 x 300 of the 800 x 600 window.
    report.lit_centre = Math.round(litCentre(shot) * 10000) / 10000;
    // f puts the page in full screen and takes it out again; the demo runs on meanwhile.
    report.full_screen = [];
    for (let i = 0; i < 2; ++i) {
        const frames = await page.evaluate('vq.frames');
        await press(page, 'f');
        const pressed = performance.now();
        const wanted = i === 0;
        while (performance.now() - pressed < 5000 &&
               ((await page.evaluate('document.fullscreenElement != null')) !== wanted ||
                (await page.evaluate('vq.frames')) < frames + 10)) {
            await sleep(100);
        }
        // Whether full screen, whether frames went on, and the picture's box in the window.
        report.full_screen.push(JSON.parse(await page.evaluate(`(() => {
            const r = document.getElementById('canvas').getBoundingClientRect();
            return JSON.stringify([document.fullscreenElement != null, vq.frames > ${frames},
                [r.x, r.y, r.width, r.height, innerWidth, innerHeight]]); })()`)));
    }
    // Escape ends the demo: the page shows its end screen with the exit status.
    await press(page, 'Escape');
    const pressed = performance.now();
    while ((await page.evaluate('vq.exitStatus')) === null && performance.now() - pressed < 5000) {
        await sleep(100);
    }
    report.exit_status = await page.evaluate('vq.exitStatus');
    report.sound_gaps = await page.evaluate('vqGaps');
    report.end_screen = await page.evaluate("!document.getElementById('end').hidden");
    const sound = JSON.parse(await page.evaluate(SOUND_READ));
    fs.writeFileSync(path.join(folder, 'sound.raw'), Buffer.from(sound.samples, 'base64'));
    report.sound = { rate: sound.rate, channels: sound.channels, starts: sound.starts };
}

async function takeShots(page, report, folder) {
    const clicked = await clickStart(page);
    // The frames are drawn in one long task, which holds back any question to the page.
    while ((await page.evaluate('vq.exitStatus')) === null) {
        if (performance.now() - clicked > 600000) {
            throw new Error('the test frames did not end');
        }
        await sleep(500);
    }
    report.drawn_in = Math.round(performance.now() - clicked) / 1000;
    report.exit_status = await page.evaluate('vq.exitStatus');
    const count = await page.evaluate('vq.shots.length');
    for (let i = 0; i < count; ++i) {
        const [seconds, pixels] =
            await page.evaluate(`[vq.shots[${i}].seconds, vq.shots[${i}].rgba]`);
        // The capture's name for the time.
        const name = `t-${seconds.toFixed(3).padStart(7, '0')}.rgba`;
        fs.writeFileSync(path.join(folder, name), Buffer.from(pixels, 'base64'));
    }
    report.shots = count;
    report.context = await page.evaluate('vq.context');
    report.kept_bytes = await page.evaluate('Module.glKeptBytes || 0');
    // Per frame: its time, then the milliseconds and the frames of the row that led to it.
    report.rows = await page.evaluate('vq.shots.map(s => [s.seconds, s.ms, s.frames])');
}

// The canvas's shown size in device pixels and its drawing buffer, and whether the page has
// scrolled or zoomed.
const PHONE_STATE = `(() => {
    const canvas = document.getElementById('canvas');
    const box = canvas.getBoundingClientRect();
    return { shown: [Math.round(box.width * devicePixelRatio),
                     Math.round(box.height * devicePixelRatio)],
             buffer: [canvas.width, canvas.height], scroll: [scrollX, scrollY],
             zoom: visualViewport.scale, frames: vq.frames,
             fullScreen: document.fullscreenElement !== null };
})()`;

async function phone(page, report) {
    const play = await page.evaluate(`(() => {
        const r = document.getElementById('play').getBoundingClientRect();
        return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
    await page.touchscreen.tap(play[0], play[1]);
    const tapped = performance.now();
    while ((await page.evaluate('vq.frames')) < 30) {
        if (performance.now() - tapped > 60000) {
            throw new Error('no frames within a minute of the tap');
        }
        await sleep(200);
    }
    report.started = await page.evaluate('vq.started');
    // Beside the picture, above it: a swipe up and a double tap, which would scroll or zoom a
    // page that let them.
    await page.touchscreen.touchStart(195, 120);
    await page.touchscreen.touchMove(195, 40);
    await page.touchscreen.touchEnd();
    await page.touchscreen.tap(195, 60);
    await sleep(100);
    await page.touchscreen.tap(195, 60);
    await sleep(500);
    report.portrait = await page.evaluate(PHONE_STATE);
    // The picture tapped: full screen, then back.
    report.full_screen = [];
    for (let i = 0; i < 2; ++i) {
        const centre = await page.evaluate(`(() => {
            const r = document.getElementById('canvas').getBoundingClientRect();
            return [r.x + r.width / 2, r.y + r.height / 2]; })()`);
        await page.touchscreen.tap(centre[0], centre[1]);
        await sleep(700);
        report.full_screen.push(await page.evaluate('document.fullscreenElement !== null'));
    }
    await page.setViewport({ ...PHONE.viewport, width: 844, height: 390, isLandscape: true });
    await sleep(1500);
    report.landscape = await page.evaluate(PHONE_STATE);
    report.exit_status = await page.evaluate('vq.exitStatus');
}

async function waitForFailure(page, report) {
    const clicked = await clickStart(page);
    while ((await page.evaluate('vq.exitStatus')) === null) {
        if (performance.now() - clicked > 30000) {
            throw new Error('the demo did not end within 30 s');
        }
        await sleep(100);
    }
    report.exit_status = await page.evaluate('vq.exitStatus');
    report.end_text = await page.evaluate("document.getElementById('end').innerText");
}

async function main() {
    const [mode, ...args] = process.argv.slice(2);
    if (mode === 'psnr') {
        process.exit(compare(args[0], args[1]));
    }
    const [kind, url] = args;
    const folder = args[args.length - 1];
    const browser = await launch(kind, folder);
    const report = { browser: await browser.version(), states: [] };
    let messages = { errors: [], warnings: [] };
    try {
        const opened = await openPage(browser, url, mode === 'live' ? SOUND_TAP : null,
                                      mode === 'phone' ? PHONE : null);
        messages = opened.messages;
        report.ready_after = Math.round(opened.readyAfter * 1000) / 1000;
        if (mode === 'live') {
            await follow(opened.page, report, Number(args[2]), folder);
        } else if (mode === 'failed') {
            await waitForFailure(opened.page, report);
        } else if (mode === 'phone') {
            await phone(opened.page, report);
        } else {
            await takeShots(opened.page, report, folder);
        }
        report.page_errors = await opened.page.evaluate('vq.errors');
    } finally {
        report.errors = messages.errors;
        report.warnings = messages.warnings;
        await browser.close();
    }
    console.log(JSON.stringify(report));
}

// Run as a command, not when a bench imports the driver.
if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    main().catch((error) => {
        console.error(error.stack || String(error));
        process.exit(1);
    });
}
