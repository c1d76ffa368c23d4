// The spectrum-bar scenes: bar heights, the camera shots, the reflection, the closing fade and
// the state a frame leaves, all drawn headless.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "image/Texture.h"
#include "main/Timeline.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "platform/sound/SoundSeams.h"
#include "scenes/Intro.h"
#include "scenes/SceneSpectrum.h"
#include "support/GLTest.h"

namespace {

using gltest::FeedbackPrimitive;

class BarStageTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        gltest::setTick(400); // built during loading; the first frame comes at 1 s of the tick
        timer = new Timer();
        music = new Music();
        intro = new Intro(timer, music);
        setSpectrum(0.0f);
        soundlayer::overrideSpectrum(values);
    }
    void TearDown() override {
        soundlayer::overrideSpectrum(nullptr);
        delete intro;
        delete music;
        delete timer;
        GLTest::TearDown();
    }

    void setSpectrum(float v) {
        for (float& x : values) {
            x = v;
        }
    }

    // Moves the tick so that the scene clock (started by the first frame at 1 s) reads t.
    void at(float t) { gltest::setTick(1000 + static_cast<int>(std::lround(t * 1000.0f))); }

    float sceneTime() const { return intro->bars->local_timer->getElapsedTime(); }

    float values[512] = {};
    Timer* timer = nullptr;
    Music* music = nullptr;
    Intro* intro = nullptr;
};

// Gives a texture a fully transparent image, so that pixels show the scene under the overlay.
void makeTransparent(Texture* texture) {
    const unsigned char clear[4] = {0, 0, 0, 0};
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Feedback returns each quad as two triangles.
const size_t QUAD = 2;

bool near(float a, float b, float tolerance = 1e-3f) {
    return std::fabs(a - b) <= tolerance;
}

bool samePrimitives(const std::vector<FeedbackPrimitive>& a, size_t aFirst,
                    const std::vector<FeedbackPrimitive>& b) {
    if (a.size() < aFirst + b.size()) {
        return false;
    }
    for (size_t p = 0; p < b.size(); ++p) {
        const FeedbackPrimitive& pa = a[aFirst + p];
        if (pa.token != b[p].token || pa.vertices.size() != b[p].vertices.size()) {
            return false;
        }
        for (size_t v = 0; v < pa.vertices.size(); ++v) {
            const gltest::FeedbackVertex& va = pa.vertices[v];
            const gltest::FeedbackVertex& vb = b[p].vertices[v];
            if (!near(va.x, vb.x) || !near(va.y, vb.y) || !near(va.r, vb.r) || !near(va.a, vb.a)) {
                return false;
            }
        }
    }
    return true;
}

bool isBlack(const FeedbackPrimitive& p) {
    for (const gltest::FeedbackVertex& v : p.vertices) {
        if (v.r != 0.0f || v.g != 0.0f || v.b != 0.0f) {
            return false;
        }
    }
    return !p.vertices.empty();
}

// Bar heights read from the front faces, drawn head-on under an orthographic view in which
// x from -25 to 1 and y from -1 to 12 fill the 800 x 600 viewport.
std::vector<float> frontFaceHeights(BarStage* bars) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-25.0, 1.0, -1.0, 12.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const std::vector<FeedbackPrimitive> prims =
        gltest::captureFeedback([&] { bars->drawSpectrum(); });
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    // Quads come back as two triangles each: gather the front faces' extents per bar.
    std::vector<float> yMin(50, 1e9f), yMax(50, -1e9f), xMin(50, 1e9f), xMax(50, -1e9f);
    std::vector<int> pieces(50, 0);
    for (const FeedbackPrimitive& p : prims) {
        if (p.token != GL_POLYGON_TOKEN || !near(p.vertices[0].r, 0.5f)) {
            continue; // the dark front and back faces; the back faces are culled
        }
        float xSum = 0.0f;
        for (const gltest::FeedbackVertex& v : p.vertices) {
            xSum += v.x * 26.0f / 800.0f - 25.0f;
        }
        const int i = static_cast<int>(std::floor(-xSum / p.vertices.size() / 0.5f));
        if (i < 0 || i >= 50) {
            ADD_FAILURE() << "a face outside the row";
            continue;
        }
        pieces[i] += 1;
        for (const gltest::FeedbackVertex& v : p.vertices) {
            xMin[i] = std::fmin(xMin[i], v.x * 26.0f / 800.0f - 25.0f);
            xMax[i] = std::fmax(xMax[i], v.x * 26.0f / 800.0f - 25.0f);
            yMin[i] = std::fmin(yMin[i], v.y * 13.0f / 600.0f - 1.0f);
            yMax[i] = std::fmax(yMax[i], v.y * 13.0f / 600.0f - 1.0f);
        }
    }
    std::vector<float> heights;
    for (int i = 0; i < 50; ++i) {
        // One face per bar, its right edge at -0.5 i, 0.45 wide, standing on y = 0.
        EXPECT_EQ(pieces[i], 2) << "bar " << i;
        EXPECT_NEAR(xMax[i], -0.5f * i, 1e-3f) << "bar " << i;
        EXPECT_NEAR(xMax[i] - xMin[i], 0.45f, 1e-3f) << "bar " << i;
        EXPECT_NEAR(yMin[i], 0.0f, 1e-3f) << "bar " << i;
        heights.push_back(yMax[i] - yMin[i]);
    }
    return heights;
}

