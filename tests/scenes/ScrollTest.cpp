// The scroller's glyph table, its motion and restart, and the quads it draws.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "scenes/Scroll.h"
#include "support/GLTest.h"

namespace {

const float CELL = 1.0f / 13.0f;

// Expects the rectangle (s0..s1) x (t0..t1), corners counter-clockwise from the lower-left.
void expectRect(const Scroll& scroll, int code, float s0, float s1, float t0, float t1) {
    SCOPED_TRACE(testing::Message() << "byte " << code);
    const UVrect& r = scroll.charUV[code];
    const float want[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(r.corners[c].x, want[c][0], 1e-6f) << "corner " << c;
        EXPECT_NEAR(r.corners[c].y, want[c][1], 1e-6f) << "corner " << c;
    }
}

void expectCell(const Scroll& scroll, int code, int column, int row) {
    expectRect(scroll, code, column * CELL, (column + 1) * CELL, row * 0.25f, (row + 1) * 0.25f);
}

// x of glyph k of the text, wherever the scroll stands.
float glyphX(const Scroll& scroll, int k) {
    return static_cast<float>(k - scroll.firstChar) * 36.0f + scroll.scrollX;
}

} // namespace

TEST(Scroll, GlyphTableFollowsTheSheetLayout) {
    Scroll scroll;
    // Letters sit past s = 5 and are brought back by the repeat wrap; a small inset on the left.
    expectRect(scroll, 'A', 65.0f / 13.0f + 0.0018f, 66.0f / 13.0f, 0.75f, 1.0f);
    expectRect(scroll, 'M', 77.0f / 13.0f + 0.0018f, 78.0f / 13.0f, 0.75f, 1.0f);
    expectRect(scroll, 'N', 78.0f / 13.0f + 0.0018f, 79.0f / 13.0f, 0.5f, 0.75f);
    expectRect(scroll, 'Z', 90.0f / 13.0f + 0.0018f, 91.0f / 13.0f, 0.5f, 0.75f);
    // Wrapped into the sheet, A and N are column 0, M and Z column 12.
    EXPECT_NEAR(scroll.charUV['A'].corners[0].x - 5.0f, 0.0018f, 1e-5f);
    EXPECT_NEAR(scroll.charUV['Z'].corners[1].x - 7.0f, 0.0f, 1e-5f);

    expectCell(scroll, '0', 0, 1);
    expectCell(scroll, '5', 5, 1);
    expectCell(scroll, '9', 9, 1);

    expectCell(scroll, '"', 0, 0);
    expectCell(scroll, '(', 1, 0);
    expectCell(scroll, ')', 2, 0);
    expectCell(scroll, ',', 3, 0);
    expectCell(scroll, '-', 4, 0);
    expectCell(scroll, '.', 5, 0);
    expectCell(scroll, '\'', 6, 0);
    expectCell(scroll, ' ', 8, 0);
    expectCell(scroll, ':', 10, 1);
    expectCell(scroll, '!', 11, 1);
    expectCell(scroll, '?', 12, 1);

    // Everything else, lower case and high bytes included, shows the question mark.
    const char others[] = {'a', 'm', 'z', '#', '/', ';', '@', '[', '`', '~'};
    for (char c : others) {
        expectCell(scroll, static_cast<unsigned char>(c), 12, 1);
    }
    for (int code : {0, 1, 31, 127, 128, 200, 255}) {
        expectCell(scroll, code, 12, 1);
    }
}

