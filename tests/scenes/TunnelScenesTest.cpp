// The tunnel scenes: fog parameters, the camera each one draws under, and the unscheduled
// Tunnel1's overlay.
#include <GL/gl.h>
#include <GL/glu.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "main/Schedule.h"
#include "platform/Music.h"
#include "platform/sound/SoundSeams.h"
#include "scenes/Tunnel1.h"
#include "scenes/TunnelScene.h"
#include "scenes/TunnelScene2.h"
#include "support/DataFolder.h"
#include "support/GLTest.h"
#include "tunnel/Tunnel.h"

namespace {

class TunnelScenesTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        std::memset(silence, 0, sizeof silence);
        soundlayer::overrideSpectrum(silence);
        // Another scene's camera, which the first frame must replace.
        glViewport(0, 0, 100, 100);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        soundlayer::overrideSpectrum(nullptr);
        GLTest::TearDown();
    }

    float silence[512];
    Music music;
    Timer timer;
};

std::vector<double> matrix(GLenum which) {
    GLdouble m[16];
    glGetDoublev(which, m);
    return std::vector<double>(m, m + 16);
}

void expectMatrixNear(const std::vector<double>& a, const std::vector<double>& b) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a[i], b[i], 1e-6) << i;
    }
}

// The matrices gluPerspective and gluLookAt give, read back from a scratch load.
std::vector<double> perspective(double aspect) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, aspect, 1.0, 1000.0);
    const std::vector<double> m = matrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return m;
}

// Unclipped triangles: three vertices, none on the border of the 800 x 600 viewport.
std::vector<gltest::FeedbackVertex>
unclippedCorners(const std::vector<gltest::FeedbackPrimitive>& prims) {
    std::vector<gltest::FeedbackVertex> corners;
    for (const gltest::FeedbackPrimitive& p : prims) {
        if (p.token != GL_POLYGON_TOKEN || p.vertices.size() != 3) {
            continue;
        }
        bool inside = true;
        for (const gltest::FeedbackVertex& v : p.vertices) {
            inside = inside && v.x > 1.0f && v.x < 799.0f && v.y > 1.0f && v.y < 599.0f;
        }
        if (inside) {
            corners.insert(corners.end(), p.vertices.begin(), p.vertices.end());
        }
    }
    return corners;
}

// Every drawn corner is a tube vertex seen by the camera at eye, looking along -x at height y.
void expectSeenFrom(const Tunnel& tunnel, const std::vector<gltest::FeedbackVertex>& corners,
                    double eyeX, double eyeY, double eyeZ, double y) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, 0.0, y, 20.0, 0.0, 1.0, 0.0);
    const std::vector<double> modelview = matrix(GL_MODELVIEW_MATRIX);
    glPopMatrix();
    const std::vector<double> projection = perspective(4.0 / 3.0);
    const GLint viewport[4] = {0, 0, 800, 600};

    std::vector<double> projected;
    for (int i = 0; i < tunnel.sectionCount; ++i) {
        for (int k = 0; k < tunnel.ringVertices; ++k) {
            const Vector3<float>& v = tunnel.sections[i].vertices[k];
            double wx = 0.0;
            double wy = 0.0;
            double wz = 0.0;
            gluProject(v.x, v.y, v.z, modelview.data(), projection.data(), viewport, &wx, &wy, &wz);
            projected.insert(projected.end(), {wx, wy});
        }
    }
    ASSERT_GT(corners.size(), 300u);
    for (size_t c = 0; c < corners.size(); c += corners.size() / 100) {
        double best = 1e30;
        for (size_t p = 0; p < projected.size(); p += 2) {
            const double dx = projected[p] - corners[c].x;
            const double dy = projected[p + 1] - corners[c].y;
            best = std::min(best, dx * dx + dy * dy);
        }
        EXPECT_LT(best, 0.01) << "corner " << c; // within a tenth of a pixel
    }
}

TEST_F(TunnelScenesTest, TheSolidTunnelsFogEndHoldsInBothScenes) {
    // Built in timeline order, by name, as the demo's start-up does.
    Scene* wire = Schedule::createScene("TunnelScene2", &timer, &music);
    Scene* solid = Schedule::createScene("TunnelScene", &timer, &music);
    ASSERT_NE(dynamic_cast<TunnelScene2*>(wire), nullptr);
    ASSERT_NE(dynamic_cast<TunnelScene*>(solid), nullptr);
    EXPECT_EQ(static_cast<TunnelScene2*>(wire)->tunnel->spacing, 0.2857143f);
    for (Scene* scene : {wire, solid}) {
        scene->render();
        GLfloat end = 0.0f;
        GLfloat start = 0.0f;
        GLint mode = 0;
        GLfloat colour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
        glGetFloatv(GL_FOG_END, &end);
        glGetFloatv(GL_FOG_START, &start);
        glGetIntegerv(GL_FOG_MODE, &mode);
        glGetFloatv(GL_FOG_COLOR, colour);
        EXPECT_EQ(end, 0.16666667f);
        EXPECT_EQ(start, 1.0f);
        EXPECT_EQ(mode, GL_LINEAR);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 0.0f);
        EXPECT_FALSE(glIsEnabled(GL_FOG)); // on only while the tube is drawn
    }
    Scene* unscheduled = Schedule::createScene("Tunnel1", &timer, &music);
    EXPECT_NE(dynamic_cast<Tunnel1*>(unscheduled), nullptr);
    delete unscheduled;
    delete solid;
    delete wire;
}

