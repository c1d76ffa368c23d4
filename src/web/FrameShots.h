// Frames at given times on the frame grid, handed to the page: what the browser draws for the
// frames the capture tool writes with --silent --at.
#pragma once

class FrameShots {
  public:
    // Starts the demo on ManualTick with the track held before its first frame (every spectrum
    // zero), then draws the frame a run at 60 frames a second shows at each time (seconds,
    // comma separated), each slot's frames taken in a row from its first with the tools'
    // catch-up, or every frame of the row drawn (everyFrame: the frame times of a whole row).
    // The frames are width x height, the picture drawn through the render scale as the capture
    // tool's --size draws it. Each frame goes to the page's Module.onShot(seconds, pixels, ms,
    // frames): RGBA in base64, rows bottom first, with the milliseconds its row took and the
    // frames drawn. Times at or past the end are left out. Each frame is taken in a task of its
    // own, after this returns (the page may hold the next with Module.holdShots); the last ends
    // the runtime with status 0.
    static void run(const char* times, bool everyFrame, int width, int height);
};
