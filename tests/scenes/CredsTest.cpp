// The credits scene: its camera and the state it leaves, the two text passes over the
// background, and the greetings line's one pass across the screen at a steady frame rate.
#include <FreeImage.h>
#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "main/Timeline.h"
#include "platform/Timer.h"
#include "scenes/Creds.h"
#include "scenes/Scroll.h"
#include "support/GLTest.h"

namespace {

const int BASE_TICK = 1000;

// Runs in an empty folder of its own, into which a test may put pictures.
class CredsTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        gltest::setTick(BASE_TICK);
        char pattern[] = "/tmp/vq-creds-XXXXXX";
        dir = mkdtemp(pattern);
        ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
        ASSERT_EQ(mkdir((dir + "/textures").c_str(), 0755), 0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous), 0);
        EXPECT_EQ(system(("rm -rf " + dir).c_str()), 0);
        GLTest::TearDown();
    }

    std::string dir;
    char previous[4096] = {};
};

// A 64 x 64 picture of one colour.
void writeFlat(const char* path, int r, int g, int b, int a) {
    FIBITMAP* image = FreeImage_Allocate(64, 64, 32);
    for (int y = 0; y < 64; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < 64; ++x) {
            line[x * 4 + FI_RGBA_RED] = static_cast<BYTE>(r);
            line[x * 4 + FI_RGBA_GREEN] = static_cast<BYTE>(g);
            line[x * 4 + FI_RGBA_BLUE] = static_cast<BYTE>(b);
            line[x * 4 + FI_RGBA_ALPHA] = static_cast<BYTE>(a);
        }
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, image, path, 0));
    FreeImage_Unload(image);
}

// The glyph pieces (depth 0.5) among the primitives of a frame, as (x, y) of every vertex; the
// background lies at depth 0.995.
std::vector<std::vector<float>> glyphPieces(const std::vector<gltest::FeedbackPrimitive>& prims) {
    std::vector<std::vector<float>> pieces;
    for (const auto& p : prims) {
        if (p.token == GL_POLYGON_TOKEN && !p.vertices.empty() && p.vertices[0].z < 0.9f) {
            std::vector<float> xy;
            for (const auto& v : p.vertices) {
                xy.push_back(v.x);
                xy.push_back(v.y);
            }
            pieces.push_back(xy);
        }
    }
    return pieces;
}

} // namespace

TEST_F(CredsTest, SetsUpItsCameraAndLeavesDepthAndBlendingOff) {
    Timer timer;
    Creds scene(&timer, nullptr);
    ASSERT_NE(scene.scroll->text, nullptr);
    EXPECT_STREQ(scene.scroll->text, Creds::GREETINGS);
    EXPECT_EQ(scene.scroll->textLength, 102);

    glClearStencil(5);
    glEnable(GL_BLEND);
    scene.render();

    GLint stencilClear = -1;
    glGetIntegerv(GL_STENCIL_CLEAR_VALUE, &stencilClear);
    EXPECT_EQ(stencilClear, 0);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
    GLint mode = 0, modelviewDepth = 0, projectionDepth = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(modelviewDepth, 1);
    EXPECT_EQ(projectionDepth, 1);

    // Perspective of 45 degrees with the near plane at 0.1 and the far one at 1000.
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5], 1.0f / std::tan(22.5f * 3.1415927f / 180.0f), 1e-5f);
    EXPECT_NEAR(p[0], p[5] * 0.75f, 1e-5f);
    EXPECT_NEAR(p[14], -2.0f * 1000.0f * 0.1f / 999.9f, 1e-6f);
    // The eye at (1, 1, 1): the origin lies straight ahead at the distance of the diagonal.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], 0.0f, 1e-6f);
    EXPECT_NEAR(m[13], 0.0f, 1e-6f);
    EXPECT_NEAR(m[14], -std::sqrt(3.0f), 1e-5f);
    // The eye's x axis is level (no world y in row 0) and world y points up on screen.
    EXPECT_NEAR(m[4], 0.0f, 1e-6f);
    EXPECT_GT(m[5], 0.0f);

    Scene* named = Timeline::createScene("Creds", &timer, nullptr);
    EXPECT_NE(dynamic_cast<Creds*>(named), nullptr);
    delete named;
}

