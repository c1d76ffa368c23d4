// The demo's frames in the page: the start-up wait for the first audible sound, then one frame
// of the timeline's for each frame the browser displays. Two programs, one loop each: the
// browser's main loop calling a frame function (BrowserLoop.cpp, the site's), or the demo's own
// loop yielding to the browser once a frame (asyncify/BrowserLoop.cpp).
#pragma once

#include "main/Timeline.h"

class BrowserLoop {
  public:
    // Takes over from start-up once the track plays (Timeline::startPlaying). Control goes
    // back to the page between frames, since the page's timers feed the sound; the demo ends
    // through SDLWindow::quit (Escape, or the timeline's end), never by a return from here.
    static void run(Timeline* timeline);
};
