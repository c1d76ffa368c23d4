// Which primitives of a batch lie wholly where linear fog leaves the colour as it is.
#include "FogSkip.h"

#include <GL/gl.h>

#include <cmath>

FogSkip::FogSkip() : depthTest(false), depthWrites(true), blending(false) {}

void FogSkip::capability(unsigned cap, bool on) {
    if (cap == GL_DEPTH_TEST) {
        depthTest = on;
    } else if (cap == GL_BLEND) {
        blending = on;
    }
}

void FogSkip::depthMask(bool on) {
    depthWrites = on;
}

void FogSkip::split(const std::vector<DrawVertex>& primitives, int corners, const DrawState& state,
                    std::vector<Run>& runs) const {
    runs.clear();
    if (state.fogMode != 1 || !depthTest || !depthWrites || blending) {
        runs.push_back({0, primitives.size(), false});
        return;
    }
    // Linear fog's factor, 1 - (distance - start) * scale, clamps to 1 (the colour as it is) on
    // one side of its start: from the eye to the start, or from the start on when the fog's end
    // is nearer than its start.
    const float nearest = state.fogScale > 0.0f ? 0.0f : state.fogStart;
    const float farthest = state.fogScale > 0.0f ? state.fogStart : INFINITY;
    const float* m = state.modelview.m;
    // 0 where fog changes the colour, else the side of the eye, 1 ahead or 2 behind.
    const auto side = [m, nearest, farthest](const DrawVertex& v) {
        const float* p = v.position;
        const float z = m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14];
        const float distance = std::fabs(z);
        return distance < nearest || distance > farthest ? 0 : (z < 0.0f ? 1 : 2);
    };
    // Eye depth is linear over a primitive: on one side of the eye, its distances lie between
    // the corners'.
    const size_t step = static_cast<size_t>(corners);
    for (size_t i = 0; i + step <= primitives.size(); i += step) {
        const int first = side(primitives[i]);
        bool clear = first != 0;
        for (size_t k = 1; k < step && clear; ++k) {
            clear = side(primitives[i + k]) == first;
        }
        if (runs.empty() || runs.back().clear != clear) {
            runs.push_back({i, 0, clear});
        }
        runs.back().count += step;
    }
}
