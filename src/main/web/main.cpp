// The demo's entry in the browser: the same start-up, then the frames drawn by the browser's
// main loop, one call a displayed frame, instead of a loop of the demo's own.
#include <GL/gl.h>
#include <emscripten.h>

#include <chrono>
#include <cstring>

#include "image/RenderScale.h"
#include "main/Timeline.h"
#include "main/web/FrameShots.h"

namespace {

Timeline* timeline = nullptr;
// The start-up wait runs in the browser's loop too: the sound is fed from the page's own
// timers, which never run while a call spins.
bool waiting = true;
std::chrono::steady_clock::time_point waitBegan;

// The page's view of the demo after each frame: the slot drawn, the timeline's seconds and the
// frames of the track heard so far (Module.onFrame, when the page has one).
void report(int slot) {
    EM_ASM(
        {
            if (Module['onFrame'])
                Module['onFrame']($0, $1, $2);
        },
        slot, static_cast<double>(timeline->timer->getElapsedTime()),
        static_cast<double>(timeline->music->audibleFrame()));
}

void frame() {
    if (waiting) {
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - waitBegan;
        if (!timeline->audioWaitOver(waited.count())) {
            return;
        }
        timeline->startClock();
        waiting = false;
    }
    Timer::update();
    timeline->window->process_events();
    const int slot = timeline->step();
    if (slot == Schedule::SLOT_COUNT) {
        timeline->window->quit(0);
    }
    report(slot);
    // The browser shows the canvas when this call returns: no swap of our own.
    glFlush();
}

} // namespace

int main(int argc, char** argv) {
    // The page's test of frames at given times (index.html?at=T,T,...): no sound, no loop.
    if (argc == 3 && strcmp(argv[1], "--at") == 0) {
        FrameShots::run(argv[2]);
        return 0;
    }
    // The page is a window of the picture's own size (scaled by the page, not by the demo);
    // full screen is the page's too.
    timeline = new Timeline();
    timeline->startPlaying(RenderScale::WIDTH, RenderScale::HEIGHT, false);
    waitBegan = std::chrono::steady_clock::now();
    // 0: at the display's own rate (requestAnimationFrame); the demo has no frame limiter.
    emscripten_set_main_loop(frame, 0, 1);
    return 0;
}
