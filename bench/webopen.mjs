// One opening of a page of the demo's, timed by the page's own clock (bench/webopen.sh).
//
// node bench/webopen.mjs BROWSER URL DIR
//     Opens the page in a fresh browser (chromium, firefox or webkit, as tests/e2e/browser/page.mjs
//     launches them), clicks its start button as soon as it is offered and waits for the first
//     frame; prints one JSON line: from the page's opening to its button (or to its own start
//     where sound may start without a gesture), from the click to the first frame, and from the
//     opening to the first frame with the click at once (ms); the page's errors.
import { clickStart, launch, openPage } from '../tests/e2e/browser/page.mjs';

const round = (value) => Math.round(value * 10) / 10;

async function main() {
    const [kind, url, folder] = process.argv.slice(2);
    const browser = await launch(kind, folder);
    const report = { browser: await browser.version() };
    let messages = { errors: [] };
    try {
        const opened = await openPage(browser, url, null);
        messages = opened.messages;
        const page = opened.page;
        report.started_by = (await page.evaluate('vq.started')) ? 'itself' : 'click';
        if (report.started_by === 'click') {
            await clickStart(page);
        }
        const waited = performance.now();
        while ((await page.evaluate('vq.frames')) === 0) {
            if (performance.now() - waited > 60000) {
                throw new Error('no frame within 60 s of the start');
            }
            await new Promise((resolve) => setTimeout(resolve, 50));
        }
        const [ready, started, firstFrame] =
            await page.evaluate('[vq.times.ready, vq.times.started, vq.times.firstFrame]');
        report.ready_ms = round(ready);
        report.start_to_frame_ms = round(firstFrame - started);
        // The driver's click comes a poll after the button: the viewer's at once.
        report.first_frame_ms = round(ready + firstFrame - started);
        report.page_errors = await page.evaluate('vq.errors');
    } finally {
        report.errors = messages.errors;
        await browser.close();
    }
    console.log(JSON.stringify(report));
}

main().catch((error) => {
    console.error(error.stack || String(error));
    process.exit(1);
});