TEST(Scroll, TextIsCopiedAndReplaced) {
    Scroll scroll;
    char source[] = "HELLO";
    scroll.setText(source);
    source[0] = 'J'; // the scroller keeps its own copy
    ASSERT_NE(scroll.text, nullptr);
    EXPECT_STREQ(scroll.text, "HELLO");
    EXPECT_EQ(scroll.textLength, 5);
    // The first text enters at the right edge.
    EXPECT_EQ(scroll.scrollX, 800.0f);
    EXPECT_EQ(scroll.firstChar, 0);

    for (int i = 0; i < 100; ++i) {
        scroll.update(0.05f);
    }
    ASSERT_GT(scroll.firstChar, 0);
    const float ampPhase = scroll.ampPhase;

    // A new text starts over at x = 0 with its first glyph and a fresh wave; the swell goes on.
    scroll.setText("XY");
    EXPECT_STREQ(scroll.text, "XY");
    EXPECT_EQ(scroll.textLength, 2);
    EXPECT_EQ(scroll.scrollX, 0.0f);
    EXPECT_EQ(scroll.firstChar, 0);
    EXPECT_EQ(scroll.wavePhase, 0.0f);
    EXPECT_EQ(scroll.ampPhase, ampPhase);

    // An empty or missing text leaves the scroller empty, and an empty scroller keeps moving
    // without harm.
    scroll.setText("");
    EXPECT_EQ(scroll.text, nullptr);
    EXPECT_EQ(scroll.textLength, 0);
    scroll.setText("AB");
    scroll.setText(nullptr);
    EXPECT_EQ(scroll.text, nullptr);
    EXPECT_EQ(scroll.textLength, 0);
    for (int i = 0; i < 100; ++i) {
        scroll.update(0.1f);
    }
    EXPECT_EQ(scroll.firstChar, 0);
}

TEST(Scroll, MovesLeftAndKeepsThePhasesWithinOneTurn) {
    Scroll scroll;
    scroll.setText("ABC");
    scroll.update(0.5f);
    EXPECT_FLOAT_EQ(scroll.scrollX, 700.0f);
    EXPECT_FLOAT_EQ(scroll.wavePhase, 2.5f);
    EXPECT_FLOAT_EQ(scroll.ampPhase, 0.45f);

    // 2.5 + 6.5 = 9 radians: one turn off.
    scroll.update(1.3f);
    EXPECT_NEAR(scroll.wavePhase, 9.0f - 6.2831855f, 1e-5f);
    EXPECT_NEAR(scroll.ampPhase, 0.32f, 1e-6f);
    // The swell runs backwards and wraps below zero.
    scroll.update(4.0f);
    EXPECT_NEAR(scroll.ampPhase, 0.32f - 0.4f + 6.2831855f, 1e-5f);

    // Even a stall of many turns leaves both phases within one turn.
    scroll.update(30.0f);
    EXPECT_GT(scroll.wavePhase, 0.0f);
    EXPECT_LE(scroll.wavePhase, 6.2831855f);
    EXPECT_GT(scroll.ampPhase, 0.0f);
    EXPECT_LE(scroll.ampPhase, 6.2831855f);
    const float expected = std::fmod(2.5f + 6.5f + 20.0f + 150.0f, 6.2831855f);
    EXPECT_NEAR(scroll.wavePhase, expected, 1e-3f);
}

TEST(Scroll, DropsOneGlyphPerUpdate) {
    Scroll scroll;
    scroll.setText("ABCDEFGHIJ");
    // Five seconds at once: 1000 units, yet only the first glyph is dropped now.
    scroll.update(5.0f);
    EXPECT_EQ(scroll.firstChar, 1);
    EXPECT_FLOAT_EQ(scroll.scrollX, -200.0f + 36.0f);
    // The following calls catch up one glyph each, until the first one is in the region again.
    const float expected[] = {-128.0f, -92.0f, -56.0f, -20.0f, -20.0f};
    for (int i = 0; i < 5; ++i) {
        scroll.update(0.0f);
        EXPECT_EQ(scroll.firstChar, std::min(2 + i, 5)) << "call " << i;
        EXPECT_FLOAT_EQ(scroll.scrollX, expected[i]) << "call " << i;
    }
    // Glyph 5 is where glyph 0 would have been: the line did not stretch.
    EXPECT_FLOAT_EQ(glyphX(scroll, 5), 800.0f - 1000.0f + 5.0f * 36.0f);
}

