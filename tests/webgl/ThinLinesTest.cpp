// One-pixel lines: the near plane's cut, segments that draw nothing, the desktop's end pixels.
#include <gtest/gtest.h>

#include <vector>

#include "webgl/ThinLines.h"

namespace {

const float VIEWPORT[4] = {0.0f, 0.0f, 100.0f, 100.0f};

DrawVertex end(float x, float y, float z) {
    return {{x, y, z}, {x, y, z}, 0.0f, {255, 255, 255, 255}, {0.0f, 0.0f}};
}

// The triangles of the segments, under the projection, in a 100 x 100 viewport.
std::vector<ThinLineVertex> build(const std::vector<DrawVertex>& ends, const Matrix4& projection) {
    std::vector<ThinLineVertex> out;
    ThinLines::build(ends.data(), ends.size(), Matrix4::identity(), projection, VIEWPORT, out);
    return out;
}

TEST(ThinLinesTest, TheNearPlaneCutsSegmentsThatCrossIt) {
    const Matrix4 projection = Matrix4::perspective(90.0, 1.0, 1.0, 100.0);
    // From 2 units ahead to 2 behind the eye: drawn from the far end to where it meets the
    // near plane, 1 unit ahead, at x 0.5 / 1 of the half-width from the centre.
    const std::vector<ThinLineVertex> cut =
        build({end(0.5f, 0.0f, -2.0f), end(0.5f, 0.0f, 2.0f)}, projection);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_NEAR(cut[0].line[0], 62.5f, 1.0f / 256.0f);
    EXPECT_NEAR(cut[0].line[2], 75.0f, 1.0f / 256.0f);
    EXPECT_EQ(cut[0].line[1], 50.0f);
    for (const ThinLineVertex& corner : cut) {
        EXPECT_GT(corner.clip[3], 0.0f);
    }
    // Wholly behind the near plane, or wholly beyond one side of the view: nothing.
    EXPECT_TRUE(build({end(0.0f, 0.0f, -0.5f), end(0.2f, 0.0f, 0.5f)}, projection).empty());
    EXPECT_TRUE(build({end(5.0f, 0.0f, -2.0f), end(9.0f, 1.0f, -3.0f)}, projection).empty());
}

TEST(ThinLinesTest, CentreToCentreDrawsTheFirstPixelAndNotTheLast) {
    const Matrix4 window = Matrix4::ortho(0.0, 100.0, 0.0, 100.0, -1.0, 1.0);
    const std::vector<ThinLineVertex> right =
        build({end(10.5f, 20.5f, 0.0f), end(20.5f, 20.5f, 0.0f)}, window);
    ASSERT_EQ(right.size(), 3u);
    EXPECT_EQ(right[0].span[0], 10.0f); // pixels 10 to 19, along x
    EXPECT_EQ(right[0].span[1], 20.0f);
    EXPECT_EQ(right[0].span[2], 1.0f);
    const std::vector<ThinLineVertex> left =
        build({end(20.5f, 20.5f, 0.0f), end(10.5f, 20.5f, 0.0f)}, window);
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].span[0], 21.0f); // pixels 20 down to 11
    EXPECT_EQ(left[0].span[1], 11.0f);
    // Along y, the same rule.
    const std::vector<ThinLineVertex> up =
        build({end(30.5f, 10.5f, 0.0f), end(31.5f, 20.5f, 0.0f)}, window);
    ASSERT_EQ(up.size(), 3u);
    EXPECT_EQ(up[0].span[0], 10.0f);
    EXPECT_EQ(up[0].span[1], 20.0f);
    EXPECT_EQ(up[0].span[2], 0.0f);
}

} // namespace
