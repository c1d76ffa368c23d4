// Ring layouts: where create puts the vertices, and how change moves them.
#include <gtest/gtest.h>

#include <cstring>

#include "tunnel/Section.h"

namespace {

void expectNear(const Vector3<float>& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
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
    Vector3<float> before[8];
    for (int i = 0; i < 8; ++i) {
        before[i] = ring.vertices[i];
    }
    ring.change(8, 2.0f, Vector3<float>(0.0f, 0.0f, 3.0f), 10.0f, 20.0f);
    for (int i = 0; i < 8; ++i) {
        expectNear(ring.vertices[i], before[i].x, before[i].y, before[i].z + 3.0f);
        EXPECT_FLOAT_EQ(ring.texCoords[i].x, i / 9.0f);
    }
    EXPECT_EQ(ring.texCoords[3].y, 0.75f);
    EXPECT_EQ(ring.position.z, 3.0f);

    // The same placement from a precomputed circle gives the same bits.
    Vector2<float> circle[8];
    for (int i = 0; i < 8; ++i) {
        circle[i] = Section::circlePoint(i, Section::circleStep(8), 2.0f);
    }
    Section fromCircle;
    ASSERT_TRUE(fromCircle.create(8, 2.0f, Vector3<float>(), 0.0f, 0.0f));
    fromCircle.change(8, circle, Vector3<float>(1.0f, -2.0f, 3.0f), -33.3f, 71.9f);
    ring.change(8, 2.0f, Vector3<float>(1.0f, -2.0f, 3.0f), -33.3f, 71.9f);
    EXPECT_EQ(std::memcmp(fromCircle.vertices, ring.vertices, sizeof before), 0);
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