TEST_F(TunnelScenesTest, WireSceneSetsTheCardCameraOnItsFirstFrameOnly) {
    TunnelScene2 scene(&timer, &music);
    gltest::setTick(150000);
    const auto prims = gltest::captureFeedback([&] { scene.render(); });
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    expectMatrixNear(matrix(GL_PROJECTION_MATRIX), perspective(4.0f / 3.0f));
    const std::vector<double> lookAt = matrix(GL_MODELVIEW_MATRIX);
    EXPECT_NEAR(lookAt[14], -10.0, 1e-9); // the eye 10 units out on +z, looking at the origin
    EXPECT_NEAR(lookAt[0], 1.0, 1e-9);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));

    // Yellow lines, ring 0 around the centre of the frame, 10 units in front of the eye.
    ASSERT_GT(prims.size(), 1000u);
    EXPECT_NEAR(prims[0].vertices[0].r, 0.9f, 0.01f);
    EXPECT_NEAR(prims[0].vertices[0].b, 0.2f, 0.01f);
    // The scene clock is never restarted: built at 1 s of the tick, drawn at 150 s, it reads
    // 149 s; the walk runs at three times that, 0.1 of a unit a second: 44.7.
    EXPECT_FLOAT_EQ(scene.tunnel->scroll, 44.7f);

    // Later frames draw under whatever camera is in force.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    const std::vector<double> other = matrix(GL_PROJECTION_MATRIX);
    scene.render();
    expectMatrixNear(matrix(GL_PROJECTION_MATRIX), other);
}

TEST_F(TunnelScenesTest, SolidSceneLooksAtRingSeventyFromBeside) {
    TunnelScene scene(&timer, &music);
    gltest::setTick(200000);
    // First frame: ring 70 as create placed it, a silent spectrum: the eye at (15, y, 20).
    const double created = scene.tunnel->sections[70].position.y;
    const auto first = gltest::captureFeedback([&] { scene.render(); });
    expectSeenFrom(*scene.tunnel, unclippedCorners(first), 15.0, created, 20.0, created);
    expectMatrixNear(matrix(GL_PROJECTION_MATRIX), perspective(4.0 / 3.0));

    // The next frame follows ring 70 as that update left it, and the spectrum moves the eye.
    const double updated = scene.tunnel->sections[70].position.y;
    EXPECT_NE(updated, created);
    float loud[512] = {};
    loud[3] = 0.5f;
    loud[4] = 0.2f;
    loud[54] = 0.3f;
    soundlayer::overrideSpectrum(loud);
    gltest::setTick(200020);
    const auto second = gltest::captureFeedback([&] { scene.render(); });
    expectSeenFrom(*scene.tunnel, unclippedCorners(second), 12.0, updated + 1.0, 21.5, updated);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(TunnelScenesTest, UnbuiltTunnelsDrawOnlyTheClearedFrame) {
    TunnelScene solid(&timer, &music);
    TunnelScene2 wire(&timer, &music);
    solid.tunnel->clear();
    wire.tunnel->clear();
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    const auto prims = gltest::captureFeedback([&] {
        solid.render(); // the camera stays at height 0 rather than reading a missing ring
        wire.render();
    });
    EXPECT_TRUE(prims.empty());
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
}

TEST_F(TunnelScenesTest, Tunnel1LaysItsPictureUprightOverTheTube) {
    // A picture whose top-left quarter is red and the rest blue, saved where the scene looks.
    glViewport(0, 0, 800, 600);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 300, 400, 300);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    Tunnel1* scene = nullptr;
    {
        DataFolder data;
        ASSERT_TRUE(data.ready);
        ASSERT_TRUE(gltest::savePng("textures/overlay2.png"));
        scene = new Tunnel1(&timer, &music);
    }

    scene->render();
    EXPECT_EQ(scene->tunnel->sectionCount, 101);
    EXPECT_EQ(scene->tunnel->scroll, 0.0f); // update(0) on the first frame
    const gltest::Rgba topLeft = gltest::pixel(100, 500);
    const gltest::Rgba bottomRight = gltest::pixel(700, 100);
    const gltest::Rgba topRight = gltest::pixel(700, 500);
    EXPECT_GT(topLeft.r, 200);
    EXPECT_LT(topLeft.b, 50);
    EXPECT_GT(bottomRight.b, 200);
    EXPECT_GT(topRight.b, 200);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    delete scene;
}

} // namespace
