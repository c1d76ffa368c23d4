// Which triangles and segments linear fog leaves unchanged, and when they may be drawn apart.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>
#include <vector>

#include "webgl/FogSkip.h"

namespace {

// Primitives given by their corners' depths in front of the eye (negative) or behind it.
std::vector<DrawVertex> corners(const std::vector<std::vector<float>>& primitives) {
    std::vector<DrawVertex> out;
    for (const std::vector<float>& depths : primitives) {
        for (float z : depths) {
            out.push_back({{0.0f, 0.0f, z}, {0.0f, 0.0f, z}, 0.0f, {255, 255, 255, 255}, {}});
        }
    }
    return out;
}

// Linear fog from start to end, the eye at the origin looking down -z.
DrawState fogged(float start, float end) {
    DrawState state = {};
    state.modelview = Matrix4::identity();
    state.projection = Matrix4::identity();
    state.fogMode = 1;
    state.fogStart = start;
    state.fogScale = 1.0f / (end - start);
    return state;
}

// The runs as "c" (clear) or "f" (fogged) with their vertex counts: "c3 f6".
std::string runs(const FogSkip& skip, const std::vector<DrawVertex>& primitives, int corners,
                 const DrawState& state) {
    std::vector<FogSkip::Run> out;
    skip.split(primitives, corners, state, out);
    std::string text;
    size_t next = 0;
    for (const FogSkip::Run& run : out) {
        EXPECT_EQ(run.first, next);
        next = run.first + run.count;
        text += (text.empty() ? "" : " ") + std::string(run.clear ? "c" : "f") +
                std::to_string(run.count);
    }
    return text;
}

TEST(FogSkipTest, FogLeavesTheseCornersUnchanged) {
    FogSkip skip;
    skip.capability(GL_DEPTH_TEST, true);
    // As in the tunnels: the fog's end nearer than its start, so only the unit by the eye is
    // fogged. A triangle at 3 units, one reaching into the fog, one with a corner behind the
    // eye (its distances all clear, but not those between), one from 4 to 6 units.
    const std::vector<DrawVertex> triangles = corners({{-3.0f, -3.0f, -3.0f},
                                                       {-3.0f, -3.0f, -0.5f},
                                                       {-2.0f, -2.0f, 2.0f},
                                                       {-4.0f, -5.0f, -6.0f}});
    const DrawState tunnel = fogged(1.0f, 0.5f);
    EXPECT_EQ(runs(skip, triangles, 3, tunnel), "c3 f6 c3");
    // Fog from 5 to 20 leaves the nearer ones as they are; the third's corner behind the eye
    // still keeps it fogged.
    EXPECT_EQ(runs(skip, triangles, 3, fogged(5.0f, 20.0f)), "c6 f6");

    // Likewise segments: one clear, one past the eye, one into the fog, and one from the fog's
    // start, where it leaves colours as they are, on.
    const std::vector<DrawVertex> segments =
        corners({{-2.0f, -3.0f}, {-2.0f, 2.0f}, {-3.0f, -0.5f}, {-1.0f, -9.0f}});
    EXPECT_EQ(runs(skip, segments, 2, tunnel), "c2 f4 c2");

    // Only where the depth test decides what stays may clear ones be drawn after the rest.
    skip.depthMask(false);
    EXPECT_EQ(runs(skip, segments, 2, tunnel), "f8");
    skip.depthMask(true);
    skip.capability(GL_BLEND, true);
    EXPECT_EQ(runs(skip, triangles, 3, tunnel), "f12");
    skip.capability(GL_BLEND, false);
    DrawState exponential = tunnel;
    exponential.fogMode = 2;
    EXPECT_EQ(runs(skip, triangles, 3, exponential), "f12");
    EXPECT_EQ(runs(skip, triangles, 3, tunnel), "c3 f6 c3"); // blending off again
}

} // namespace