TEST(Scroll, RestartsOnlyAfterTheLastGlyphHasGone) {
    Scroll scroll;
    scroll.setText("ABC");
    // Glyph 0 starts at 800; at 200 units per second the last one (x = 872 at the start) is
    // dropped once it is past -36, and the text restarts one advance later.
    float t = 0.0f;
    float lastDropped = -1.0f;
    float restarted = -1.0f;
    int previousFirst = 0;
    for (int i = 0; i < 600 && restarted < 0.0f; ++i) {
        scroll.update(0.01f);
        t += 0.01f;
        if (scroll.firstChar == 3 && previousFirst == 2) {
            lastDropped = t;
        }
        if (scroll.firstChar == 0 && previousFirst == 3) {
            restarted = t;
            EXPECT_EQ(scroll.scrollX, 800.0f);
        }
        // While glyphs remain, the first one is never wholly outside on the left.
        if (scroll.firstChar < 3 && previousFirst < 3) {
            EXPECT_GE(scroll.scrollX, -36.0f) << "at " << t;
        }
        previousFirst = scroll.firstChar;
    }
    EXPECT_NEAR(lastDropped, (872.0f + 36.0f) / 200.0f, 0.015f);
    EXPECT_NEAR(restarted, (872.0f + 72.0f) / 200.0f, 0.015f);
}

namespace {

struct Quad {
    float x[4], y[4];
    float r, g, b;
};

// The quads as drawn, in window units, corners in the order they were given.
std::vector<Quad> drawnQuads(const Scroll& scroll) {
    const auto prims = gltest::captureFeedback([&] { scroll.render(); });
    EXPECT_EQ(prims.size() % 2, 0u);
    std::vector<Quad> quads;
    for (const auto& v : gltest::quads(prims)) {
        Quad q{};
        for (int c = 0; c < 4; ++c) {
            q.x[c] = v[c].x;
            q.y[c] = v[c].y;
        }
        q.r = v[0].r;
        q.g = v[0].g;
        q.b = v[0].b;
        quads.push_back(q);
    }
    return quads;
}

// Texture coordinates of every vertex drawn, in the order of drawnQuads' corners.
std::vector<std::vector<float>> drawnTexCoords(const Scroll& scroll) {
    static std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    scroll.render();
    const GLint count = glRenderMode(GL_RENDER);
    const int perVertex = 11; // x, y, z, r, g, b, a, s, t, r, q
    std::vector<std::vector<float>> triangles;
    for (GLint i = 0; i < count;) {
        EXPECT_EQ(static_cast<int>(buffer[i]), GL_POLYGON_TOKEN);
        const int n = static_cast<int>(buffer[i + 1]);
        std::vector<float> st;
        for (int k = 0; k < n; ++k) {
            st.push_back(buffer[i + 2 + k * perVertex + 7]);
            st.push_back(buffer[i + 2 + k * perVertex + 8]);
        }
        triangles.push_back(st);
        i += 2 + n * perVertex;
    }
    std::vector<std::vector<float>> quads;
    for (size_t i = 0; i + 1 < triangles.size(); i += 2) {
        const auto& a = triangles[i];
        const auto& b = triangles[i + 1];
        quads.push_back({a[0], a[1], a[2], a[3], b[2], b[3], a[4], a[5]});
    }
    return quads;
}

class ScrollDrawing : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        glViewport(0, 0, 800, 600);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // Twice the scroll region's width, so that glyphs past its right edge are not clipped:
        // window x = units / 2.
        glOrtho(0.0, 1600.0, 0.0, 1200.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

} // namespace

TEST_F(ScrollDrawing, QuadsFollowTheShearedWave) {
    Scroll scroll;
    scroll.setText("ABCD");
    scroll.scrollX = 100.0f;
    scroll.wavePhase = 0.7f;
    scroll.ampPhase = 1.1f;
    const std::vector<Quad> quads = drawnQuads(scroll);
    ASSERT_EQ(quads.size(), 4u);

    const float amplitude = std::cos(1.1f) * 90.0f;
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(testing::Message() << "glyph " << k);
        const float x = 100.0f + 36.0f * k;
        const float yL = 124.0f + amplitude * std::sin(x * 0.01f + 0.7f);
        const float yR = 124.0f + amplitude * std::sin((x + 32.0f) * 0.01f + 0.7f);
        // Lower-right, upper-right, upper-left, lower-left; window units are half the units.
        const float wantX[4] = {x + 32.0f, x + 32.0f, x, x};
        const float wantY[4] = {yR, yR + 52.0f, yL + 52.0f, yL};
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(quads[k].x[c], wantX[c] * 0.5f, 1e-3f) << "corner " << c;
            EXPECT_NEAR(quads[k].y[c], wantY[c] * 0.5f, 1e-3f) << "corner " << c;
        }
        // Sheared, not lifted: both edges keep the glyph's height, at different heights.
        EXPECT_GT(std::fabs(quads[k].y[0] - quads[k].y[3]), 1.0f);
        EXPECT_EQ(quads[k].r, 1.0f);
        EXPECT_EQ(quads[k].g, 1.0f);
        EXPECT_EQ(quads[k].b, 1.0f);
    }

    // Half a turn of the swell later the wave is mirrored about the base line.
    scroll.ampPhase = 1.1f + 3.1415927f;
    const std::vector<Quad> mirrored = drawnQuads(scroll);
    ASSERT_EQ(mirrored.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(mirrored[k].y[3] - 62.0f, -(quads[k].y[3] - 62.0f), 1e-3f);
    }
}