TEST_F(BarStageTest, BarHeightsFollowTheSpectrumThroughTheGainTable) {
    at(0.0f);
    intro->render(); // fetches this frame's spectrum: silence
    std::vector<float> h = frontFaceHeights(intro->bars);
    ASSERT_EQ(h.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_NEAR(h[i], 0.1f, 1e-3f) << "bar " << i;
    }

    setSpectrum(1.0f);
    at(1.0f);
    intro->render();
    h = frontFaceHeights(intro->bars);
    ASSERT_EQ(h.size(), 50u);
    EXPECT_NEAR(h[0], 3.1f, 1e-3f);
    EXPECT_NEAR(h[1], 7.6f, 1e-3f);
    EXPECT_NEAR(h[12], 10.9f, 1e-3f);
    for (int i = 13; i < 50; ++i) {
        EXPECT_NEAR(h[i], 9.1f, 1e-3f) << "bar " << i;
    }

    // Bar i reads entry 10 i and nothing else: every other entry is large.
    setSpectrum(50.0f);
    for (int i = 0; i < 50; ++i) {
        values[10 * i] = 0.01f * static_cast<float>(i + 1);
    }
    values[500] = 7.0f; // beyond the last bar's entry
    at(2.0f);
    intro->render();
    h = frontFaceHeights(intro->bars);
    ASSERT_EQ(h.size(), 50u);
    const float gains[13] = {1.0f, 2.5f, 2.6f, 2.7f, 2.8f, 2.9f, 3.0f,
                             3.1f, 3.2f, 3.3f, 3.4f, 3.5f, 3.6f};
    for (int i = 0; i < 50; ++i) {
        const float gain = i < 13 ? gains[i] : 3.0f;
        EXPECT_NEAR(h[i], 0.01f * static_cast<float>(i + 1) * 3.0f * gain + 0.1f, 1e-3f)
            << "bar " << i;
    }
}

struct Shot {
    bool lookAt;
    float eye[3];
    float centre[3];
};

