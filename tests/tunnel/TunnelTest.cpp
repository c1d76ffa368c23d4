// The tunnel's shape after create and update, the walk against a direct evaluation of its
// formulas, and what the three renderers send to OpenGL.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "math/Matrix.h"
#include "math/Noise.h"
#include "support/GLTest.h"
#include "tunnel/Tunnel.h"

namespace {

class TunnelTest : public GLTest {};

float distance(const Vector3<float>& a, const Vector3<float>& b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool sameBits(const Vector3<float>& a, const Vector3<float>& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The octave sum over interpolatedNoise, lattice point by lattice point.
float directPerlin(const Noise& noise, float x, float y) {
    float sum = 0.0f;
    int frequency = 2;
    float amplitude = 0.5f;
    for (int octave = 0; octave < 4; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        sum += noise.interpolatedNoise(frequency * x, frequency * y) * amplitude;
    }
    return sum;
}

// Rx(ax) * Ry(ay) after an optional translation, each factor reset to the identity first.
Matrix placement(const Vector3<float>* p, float ax, float ay) {
    Matrix m;
    if (p) {
        Matrix t;
        t.translate(p->x, p->y, p->z);
        m *= t;
    }
    Matrix rx;
    rx.rotateX(ax);
    m *= rx;
    Matrix ry;
    ry.rotateY(ay);
    m *= ry;
    return m;
}

struct Ring {
    Vector3<float> position;
    float angleX;
    float angleY;
    std::vector<Vector3<float>> vertices;
};

// The walk of update written straight from its formulas: every ring recomputes its circle.
std::vector<Ring> directWalk(const Tunnel& tunnel, float time) {
    const Noise noise;
    const float scroll = time * 0.1f;
    std::vector<Ring> rings;
    float ax = 0.0f;
    float ay = 0.0f;
    Vector3<float> next;
    for (int i = 0; i < tunnel.sectionCount; ++i) {
        const float px = ax;
        const float py = ay;
        if (i > 0) {
            const float s = i * 0.03f + scroll;
            ax = directPerlin(noise, s, 0.0f) * 360;
            ay = directPerlin(noise, 0.0f, s) * 360;
        }
        Ring ring;
        ring.position = next;
        Matrix step = placement(&ring.position, ax, ay);
        next.set(0.0f, 0.0f, tunnel.spacing);
        transformVec(next, step);

        ring.angleX = ax - (ax - px) * 0.5f;
        ring.angleY = ay - (ay - py) * 0.5f;
        Matrix tilt = placement(nullptr, ring.angleX, ring.angleY);
        const float angleStep = 6.2831855f / tunnel.ringVertices;
        for (int k = 0; k < tunnel.ringVertices; ++k) {
            const float a = k * angleStep;
            Vector3<float> v(std::cos(a) * tunnel.radius, std::sin(a) * tunnel.radius, 0.0f);
            transformVec(v, tilt);
            v += ring.position;
            ring.vertices.push_back(v);
        }
        rings.push_back(ring);
    }
    return rings;
}

TEST_F(TunnelTest, CreateBuildsTheTubeAlongTheNoisePath) {
    Tunnel tunnel(nullptr);
    EXPECT_EQ(tunnel.sections, nullptr); // the constructor builds no rings
    tunnel.create(40.0f, 2.5f, 240, 68);
    ASSERT_NE(tunnel.sections, nullptr);
    EXPECT_EQ(tunnel.sectionCount, 241);
    EXPECT_EQ(tunnel.spacing, 0.16666667f);
    EXPECT_EQ(tunnel.radius, 1.25f);
    EXPECT_EQ(tunnel.ringVertices, 68);
    EXPECT_EQ(tunnel.length, 40.0f);

    // Ring 0 at the origin, tilted by half the first noise angle, perlin(0, 0) * 360.
    const Section& first = tunnel.sections[0];
    EXPECT_EQ(first.position.x, 0.0f);
    EXPECT_EQ(first.position.y, 0.0f);
    EXPECT_EQ(first.position.z, 0.0f);
    EXPECT_NEAR(first.angleX, -33.353321f * 0.5f, 1e-4f);
    EXPECT_NEAR(first.angleY, -33.353321f * 0.5f, 1e-4f);

    for (int i = 0; i + 1 < tunnel.sectionCount; ++i) {
        ASSERT_NEAR(distance(tunnel.sections[i].position, tunnel.sections[i + 1].position),
                    tunnel.spacing, 2e-5f)
            << i;
    }
    // Texture rows: v grows by spacing * 0.3 a ring (ring 20 at 1), u is j / 69 on every ring.
    EXPECT_EQ(tunnel.sections[20].texCoords[0].y, 1.0f);
    EXPECT_EQ(tunnel.sections[20].texCoords[68].y, 1.0f);
    EXPECT_NEAR(tunnel.sections[1].texCoords[5].y, 0.05f, 1e-7f);
    EXPECT_NEAR(tunnel.sections[240].texCoords[34].y, 12.0f, 1e-5f);
    EXPECT_FLOAT_EQ(tunnel.sections[240].texCoords[68].x, 68.0f / 69.0f);
    EXPECT_EQ(tunnel.sections[0].texCoords[0].x, 0.0f);

    // A rebuild with other sizes replaces everything; no count below 1 builds anything.
    tunnel.create(10.0f, 2.0f, 100, 36);
    EXPECT_EQ(tunnel.sectionCount, 101);
    EXPECT_EQ(tunnel.spacing, 0.1f);
    tunnel.create(10.0f, 2.0f, 0, 36);
    EXPECT_EQ(tunnel.sections, nullptr);
    EXPECT_EQ(tunnel.sectionCount, 0);
    tunnel.update(5.0f); // nothing to walk
    tunnel.clear();
    tunnel.clear();
    EXPECT_EQ(tunnel.sections, nullptr);
}

TEST_F(TunnelTest, UpdateKeepsRingZeroAtTheOriginAndRepeatsForOneTime) {
    Tunnel tunnel(nullptr);
    tunnel.create(40.0f, 2.5f, 240, 68);
    const float created = tunnel.sections[100].position.z;
    for (const float time : {0.0f, 10.0f, 417.3f}) {
        tunnel.update(time);
        EXPECT_EQ(tunnel.scroll, time * 0.1f);
        const Section& first = tunnel.sections[0];
        EXPECT_TRUE(sameBits(first.position, Vector3<float>()));
        EXPECT_EQ(first.angleX, 0.0f);
        EXPECT_EQ(first.angleY, 0.0f);
        EXPECT_TRUE(sameBits(first.vertices[0], Vector3<float>(1.25f, 0.0f, 0.0f)));
        for (int k = 0; k < 68; ++k) {
            ASSERT_EQ(first.vertices[k].z, 0.0f) << k; // untilted
        }
        // The first step points along +z.
        EXPECT_NEAR(tunnel.sections[1].position.z, tunnel.spacing, 1e-6f);
        EXPECT_NEAR(tunnel.sections[1].position.x, 0.0f, 1e-6f);
        for (int i = 0; i + 1 < tunnel.sectionCount; ++i) {
            ASSERT_NEAR(distance(tunnel.sections[i].position, tunnel.sections[i + 1].position),
                        tunnel.spacing, 2e-5f)
                << i;
        }
    }
    EXPECT_NE(tunnel.sections[100].position.z, created);
    EXPECT_EQ(tunnel.sections[7].texCoords[3].y, static_cast<float>(tunnel.spacing * 0.3 * 7));

    tunnel.update(10.0f);
    const Vector3<float> at10 = tunnel.sections[200].vertices[33];
    const float angle10 = tunnel.sections[200].angleX;
    tunnel.update(0.0f);
    EXPECT_FALSE(sameBits(tunnel.sections[200].vertices[33], at10)); // another shape
    tunnel.update(10.0f);
    EXPECT_TRUE(sameBits(tunnel.sections[200].vertices[33], at10)); // the same shape again
    EXPECT_EQ(tunnel.sections[200].angleX, angle10);
}

TEST_F(TunnelTest, WalkMatchesTheDirectEvaluationBitForBit) {
    Tunnel tunnel(nullptr);
    tunnel.create(40.0f, 2.5f, 240, 68);
    std::vector<float> times;
    for (int k = 0; k < 120; ++k) {
        times.push_back(k * 7.77f); // the demo's phases: three times a clock of a few minutes
    }
    for (const float far : {12345.6f, 99999.0f, 500000.0f, 3.0e6f}) {
        times.push_back(far); // far enough for the top octave to leave the int range
    }
    int vertices = 0;
    for (const float time : times) {
        tunnel.update(time);
        const std::vector<Ring> expected = directWalk(tunnel, time);
        for (int i = 0; i < tunnel.sectionCount; ++i) {
            const Section& ring = tunnel.sections[i];
            ASSERT_TRUE(sameBits(ring.position, expected[i].position)) << time << " ring " << i;
            ASSERT_EQ(std::memcmp(&ring.angleX, &expected[i].angleX, 4), 0) << time << " " << i;
            ASSERT_EQ(std::memcmp(&ring.angleY, &expected[i].angleY, 4), 0) << time << " " << i;
            ASSERT_EQ(std::memcmp(ring.vertices, expected[i].vertices.data(), 68 * 12), 0)
                << time << " ring " << i;
            vertices += 68;
        }
    }
    EXPECT_EQ(vertices, 124 * 241 * 68);
}

// A camera far out on +z that sees the whole tube, the modelview left as the look-at.
void farCamera(float eyeX, float eyeZ) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.5, 0.5, -0.375, 0.375, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-eyeX, 0.0f, -eyeZ);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
}

int countTokens(const std::vector<gltest::FeedbackPrimitive>& prims, int token) {
    int n = 0;
    for (const gltest::FeedbackPrimitive& p : prims) {
        n += p.token == token;
    }
    return n;
}

TEST_F(TunnelTest, WireAndPointRenderersDrawEveryRingAndLine) {
    Tunnel tunnel(nullptr);
    tunnel.create(40.0f, 2.5f, 140, 68);
    tunnel.update(450.0f);
    farCamera(0.0f, 300.0f);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    const auto wire = gltest::captureFeedback([&] { tunnel.renderWire(); });
    // 141 closed loops of 68 segments and 68 strips of 140 (Mesa reports no reset tokens).
    EXPECT_EQ(countTokens(wire, GL_LINE_RESET_TOKEN) + countTokens(wire, GL_LINE_TOKEN),
              141 * 68 + 68 * 140);
    ASSERT_FALSE(wire.empty());
    EXPECT_NEAR(wire[0].vertices[0].r, 0.9f, 0.01f);
    EXPECT_NEAR(wire[0].vertices[0].g, 0.7f, 0.01f);
    EXPECT_NEAR(wire[0].vertices[0].b, 0.2f, 0.01f);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);

