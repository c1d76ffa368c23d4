// Strips, loops and incomplete last primitives of glBegin's modes, as OpenGL assembles them.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "webgl/PrimitiveAssembler.h"

namespace {

// Vertices numbered by their x, so that an output's order reads as the input's numbers.
std::vector<ImmediateVertex> numbered(int count) {
    std::vector<ImmediateVertex> in;
    for (int i = 0; i < count; ++i) {
        in.push_back({{static_cast<float>(i), 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f}});
    }
    return in;
}

// The numbers of the output's vertices, and for segments the number of each end's other end.
std::vector<int> order(unsigned mode, int count, bool others = false) {
    std::vector<DrawVertex> out;
    PrimitiveAssembler::assemble(mode, numbered(count), out);
    std::vector<int> numbers;
    for (const DrawVertex& v : out) {
        numbers.push_back(static_cast<int>(others ? v.other[0] : v.position[0]));
    }
    return numbers;
}

TEST(PrimitiveAssemblerTest, StripsLoopsAndIncompleteLastPrimitives) {
    EXPECT_EQ(order(GL_LINE_STRIP, 4), (std::vector<int>{0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(order(GL_LINE_STRIP, 4, true), (std::vector<int>{1, 0, 2, 1, 3, 2}));
    EXPECT_EQ(order(GL_LINE_LOOP, 3), (std::vector<int>{0, 1, 1, 2, 2, 0}));
    EXPECT_TRUE(order(GL_LINE_LOOP, 1).empty());
    EXPECT_TRUE(order(GL_LINE_STRIP, 1).empty());
    // A quad strip's quad k is drawn 2k, 2k+1, 2k+3, 2k+2, keeping the strip's winding.
    EXPECT_EQ(order(GL_QUAD_STRIP, 6), (std::vector<int>{0, 1, 3, 2, 2, 3, 5, 4}));
    // The vertices of a last primitive that is not whole are dropped.
    EXPECT_EQ(order(GL_QUAD_STRIP, 5), (std::vector<int>{0, 1, 3, 2}));
    EXPECT_EQ(order(GL_TRIANGLES, 7), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(order(GL_QUADS, 7), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(order(GL_LINES, 3), (std::vector<int>{0, 1}));
    EXPECT_EQ(order(GL_POINTS, 2), (std::vector<int>{0, 1}));

    // A mode the layer does not draw is refused, not drawn as something else.
    EXPECT_EQ(PrimitiveAssembler::kindOf(0x0009), PrimitiveAssembler::INVALID); // GL_POLYGON
}

} // namespace
