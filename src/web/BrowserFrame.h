// One frame of the demo in the page, the same whichever loop of the browser's calls it.
#pragma once

#include "main/Timeline.h"

class BrowserFrame {
  public:
    // The timeline's frame (the tick, the keys, the drawing, the end), then the page told
    // (Module.onFrame: the slot, the timeline's seconds, the track's frames heard).
    static void draw(Timeline* timeline);
};
