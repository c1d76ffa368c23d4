// The credits scene: its camera and the state it leaves, the two text passes over the
// background, and the greetings line's one pass across the screen at a steady frame rate.
#include <FreeImage.h>
#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "main/Schedule.h"
#include "platform/Timer.h"
#include "scenes/Creds.h"
#include "scenes/Scroll.h"
#include "support/DataFolder.h"
#include "support/GLTest.h"

namespace {

const int BASE_TICK = 1000;

// Runs in an empty folder of its own, into which a test may put pictures.
class CredsTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        gltest::setTick(BASE_TICK);
        ASSERT_TRUE(data.ready);
    }

    DataFolder data;
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

// A picture file as the texture loader lays it out: row 0 is the file's top row, at t = 0.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<float> rgba; // 0..255

    bool load(const std::string& path) {
        FIBITMAP* file = FreeImage_Load(FIF_PNG, path.c_str(), 0);
        if (!file) {
            return false;
        }
        FIBITMAP* image = FreeImage_ConvertTo32Bits(file);
        FreeImage_Unload(file);
        width = static_cast<int>(FreeImage_GetWidth(image));
        height = static_cast<int>(FreeImage_GetHeight(image));
        rgba.resize(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            const BYTE* line = FreeImage_GetScanLine(image, y); // bottom row first
            float* row = &rgba[static_cast<size_t>(height - 1 - y) * width * 4];
            for (int x = 0; x < width; ++x) {
                row[x * 4 + 0] = line[x * 4 + FI_RGBA_RED];
                row[x * 4 + 1] = line[x * 4 + FI_RGBA_GREEN];
                row[x * 4 + 2] = line[x * 4 + FI_RGBA_BLUE];
                row[x * 4 + 3] = line[x * 4 + FI_RGBA_ALPHA];
            }
        }
        FreeImage_Unload(image);
        return true;
    }

    // The nearest texel to (s, t); s wraps as the repeat mode does.
    const float* at(float s, float t) const {
        const float wrapped = s - std::floor(s);
        const int x = std::min(width - 1, static_cast<int>(wrapped * width));
        const int y = std::min(height - 1, std::max(0, static_cast<int>(t * height)));
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};

// One glyph as it lies on the screen: a parallelogram sheared along the wave.
struct GlyphOnScreen {
    unsigned char code;
    float x, yL, yR;
    // The pixel under glyph-local (u, v), u rightwards and v upwards, both 0..1.
    int px(float u) const { return static_cast<int>((x + u * 32.0f) * 1.25f); }
    int py(float u, float v) const {
        return static_cast<int>((yL + u * (yR - yL) + v * 52.0f) * 1.25f);
    }
};