TEST_F(CredsTest, MaskDarkensTheBackgroundAndTheFontIsAddedOverIt) {
    writeFlat("textures/bg.png", 100, 100, 100, 255);
    writeFlat("textures/font_mask.png", 128, 128, 128, 255);
    writeFlat("textures/font.png", 200, 0, 0, 128);
    Timer timer;
    Creds scene(&timer, nullptr);
    // Put the first glyph at the left of the screen with a flat wave: units x 1.25 = pixels.
    scene.scroll->scrollX = 40.0f;
    scene.scroll->ampPhase = 3.1415927f * 0.5f;
    scene.render();

    // Under a glyph: 100 x 128/255 = 50 after the mask, then 200 + 50 x 128/255 in red.
    const gltest::Rgba glyph = gltest::pixel(static_cast<int>((40.0f + 16.0f) * 1.25f),
                                             static_cast<int>((124.0f + 26.0f) * 1.25f));
    EXPECT_NEAR(glyph.r, 225, 3);
    EXPECT_NEAR(glyph.g, 25, 3);
    EXPECT_NEAR(glyph.b, 25, 3);
    // Above the line only the background.
    const gltest::Rgba free = gltest::pixel(400, 500);
    EXPECT_NEAR(free.r, 100, 1);
    EXPECT_NEAR(free.g, 100, 1);
    EXPECT_NEAR(free.b, 100, 1);
}

TEST_F(CredsTest, TheLineCrossesTheScreenOnceInTheSlot) {
    Timer timer;
    Creds scene(&timer, nullptr);
    // 60 frames a second for the 23 seconds of the slot, scene clock from the first frame.
    float firstSeen = -1.0f;
    float lastSeen = -1.0f;
    bool seenAgain = false;
    for (int frame = 0; frame <= 23 * 60; ++frame) {
        const int ms = static_cast<int>(std::lround(frame * 1000.0 / 60.0));
        gltest::setTick(BASE_TICK + ms);
        const auto prims = gltest::captureFeedback([&] { scene.render(); });
        if (frame == 0) {
            // Nothing moves in the first frame.
            EXPECT_EQ(scene.scroll->scrollX, 800.0f);
        }
        const auto pieces = glyphPieces(prims);
        // The mask and the colour pass draw the same quads.
        const size_t half = pieces.size() / 2;
        ASSERT_EQ(pieces.size() % 2, 0u) << "frame " << frame;
        for (size_t i = 0; i < half; ++i) {
            ASSERT_EQ(pieces[i], pieces[half + i]) << "frame " << frame;
        }
        const float t = ms * 0.001f;
        if (!pieces.empty()) {
            if (firstSeen < 0.0f) {
                firstSeen = t;
            }
            if (lastSeen >= 0.0f && t - lastSeen > 0.1f) {
                seenAgain = true;
            }
            lastSeen = t;
        }
    }
    // In at the right edge of the 640 units after 0.8 s; the last glyph's right edge reaches
    // x = 0 at (800 + 101 x 36 + 32) / 200 = 22.34 s.
    RecordProperty("first_seen_ms", static_cast<int>(std::lround(firstSeen * 1000.0f)));
    RecordProperty("last_seen_ms", static_cast<int>(std::lround(lastSeen * 1000.0f)));
    EXPECT_NEAR(firstSeen, 0.8f, 0.05f);
    EXPECT_NEAR(lastSeen, 22.34f, 0.05f);
    EXPECT_FALSE(seenAgain);
    // Restarted at the right edge, out of sight, before the slot ends.
    EXPECT_EQ(scene.scroll->firstChar, 0);
    EXPECT_GT(scene.scroll->scrollX, 640.0f);
}
