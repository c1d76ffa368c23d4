// The demo's own loop in the page, as on the desktop: a start-up wait and a frame loop that
// never return, each pass yielding to the browser until its next animation frame (ASYNCIFY
// unwinds the stack there and rewinds it on the frame).
#include "web/BrowserLoop.h"

#include "web/BrowserFrame.h"

// Returns at the browser's next animation frame, the page having run in between
// (asyncify/nextframe.js).
extern "C" void vq_next_frame();

void BrowserLoop::run(Timeline* timeline) {
    while (!timeline->audioStarted()) {
        vq_next_frame();
    }
    for (;;) {
        BrowserFrame::draw(timeline);
        vq_next_frame();
    }
}
