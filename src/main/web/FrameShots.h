// Frames at given times on the tools' frame grid, handed to the page: what the browser draws for
// the frames the capture tool writes with --silent --at.
#pragma once

class FrameShots {
  public:
    // Starts the demo on ManualTick with the track held before its first frame (every spectrum
    // zero), then draws the frame a run at 60 frames a second shows at each time (seconds,
    // comma separated, rising), each slot's frames in a row from its first, as the capture
    // does. Each frame goes to the page's Module.onShot(seconds, pixels, ms, frames): 800 x 600
    // RGBA in base64, rows bottom first, with the milliseconds and the frames its row took.
    // Times at or past the end are left out.
    static void run(const char* times);
};