// The camera expected at scene time t, written out shot by shot.
Shot expectedShot(float t) {
    if (t < 8.0f) {
        return {true, {t - 5.0f, 3.6f, 8.0f}, {-2.0f, 0.0f, 0.0f}};
    }
    if (t < 18.0f) {
        return {true, {-2.0f, 5.0f, 10.0f - t}, {-3.0f, 0.0f, 0.0f}};
    }
    if (t < 23.0f) {
        return {true, {t - 27.0f, 5.0f, t - 15.0f}, {t - 28.0f, 0.0f, 0.0f}};
    }
    if (t < 40.0f) {
        return {true, {-2.0f, 5.0f, 30.0f - t}, {-3.0f, 0.0f, 0.0f}};
    }
    if (t < 64.0f) {
        return {true, {t - 70.0f, 4.0f, 3.25f}, {t - 65.0f, 0.0f, -0.25f}};
    }
    return {false, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
}

void loadShot(const Shot& shot) {
    glLoadIdentity();
    if (shot.lookAt) {
        gluLookAt(shot.eye[0], shot.eye[1], shot.eye[2], shot.centre[0], shot.centre[1],
                  shot.centre[2], 0.0, 1.0, 0.0);
    }
}

TEST_F(BarStageTest, EachShotBeginsExactlyAtItsBoundaryAndTheIdentityCameraFollows) {
    setSpectrum(1.0f);
    at(0.0f);
    intro->render();
    const float times[] = {0.0f,    7.999f, 8.0f,  17.999f, 18.0f, 22.999f, 23.0f,
                           39.999f, 40.0f,  63.0f, 64.0f,   70.0f, 100.0f};
    for (float t : times) {
        at(t);
        ASSERT_FLOAT_EQ(sceneTime(), t);
        const Shot shot = expectedShot(sceneTime());

        const std::vector<FeedbackPrimitive> frame =
            gltest::captureFeedback([&] { intro->render(); });
        // The floor and the upright bars as the expected camera sees them.
        glPushMatrix();
        loadShot(shot);
        const std::vector<FeedbackPrimitive> expected = gltest::captureFeedback([&] {
            intro->drawFloor();
            intro->drawSpectrum();
        });
        glPopMatrix();

        // The frame ends with the floor, the upright bars, the fade (from 62 s) and the overlay.
        const size_t tail = expected.size() + (t > 62.0f && t < 64.0f ? 2 : 1) * QUAD;
        ASSERT_GE(frame.size(), tail) << "t = " << t;
        EXPECT_TRUE(samePrimitives(frame, frame.size() - tail, expected)) << "t = " << t;
        if (shot.lookAt) {
            EXPECT_GT(expected.size(), 10u) << "the bars should be in view at t = " << t;
        } else {
            // From the origin the bars stand behind the near plane: only the overlay is left.
            EXPECT_EQ(frame.size(), QUAD + expected.size()) << "t = " << t;
        }

        // The camera itself, as a matrix.
        GLdouble applied[16], reference[16];
        glPushMatrix();
        glLoadIdentity();
        intro->bars->applyCamera(sceneTime());
        glGetDoublev(GL_MODELVIEW_MATRIX, applied);
        loadShot(shot);
        glGetDoublev(GL_MODELVIEW_MATRIX, reference);
        glPopMatrix();
        for (int k = 0; k < 16; ++k) {
            EXPECT_DOUBLE_EQ(applied[k], reference[k]) << "t = " << t << ", element " << k;
        }
    }
}

TEST_F(BarStageTest, ReflectionLiesBelowTheFloorAndShowsThroughAtAThird) {
    makeTransparent(intro->bars->overlayTexture);
    setSpectrum(0.5f); // bar 0 1.6 high, the others 4.6: all below the eye, tops in view
    at(0.0f);
    intro->render();
    at(23.0f); // shot 4: eye (-2, 5, 7) looking at (-3, 0, 0)

    // The mirrored pass comes before the floor; seen from above the mirrored boxes show only
    // their outward side and front faces, never the top faces turned downwards.
    const std::vector<FeedbackPrimitive> frame = gltest::captureFeedback([&] { intro->render(); });
    size_t floorIndex = frame.size();
    for (size_t p = 0; p < frame.size(); ++p) {
        if (!frame[p].vertices.empty() && near(frame[p].vertices[0].a, 0.65f)) {
            floorIndex = p;
            break;
        }
    }
    ASSERT_LT(floorIndex, frame.size());
    ASSERT_GT(floorIndex, 10u);
    int mirroredTops = 0, uprightTops = 0;
    for (size_t p = 0; p < frame.size() - 1; ++p) {
        const bool top = near(frame[p].vertices[0].g, 1.0f) && near(frame[p].vertices[0].a, 1.0f);
        (p < floorIndex ? mirroredTops : uprightTops) += top ? 1 : 0;
    }
    EXPECT_EQ(mirroredTops, 0);
    EXPECT_GT(uprightTops, 0);

    intro->render();
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glPushMatrix();
    loadShot(expectedShot(23.0f));
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    auto pixelAt = [&](double x, double y, double z) {
        GLdouble wx, wy, wz;
        gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
        return gltest::pixel(static_cast<int>(wx), static_cast<int>(wy));
    };
    // Bar 0's dark front face (0.5, 0, 0): upright as it is, mirrored under the white floor
    // at 65 %: 0.35 * 0.5 + 0.65 = 0.825 red, 0.65 green and blue.
    const gltest::Rgba upright = pixelAt(-0.225, 1.2, 0.0);
    EXPECT_NEAR(upright.r, 128, 2);
    EXPECT_NEAR(upright.g, 0, 2);
    const gltest::Rgba mirrored = pixelAt(-0.225, -1.2, 0.0);
    EXPECT_NEAR(mirrored.r, 210, 3);
    EXPECT_NEAR(mirrored.g, 166, 3);
    EXPECT_NEAR(mirrored.b, 166, 3);
    // Bare floor over the black background, right of the row's end.
    const gltest::Rgba floor = pixelAt(1.0, 0.0, 0.5);
    EXPECT_NEAR(floor.r, 166, 3);
    EXPECT_NEAR(floor.g, 166, 3);
}

void expectStateLeft(const char* when) {
    SCOPED_TRACE(when);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(BarStageTest, EveryFrameLeavesTheSameStateAndBothStacksAsFound) {
    GLint modelDepth = 0, projectionDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionDepth);
    glMatrixMode(GL_PROJECTION); // a frame sets its own matrix mode
    at(0.0f);
    intro->render();
    expectStateLeft("first frame");

    GLdouble model[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // The look-at from (0, 0, 10) that the overlay draws with.
    GLdouble lookAt[16];
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glGetDoublev(GL_MODELVIEW_MATRIX, lookAt);
    glPopMatrix();
    for (int k = 0; k < 16; ++k) {
        EXPECT_DOUBLE_EQ(model[k], lookAt[k]);
    }

    setSpectrum(0.7f);
    const float times[] = {5.0f, 20.0f, 50.0f, 63.0f, 70.0f};
    for (float t : times) {
        // Whatever the last drawing left on, the frame turns it off again.
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glFrontFace(GL_CW);
        at(t);
        intro->render();
        expectStateLeft(t > 62.0f && t < 64.0f ? "fading frame" : "later frame");
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, modelDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
        EXPECT_EQ(depth, projectionDepth);
        GLdouble now[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, now);
        EXPECT_EQ(std::memcmp(now, model, sizeof(now)), 0) << "t = " << t;
        glMatrixMode(GL_PROJECTION);
        glGetDoublev(GL_PROJECTION_MATRIX, now);
        EXPECT_EQ(std::memcmp(now, projection, sizeof(now)), 0) << "t = " << t;
    }
}

// Whether every pixel of the 800 x 600 frame is within one level of the colour.
bool wholeFrameIs(uint8_t r, uint8_t g, uint8_t b) {
    const std::vector<uint8_t> pixels = gltest::readPixels(0, 0, 800, 600);
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (std::abs(pixels[i] - r) > 1 || std::abs(pixels[i + 1] - g) > 1 ||
            std::abs(pixels[i + 2] - b) > 1) {
            return false;
        }
    }
    return !pixels.empty();
}

TEST_F(BarStageTest, IntroFadesToBlackOverItsLastTwoSecondsUnderTheOverlay) {
    setSpectrum(1.0f);
    at(0.0f);
    intro->render();

    // No fade quad up to 62 s; from then a black quad over the whole frame, its opacity rising
    // from 0 to 1, drawn after the scene and just before the overlay.
    for (float t : {30.0f, 61.5f, 62.0f}) {
        at(t);
        const std::vector<FeedbackPrimitive> frame =
            gltest::captureFeedback([&] { intro->render(); });
        for (const FeedbackPrimitive& p : frame) {
            EXPECT_FALSE(isBlack(p)) << "t = " << t;
        }
    }
    at(63.0f);
    std::vector<FeedbackPrimitive> frame = gltest::captureFeedback([&] { intro->render(); });
    ASSERT_GE(frame.size(), 2 * QUAD);
    float xMin = 1e9f, xMax = -1e9f, yMin = 1e9f, yMax = -1e9f;
    for (size_t p = frame.size() - 2 * QUAD; p < frame.size() - QUAD; ++p) {
        ASSERT_TRUE(isBlack(frame[p]));
        for (const gltest::FeedbackVertex& v : frame[p].vertices) {
            EXPECT_NEAR(v.a, 0.5f, 1e-3f);
            xMin = std::fmin(xMin, v.x);
            xMax = std::fmax(xMax, v.x);
            yMin = std::fmin(yMin, v.y);
            yMax = std::fmax(yMax, v.y);
        }
    }
    EXPECT_NEAR(xMin, 0.0f, 1e-3f);
    EXPECT_NEAR(xMax, 800.0f, 1e-3f);
    EXPECT_NEAR(yMin, 0.0f, 1e-3f);
    EXPECT_NEAR(yMax, 600.0f, 1e-3f);
    // The overlay after it is drawn in opaque white, not in the fade's colour.
    EXPECT_NEAR(frame.back().vertices[0].r, 1.0f, 1e-6f);
    EXPECT_NEAR(frame.back().vertices[0].a, 1.0f, 1e-6f);

    // The last frame of the slot: the overlay (here without its picture: opaque white) still
    // covers everything, the fade notwithstanding...
    at(63.999f);
    intro->render();
    EXPECT_TRUE(wholeFrameIs(255, 255, 255));
    // ...and under a transparent overlay the picture is black.
    makeTransparent(intro->bars->overlayTexture);
    intro->render();
    EXPECT_TRUE(wholeFrameIs(0, 0, 0));
    // Half way, the floor in front of the bars is at half its brightness.
    at(63.0f);
    intro->render();
    const gltest::Rgba half = gltest::pixel(400, 20);
    at(61.0f);
    intro->render();
    const gltest::Rgba before = gltest::pixel(400, 20);
    EXPECT_GT(before.g, 100);
    EXPECT_NEAR(half.g, before.g / 2, 3);
}

TEST_F(BarStageTest, SpectrumIsTheSameSceneAsIntroInTheTimeline) {
    Scene* introScene = Schedule::createScene("Intro", timer, music);
    Scene* spectrumScene = Schedule::createScene("Spectrum", timer, music);
    ASSERT_NE(dynamic_cast<Intro*>(introScene), nullptr);
    ASSERT_NE(dynamic_cast<Spectrum*>(spectrumScene), nullptr);

    setSpectrum(0.4f);
    at(0.0f);
    introScene->render();
    spectrumScene->render();
    for (float t : {3.0f, 12.0f, 20.0f, 23.5f}) {
        at(t);
        const std::vector<FeedbackPrimitive> a =
            gltest::captureFeedback([&] { introScene->render(); });
        const std::vector<FeedbackPrimitive> b =
            gltest::captureFeedback([&] { spectrumScene->render(); });
        EXPECT_GT(a.size(), 10u);
        EXPECT_EQ(a.size(), b.size()) << "t = " << t;
        EXPECT_TRUE(samePrimitives(a, 0, b)) << "t = " << t;
    }
    delete spectrumScene;
    delete introScene;
}

} // namespace
