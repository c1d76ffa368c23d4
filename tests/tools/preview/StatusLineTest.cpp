// The status line's font and drawing: glyphs where the text says, a band behind them, and
// every OpenGL state as it was before.
#include <GL/gl.h>

#include <vector>

#include "preview/StatusLine.h"
#include "support/GLTest.h"

namespace {

int bits(const unsigned char* rows) {
    int n = 0;
    for (int r = 0; r < StatusLine::GLYPH_HEIGHT; ++r) {
        n += __builtin_popcount(rows[r]);
    }
    return n;
}

TEST(StatusLineFont, LowerCaseIsUpperCaseAndUnknownSignsAreQuestionMarks) {
    EXPECT_EQ(StatusLine::glyph('s'), StatusLine::glyph('S'));
    EXPECT_EQ(StatusLine::glyph('~'), StatusLine::glyph('?'));
    EXPECT_EQ(StatusLine::glyph('\xe9'), StatusLine::glyph('?'));
    EXPECT_EQ(bits(StatusLine::glyph(' ')), 0);
    EXPECT_NE(StatusLine::glyph('O'), StatusLine::glyph('0'));
    for (const char* c = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.:-"; *c; ++c) {
        EXPECT_GT(bits(StatusLine::glyph(*c)), 0) << *c;
        EXPECT_NE(StatusLine::glyph(*c), StatusLine::glyph('?')) << *c;
    }
}

using StatusLineDraw = GLTest;

TEST_F(StatusLineDraw, GlyphsAndBandAlongTheTopAndNothingElse) {
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    StatusLine::draw("1 1", 800, 600);
    const std::vector<uint8_t> all = gltest::readPixels(0, 0, 800, 600);
    int white = 0;
    int dark = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = &all[(static_cast<size_t>(y) * 800 + x) * 4];
            const bool inBand =
                y >= 600 - StatusLine::BAND_HEIGHT && x < 3 * StatusLine::ADVANCE + 8;
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
                ++white;
                EXPECT_TRUE(inBand) << x << "," << y;
            } else if (p[0] < 100) {
                ++dark;
                EXPECT_TRUE(inBand) << x << "," << y;
            } else {
                EXPECT_FALSE(inBand) << x << "," << y;
            }
        }
    }
    const int scale2 = StatusLine::SCALE * StatusLine::SCALE;
    EXPECT_EQ(white, 2 * bits(StatusLine::glyph('1')) * scale2);
    EXPECT_GT(dark, white);
}

TEST_F(StatusLineDraw, LeavesEveryStateAsItFoundIt) {
    glViewport(10, 20, 300, 200);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 640.0, 0.0, 480.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);

    GLfloat projection[16], modelview[16], colour[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    StatusLine::draw("200.000 TUNNELSCENE", 800, 600);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{10, 20, 300, 200}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    EXPECT_EQ(source, GL_DST_COLOR);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<GLfloat>(colour, colour + 4),
              (std::vector<GLfloat>{0.1f, 0.2f, 0.3f, 0.4f}));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(std::vector<GLfloat>(after, after + 16),
              std::vector<GLfloat>(projection, projection + 16));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::vector<GLfloat>(after, after + 16),
              std::vector<GLfloat>(modelview, modelview + 16));

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_ZERO);
    glViewport(0, 0, 800, 600);
}

} // namespace
