// The browser's main loop drives the demo: each call is one displayed frame, at the display's
// rate, and returns to the page (the site's loop).
#include "web/BrowserLoop.h"

#include <emscripten.h>

#include "web/BrowserFrame.h"

namespace {

Timeline* timeline = nullptr;

void frame() {
    // The start-up wait is spread over the loop's calls too: a call that spun on it would keep
    // the page's timers, and so the sound, from ever running.
    if (timeline->audioStarted()) {
        BrowserFrame::draw(timeline);
    }
}

} // namespace

void BrowserLoop::run(Timeline* demo) {
    timeline = demo;
    // 0: at the display's own rate (requestAnimationFrame); the demo has no frame limiter.
    emscripten_set_main_loop(frame, 0, 1);
}