    const auto points = gltest::captureFeedback([&] { tunnel.renderPoint(); });
    EXPECT_EQ(countTokens(points, GL_LINE_RESET_TOKEN) + countTokens(points, GL_LINE_TOKEN), 140);
    EXPECT_EQ(countTokens(points, GL_POINT_TOKEN), 141 + 141 * 68);
    EXPECT_NEAR(points.back().vertices[0].r, 1.0f, 0.01f); // ring vertices last, in white
    GLfloat size = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1.0f);
}

TEST_F(TunnelTest, ShortWireTubeTurnsBackByItsLastRing) {
    // Six rings: the turn reads ring 5, not a ring 25 past the end of the array.
    Tunnel tunnel(nullptr);
    tunnel.create(2.0f, 1.0f, 5, 8);
    tunnel.update(33.0f);
    farCamera(0.0f, 50.0f);
    const auto wire = gltest::captureFeedback([&] { tunnel.renderWire(); });
    EXPECT_EQ(countTokens(wire, GL_LINE_RESET_TOKEN) + countTokens(wire, GL_LINE_TOKEN),
              6 * 8 + 8 * 5);

    // Ring 0 (untilted, at the origin) is turned by minus half of ring 5's angles.
    const Section& last = tunnel.sections[5];
    glPushMatrix();
    glRotatef(-0.5f * last.angleX, 1.0f, 0.0f, 0.0f);
    glRotatef(-0.5f * last.angleY, 0.0f, 1.0f, 0.0f);
    const auto expected = gltest::captureFeedback([&] {
        glBegin(GL_POINTS);
        glVertex3fv(&tunnel.sections[0].vertices[0].x);
        glEnd();
    });
    glPopMatrix();
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_NEAR(wire[0].vertices[0].x, expected[0].vertices[0].x, 1e-3f);
    EXPECT_NEAR(wire[0].vertices[0].y, expected[0].vertices[0].y, 1e-3f);
}

