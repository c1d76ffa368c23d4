// Frame times of the tube load, the same loop on both sides; only the clock and the read-back
// (which waits for the frame to be drawn) differ.
#pragma once

#include <string>

struct TubeTiming {
    double (*now)();        // milliseconds
    void (*waitForFrame)(); // reads a pixel back
};

// "solid MS (calls MS) wire MS (calls MS)": each a mean over 20 frames after 3 unmeasured ones;
// "calls" is the time of the OpenGL calls alone, before the frame is waited for.
std::string timeTubeLoad(const TubeTiming& timing);
