// The browser's main loop drives the demo: each call is one displayed frame, at the display's
// rate, and returns to the page (the default loop of the browser build).
#include "main/web/BrowserLoop.h"

#include <emscripten.h>

#include <chrono>

#include "main/web/BrowserFrame.h"

namespace {

Timeline* timeline = nullptr;
// The start-up wait is spread over the loop's calls too: a call that spun on it would keep the
// page's timers, and so the sound, from ever running.
bool waiting = true;
std::chrono::steady_clock::time_point waitBegan;

void frame() {
    if (waiting) {
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - waitBegan;
        if (!timeline->audioWaitOver(waited.count())) {
            return;
        }
        timeline->startClock();
        waiting = false;
    }
    BrowserFrame::draw(timeline);
}

} // namespace

void BrowserLoop::run(Timeline* demo) {
    timeline = demo;
    waitBegan = std::chrono::steady_clock::now();
    // 0: at the display's own rate (requestAnimationFrame); the demo has no frame limiter.
    emscripten_set_main_loop(frame, 0, 1);
}