TEST_F(TunnelTest, SolidTubeFacesOutward) {
    Tunnel tunnel(nullptr);
    tunnel.create(40.0f, 2.5f, 240, 68);
    tunnel.update(123.0f);
    farCamera(0.0f, 300.0f);
    glEnable(GL_CULL_FACE);

    glDisable(GL_CULL_FACE);
    const auto all = gltest::captureFeedback([&] { tunnel.renderSolid(); });
    EXPECT_EQ(countTokens(all, GL_POLYGON_TOKEN), 240 * 68 * 2);
    EXPECT_NEAR(all[0].vertices[0].g, 1.0f, 0.01f); // white

    // Seen from outside, the kept front faces are the near walls, the culled ones the far.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    const auto front = gltest::captureFeedback([&] { tunnel.renderSolid(); });
    glFrontFace(GL_CW);
    const auto back = gltest::captureFeedback([&] { tunnel.renderSolid(); });
    glFrontFace(GL_CCW);
    auto meanDepth = [](const std::vector<gltest::FeedbackPrimitive>& prims) {
        double sum = 0.0;
        for (const gltest::FeedbackPrimitive& p : prims) {
            sum += p.vertices[0].z;
        }
        return sum / prims.size();
    };
    EXPECT_EQ(front.size() + back.size(), all.size());
    EXPECT_GT(front.size(), all.size() / 4);
    EXPECT_LT(meanDepth(front), meanDepth(back));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(TunnelTest, UnbuiltTunnelDrawsNothingAndKeepsTheStacks) {
    Tunnel tunnel(nullptr);
    tunnel.update(3.0f);
    farCamera(0.0f, 30.0f);
    GLint modelview = 0;
    GLint projection = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelview);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
    const auto prims = gltest::captureFeedback([&] {
        tunnel.renderPoint();
        tunnel.renderWire();
        tunnel.renderSolid();
    });
    EXPECT_TRUE(prims.empty());
    GLint modelviewAfter = 0;
    GLint projectionAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelviewAfter);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projectionAfter);
    EXPECT_EQ(modelviewAfter, modelview);
    EXPECT_EQ(projectionAfter, projection);
}

} // namespace
