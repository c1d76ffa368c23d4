// The timing loop of the tube load.
#include "TubeTiming.h"

#include <cstdio>

#include "TubeLoad.h"

std::string timeTubeLoad(const TubeTiming& timing) {
    const int warmUp = 3;
    const int frames = 20;
    std::string out;
    setUpTubeLoad();
    for (int wire = 0; wire < 2; ++wire) {
        double whole = 0.0;
        double calls = 0.0;
        for (int i = 0; i < warmUp + frames; ++i) {
            const double start = timing.now();
            drawTubeFrame(wire == 1);
            const double issued = timing.now();
            timing.waitForFrame();
            const double done = timing.now();
            if (i >= warmUp) {
                whole += done - start;
                calls += issued - start;
            }
        }
        char line[96];
        snprintf(line, sizeof(line), "%s%s %.1f ms (calls %.1f ms)", out.empty() ? "" : " ",
                 wire ? "wire" : "solid", whole / frames, calls / frames);
        out += line;
    }
    return out;
}
