// Ring layouts: where create puts the vertices, and how change moves them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tunnel/Section.h"

namespace {

void expectNear(const Vector3<float>& v, float x, float y, float z, float tolerance = 1e-6f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

// Vertex i of an n-ring of radius r, worked out in double precision: the circle point turned
// about y by ay degrees, then tilted about x by ax degrees, then moved to the centre.
Vector3<float> placed(int i, int n, double r, double ax, double ay, const Vector3<float>& centre) {
    const double pi = 3.14159265358979323846;
    const double a = 2.0 * pi * i / n;
    const double x = r * std::cos(a), y = r * std::sin(a), z = 0.0;
    const double cy = std::cos(ay * pi / 180.0), sy = std::sin(ay * pi / 180.0);
    const double x1 = x * cy + z * sy, z1 = -x * sy + z * cy;
    const double cx = std::cos(ax * pi / 180.0), sx = std::sin(ax * pi / 180.0);
    const double y2 = y * cx - z1 * sx, z2 = y * sx + z1 * cx;
    return Vector3<float>(static_cast<float>(x1 + centre.x), static_cast<float>(y2 + centre.y),
                          static_cast<float>(z2 + centre.z));
}

TEST(SectionTest, RingLayouts) {
    Section flat;
    ASSERT_TRUE(flat.create(4, 1.0f, Vector3<float>(), 0.0f, 0.0f));
    expectNear(flat.vertices[0], 1.0f, 0.0f, 0.0f); // counter-clockwise from +x, seen from +z
    expectNear(flat.vertices[1], 0.0f, 1.0f, 0.0f);
    expectNear(flat.vertices[2], -1.0f, 0.0f, 0.0f);
    expectNear(flat.vertices[3], 0.0f, -1.0f, 0.0f);
    const float u[5] = {0.0f, 0.2f, 0.4f, 0.6f, 0.8f}; // the seam gets 4/5, not 1
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(flat.texCoords[i].x, u[i]) << i;
        EXPECT_EQ(flat.texCoords[i].y, 0.0f) << i;
    }

    Section tilted;
    ASSERT_TRUE(tilted.create(4, 1.0f, Vector3<float>(), 90.0f, 0.0f));
    expectNear(tilted.vertices[1], 0.0f, 0.0f, 1.0f); // laid in the xz plane

    Section turned;
    ASSERT_TRUE(turned.create(4, 1.0f, Vector3<float>(), 0.0f, 90.0f));
    expectNear(turned.vertices[0], 0.0f, 0.0f, -1.0f); // laid in the yz plane

    Section both;
    ASSERT_TRUE(both.create(4, 1.0f, Vector3<float>(), 90.0f, 90.0f));
    expectNear(both.vertices[0], 0.0f, 1.0f, 0.0f); // y turns +x to -z, then x tilts -z to +y
    EXPECT_EQ(both.angleX, 90.0f);
    EXPECT_EQ(both.angleY, 90.0f);

    Section moved;
    ASSERT_TRUE(moved.create(8, 2.0f, Vector3<float>(5.0f, 0.0f, 0.0f), 0.0f, 0.0f));
    expectNear(moved.vertices[0], 7.0f, 0.0f, 0.0f);
    expectNear(moved.position, 5.0f, 0.0f, 0.0f);
}

TEST(SectionTest, ChangeMovesTheRingAndKeepsTheTextureRow) {
    Section ring;
    ASSERT_TRUE(ring.create(8, 2.0f, Vector3<float>(), 10.0f, 20.0f));
    ring.texCoords[3].y = 0.75f; // as the tunnel fills them
    for (int i = 0; i < 8; ++i) {
        const Vector3<float> want = placed(i, 8, 2.0, 10.0, 20.0, Vector3<float>());
        expectNear(ring.vertices[i], want.x, want.y, want.z, 1e-5f);
    }
    // Vertex 2 (0, 2, 0) worked out by hand: y leaves it, x tilts it to (0, 2 cos 10, 2 sin 10).
    expectNear(ring.vertices[2], 0.0f, 1.9696155f, 0.34729636f, 1e-5f);

    const Vector3<float> moved(0.0f, 0.0f, 3.0f);
    ring.change(8, 2.0f, moved, 10.0f, 20.0f);
    const float u[9] = {0.0f,     1 / 9.0f, 2 / 9.0f, 3 / 9.0f, 4 / 9.0f,
                        5 / 9.0f, 6 / 9.0f, 7 / 9.0f, 8 / 9.0f};
    for (int i = 0; i < 8; ++i) {
        const Vector3<float> want = placed(i, 8, 2.0, 10.0, 20.0, moved);
        expectNear(ring.vertices[i], want.x, want.y, want.z, 1e-5f);
        EXPECT_FLOAT_EQ(ring.texCoords[i].x, u[i]);
    }
    EXPECT_FLOAT_EQ(ring.texCoords[8].x, u[8]);
    EXPECT_EQ(ring.texCoords[3].y, 0.75f);
    EXPECT_EQ(ring.position.z, 3.0f);

    // The ring from a circle given beforehand, evaluated as the ring's own steps say (angle
    // i x (6.2831855 / n) in single precision, cosine and sine in single precision), gives the
    // same bits as the ring that works out its circle itself.
    Vector2<float> circle[8];
    const float step = 6.2831855f / 8;
    for (int i = 0; i < 8; ++i) {
        const float angle = static_cast<float>(i) * step;
        circle[i].set(std::cos(angle) * 2.0f, std::sin(angle) * 2.0f);
    }
    Section fromCircle;
    ASSERT_TRUE(fromCircle.create(8, 2.0f, Vector3<float>(), 0.0f, 0.0f));
    fromCircle.change(8, circle, Vector3<float>(1.0f, -2.0f, 3.0f), -33.3f, 71.9f);
    ring.change(8, 2.0f, Vector3<float>(1.0f, -2.0f, 3.0f), -33.3f, 71.9f);
    EXPECT_EQ(std::memcmp(fromCircle.vertices, ring.vertices, 8 * sizeof(Vector3<float>)), 0);
    for (int i = 0; i < 8; ++i) {
        const Vector3<float> want = placed(i, 8, 2.0, -33.3, 71.9, Vector3<float>(1, -2, 3));
        expectNear(ring.vertices[i], want.x, want.y, want.z, 1e-5f);
    }
    EXPECT_EQ(ring.angleX, -33.3f);
    EXPECT_EQ(ring.angleY, 71.9f);
}

TEST(SectionTest, EmptySectionsStayEmpty) {
    Section never;
    never.change(8, 2.0f, Vector3<float>(1.0f), 5.0f, 5.0f);
    EXPECT_EQ(never.vertices, nullptr);
    EXPECT_EQ(never.texCoords, nullptr);
    EXPECT_EQ(never.position.x, 0.0f); // not even the centre is taken

    Section ring;
    ASSERT_TRUE(ring.create(4, 1.0f, Vector3<float>(), 0.0f, 0.0f));
    EXPECT_FALSE(ring.create(-1, 1.0f, Vector3<float>(), 0.0f, 0.0f)); // a negative count
    EXPECT_EQ(ring.vertices, nullptr);
    ring.clear();
    ring.clear();
    EXPECT_EQ(ring.texCoords, nullptr);
}

} // namespace
