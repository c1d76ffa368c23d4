// The demo's entry in the browser: the same start-up up to the track playing, then the frames
// drawn by the program's loop, which hands control back to the browser between frames.
#include <cstdio>
#include <cstring>

#include "image/RenderScale.h"
#include "main/Timeline.h"
#include "web/BrowserLoop.h"
#include "web/FrameShots.h"

int main(int argc, char** argv) {
    // The page's test of frames at given times (index.html?at=T,T,...[&every][&size=WxH]): no
    // sound, no loop.
    if (argc >= 3 && strcmp(argv[1], "--at") == 0) {
        bool everyFrame = false;
        int width = RenderScale::WIDTH;
        int height = RenderScale::HEIGHT;
        for (int i = 3; i < argc; ++i) {
            if (strcmp(argv[i], "--every-frame") == 0) {
                everyFrame = true;
            } else if (strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
                if (sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1) {
                    return 2;
                }
            }
        }
        // The frames are taken after this returns, each in a task of its own.
        FrameShots::run(argv[2], everyFrame, width, height);
        return 0;
    }
    // The window opens at the picture's own size; before each frame the drawing buffer follows
    // the canvas's shown size (CanvasSize). Full screen is the page's.
    Timeline* timeline = new Timeline();
    timeline->startPlaying(RenderScale::WIDTH, RenderScale::HEIGHT, false);
    BrowserLoop::run(timeline);
    return 0;
}
