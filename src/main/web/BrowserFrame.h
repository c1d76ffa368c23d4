// One frame of the demo in the page, the same whichever loop of the browser's calls it.
#pragma once

#include "main/Timeline.h"

class BrowserFrame {
  public:
    // Samples the tick, handles the keys and draws the timeline's frame, then tells the page
    // (Module.onFrame: the slot, the timeline's seconds, the track's frames heard). Past the
    // timeline's end it ends the demo, as the desktop's loop does.
    static void draw(Timeline* timeline);
};