TEST_F(ScrollDrawing, GlyphsPastTheRightEdgeAreSkipped) {
    Scroll scroll;
    scroll.setText("ABCDEFGHIJ");
    // Glyphs at 688, 724, 760, 796 and 832 are drawn; 868 and beyond are not.
    scroll.scrollX = 688.0f;
    std::vector<Quad> quads = drawnQuads(scroll);
    ASSERT_EQ(quads.size(), 5u);
    EXPECT_NEAR(quads[4].x[3], 832.0f * 0.5f, 1e-3f);

    // Later glyphs of the text are drawn from the first visible one on.
    scroll.firstChar = 7;
    scroll.scrollX = 20.0f;
    quads = drawnQuads(scroll);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_NEAR(quads[2].x[3], (20.0f + 72.0f) * 0.5f, 1e-3f);
}

TEST_F(ScrollDrawing, NothingIsDrawnWithoutGlyphs) {
    Scroll scroll;
    EXPECT_TRUE(drawnQuads(scroll).empty());
    scroll.setText("AB");
    scroll.scrollX = 100.0f;
    EXPECT_EQ(drawnQuads(scroll).size(), 2u);
    // Every glyph gone: nothing until the restart.
    scroll.firstChar = 2;
    EXPECT_TRUE(drawnQuads(scroll).empty());
    scroll.firstChar = 0;
    scroll.setText("");
    EXPECT_TRUE(drawnQuads(scroll).empty());
}

TEST_F(ScrollDrawing, GlyphsTakeTheirCellsWithTheLeftEdgeInset) {
    Scroll scroll;
    // A high byte must use its own entry, not a neighbour's memory.
    scroll.charUV[200].corners[0].set(0.1f, 0.2f);
    scroll.charUV[200].corners[1].set(0.3f, 0.2f);
    scroll.charUV[200].corners[2].set(0.3f, 0.4f);
    scroll.charUV[200].corners[3].set(0.1f, 0.4f);
    scroll.setText("A\xC8"
                   "a");
    scroll.scrollX = 100.0f;
    const auto quads = drawnTexCoords(scroll);
    ASSERT_EQ(quads.size(), 3u);

    const int codes[3] = {'A', 200, '?'};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(testing::Message() << "glyph " << k);
        const UVrect& r = scroll.charUV[codes[k]];
        const float want[8] = {r.corners[1].x,          r.corners[1].y,          r.corners[2].x,
                               r.corners[2].y,          r.corners[3].x + 0.001f, r.corners[3].y,
                               r.corners[0].x + 0.001f, r.corners[0].y};
        for (int i = 0; i < 8; ++i) {
            EXPECT_NEAR(quads[k][i], want[i], 1e-5f) << "value " << i;
        }
    }
}
