// The demo's entry in the browser: the same start-up up to the track playing, then the frames
// drawn by the program's loop, which hands control back to the browser between frames.
#include <cstring>

#include "image/RenderScale.h"
#include "main/Timeline.h"
#include "web/BrowserLoop.h"
#include "web/FrameShots.h"

int main(int argc, char** argv) {
    // The page's test of frames at given times (index.html?at=T,T,...[&every]): no sound, no
    // loop.
    if (argc >= 3 && strcmp(argv[1], "--at") == 0) {
        FrameShots::run(argv[2], argc == 4 && strcmp(argv[3], "--every-frame") == 0);
        return 0;
    }
    // The page is a window of the picture's own size (scaled by the page, not by the demo);
    // full screen is the page's too.
    Timeline* timeline = new Timeline();
    timeline->startPlaying(RenderScale::WIDTH, RenderScale::HEIGHT, false);
    BrowserLoop::run(timeline);
    return 0;
}