// The glyphs wholly inside the 640 text units, as the scroller stands before it draws.
std::vector<GlyphOnScreen> visibleGlyphs(const Scroll& scroll) {
    std::vector<GlyphOnScreen> glyphs;
    const float amplitude = std::cos(scroll.ampPhase) * 90.0f;
    for (int k = scroll.firstChar; k < scroll.textLength; ++k) {
        const float x = static_cast<float>(k - scroll.firstChar) * 36.0f + scroll.scrollX;
        if (x < 2.0f || x + 32.0f > 638.0f || scroll.text[k] == ' ') {
            continue;
        }
        glyphs.push_back(
            GlyphOnScreen{static_cast<unsigned char>(scroll.text[k]), x,
                          124.0f + amplitude * std::sin(x * 0.01f + scroll.wavePhase),
                          124.0f + amplitude * std::sin((x + 32.0f) * 0.01f + scroll.wavePhase)});
    }
    return glyphs;
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

    Scene* named = Schedule::createScene("Creds", &timer, nullptr);
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
    gltest::setTick(BASE_TICK - 2500); // built during loading
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

TEST_F(CredsTest, GreetingsReadUprightAndUnmirroredOverTheBackground) {
    const std::string data = VQ_DATA_DIR;
    Picture font, mask;
    // The build makes the sheet before the tests: one that does not load is a fault, not a skip.
    ASSERT_TRUE(font.load(data + "/textures/font.png") &&
                mask.load(data + "/textures/font_mask.png"))
        << "the generated font sheet in " << data << " does not load";
    ASSERT_EQ(chdir(data.c_str()), 0);
    Timer timer;

    // The background alone, from a scene whose scroller holds no text.
    Creds empty(&timer, nullptr);
    empty.scroll->setText("");
    empty.render();
    const std::vector<uint8_t> background = gltest::readPixels(0, 0, 800, 600);

    // Orientations a glyph could be shown in: as the sheet says, mirrored, upside down, both.
    const int ORIENTATIONS = 4;
    double totalError[ORIENTATIONS] = {};
    int glyphsChecked = 0;
    std::map<char, int> inkChecks;

    Creds scene(&timer, nullptr);
    // Ten frames a second, looked at every 1.5 s of the pass.
    for (int frame = 0; frame <= 220; ++frame) {
        gltest::setTick(BASE_TICK + frame * 100);
        const std::vector<GlyphOnScreen> glyphs = visibleGlyphs(*scene.scroll);
        scene.render();
        if (frame == 0 || frame % 15 != 0) {
            continue;
        }
        const std::vector<uint8_t> pixels = gltest::readPixels(0, 0, 800, 600);
        for (const GlyphOnScreen& g : glyphs) {
            SCOPED_TRACE(testing::Message() << "frame " << frame << " glyph '" << g.code << "'");
            const UVrect& r = scene.scroll->charUV[g.code];
            const float s0 = r.corners[0].x + 0.001f, s1 = r.corners[1].x;
            const float t0 = r.corners[0].y, t1 = r.corners[3].y;
            double error[ORIENTATIONS] = {};
            // Ink: how far the frame is from the bare background.
            const int NU = 16, NV = 26;
            double ink[NU][NV] = {};
            for (int i = 0; i < NU; ++i) {
                for (int j = 0; j < NV; ++j) {
                    const float u = (i + 0.5f) / NU, v = (j + 0.5f) / NV;
                    const size_t p = (static_cast<size_t>(g.py(u, v)) * 800 + g.px(u)) * 4;
                    for (int c = 0; c < 3; ++c) {
                        ink[i][j] += std::fabs(double(pixels[p + c]) - background[p + c]) / 3.0;
                    }
                    for (int o = 0; o < ORIENTATIONS; ++o) {
                        const float uo = (o & 1) ? 1.0f - u : u;
                        const float vo = (o & 2) ? 1.0f - v : v;
                        const float s = s0 + uo * (s1 - s0), t = t0 + vo * (t1 - t0);
                        const float* f = font.at(s, t);
                        const float keep = mask.at(s, t)[0] / 255.0f * (f[3] / 255.0f);
                        for (int c = 0; c < 3; ++c) {
                            const double want =
                                std::min(255.0, double(f[c]) + background[p + c] * keep);
                            error[o] += std::fabs(want - pixels[p + c]) / (3.0 * NU * NV);
                        }
                    }
                }
            }
            // Halves of the inked box, and the height of the ink's centre in the cell.
            int i0 = NU, i1 = -1, j0 = NV, j1 = -1;
            double total = 0, weightedV = 0;
            for (int i = 0; i < NU; ++i) {
                for (int j = 0; j < NV; ++j) {
                    total += ink[i][j];
                    weightedV += ink[i][j] * (j + 0.5) / NV;
                    if (ink[i][j] > 40.0) {
                        i0 = std::min(i0, i), i1 = std::max(i1, i);
                        j0 = std::min(j0, j), j1 = std::max(j1, j);
                    }
                }
            }
            double inkLeft = 0, inkRight = 0, inkLow = 0, inkHigh = 0;
            for (int i = i0; i <= i1; ++i) {
                for (int j = j0; j <= j1; ++j) {
                    // Counted, not weighed: the letters' colours run from light to dark.
                    const double inked = ink[i][j] > 40.0 ? 1.0 : 0.0;
                    (2 * i < i0 + i1 ? inkLeft : inkRight) += inked;
                    (2 * j < j0 + j1 ? inkLow : inkHigh) += inked;
                }
            }
            // The glyph of its own cell, the way the sheet holds it.
            EXPECT_LT(error[0], 20.0);
            for (int o = 1; o < ORIENTATIONS; ++o) {
                EXPECT_LE(error[0], error[o] + 1.0) << "orientation " << o;
                totalError[o] += error[o];
            }
            totalError[0] += error[0];
            ++glyphsChecked;

            // And the sheet's glyphs are upright: stems on the left, arms where they belong.
            const char ch = static_cast<char>(g.code);
            if (ch == 'E' || ch == 'F' || ch == 'L' || ch == 'P') {
                EXPECT_GT(inkLeft, inkRight);
                ++inkChecks[ch];
            }
            if (ch == 'F' || ch == 'P') {
                EXPECT_GT(inkHigh, inkLow);
            }
            if (ch == 'L') {
                EXPECT_GT(inkLow, inkHigh);
            }
            if (ch == '.' || ch == ',') {
                EXPECT_LT(weightedV / total, 0.4); // on the base line, low in the cell
                ++inkChecks[ch];
            }
        }
    }
    EXPECT_GT(glyphsChecked, 100);
    for (int o = 1; o < ORIENTATIONS; ++o) {
        EXPECT_GT(totalError[o], 2.0 * totalError[0]) << "orientation " << o;
    }
    for (char ch : {'E', 'F', 'L', 'P', ',', '.'}) {
        EXPECT_GT(inkChecks[ch], 0) << "no '" << ch << "' was looked at";
    }
    RecordProperty("mean_error_as_sheet", static_cast<int>(totalError[0] / glyphsChecked * 10));
    RecordProperty("mean_error_mirrored", static_cast<int>(totalError[1] / glyphsChecked * 10));
    RecordProperty("mean_error_flipped", static_cast<int>(totalError[2] / glyphsChecked * 10));
}
