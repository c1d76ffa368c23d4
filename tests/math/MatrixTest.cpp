// Vector arithmetic, matrix rotations, products and point transforms against hand-worked values.
#include <gtest/gtest.h>

#include <cmath>

#include "math/Matrix.h"
#include "math/Vector.h"

namespace {

void expectNear(const Vector3<float>& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

Matrix sample() {
    Matrix b;
    for (int i = 0; i < 16; ++i) {
        b[i] = 0.5f + i; // no zero elements: the identity's zero terms leave each one unchanged
    }
    return b;
}

TEST(VectorTest, ConstructionAndArithmetic) {
    const Vector3<float> two(2.0f);
    EXPECT_EQ(two.x, 2.0f);
    EXPECT_EQ(two.y, 2.0f);
    EXPECT_EQ(two.z, 2.0f);

    Vector3<float> v(3.0f, 4.0f, 0.0f);
    EXPECT_EQ(v.lengthSquared(), 25.0f);
    EXPECT_EQ(v.length(), 5.0f);
    v += Vector3<float>(1.0f, 2.0f, 3.0f);
    expectNear(v, 4.0f, 6.0f, 3.0f);
    v /= 2.0f;
    expectNear(v, 2.0f, 3.0f, 1.5f);

    Vector3<float> a(2.0f, 0.0f, 0.0f);
    Vector3<float> b(0.0f, 3.0f, 0.0f);
    expectNear(crossProduct(a, b), 0.0f, 0.0f, 1.0f); // unit length whatever the operands
    expectNear(crossProduct(b, a), 0.0f, 0.0f, -1.0f);

    const UVrect rect;
    for (const Vector2<float>& corner : rect.corners) {
        EXPECT_EQ(corner.x, 0.0f);
        EXPECT_EQ(corner.y, 0.0f);
    }
}

TEST(MatrixTest, IdentityAndProductsWithIt) {
    Matrix m;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    Vector3<float> p(1.5f, -2.0f, 7.0f);
    m.transform(p);
    expectNear(p, 1.5f, -2.0f, 7.0f);

    const Matrix b = sample();
    Matrix left;
    left *= b;
    Matrix right = b;
    right *= Matrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(left[i], b[i]) << i;
        EXPECT_EQ(right[i], b[i]) << i;
    }
}

TEST(MatrixTest, RotationsAreRightHandedAndWriteOnlyTheirElements) {
    Matrix rx;
    rx.rotateX(90.0f);
    Vector3<float> v(0.0f, 1.0f, 0.0f);
    expectNear(rx.transform(v), 0.0f, 0.0f, 1.0f);
    // 90 x 0.017453292 in single precision is 1.57079637, just past a right angle: its cosine
    // is -4.371139e-8, not 0, and its sine rounds to 1.
    EXPECT_NEAR(rx[5], -4.371139e-8f, 1e-13f);
    EXPECT_EQ(rx[9], -1.0f);

    Matrix ry;
    ry.rotateY(90.0f);
    v.set(0.0f, 0.0f, 1.0f);
    expectNear(ry.transform(v), 1.0f, 0.0f, 0.0f);

    Matrix rz;
    rz.rotateZ(90.0f);
    v.set(1.0f, 0.0f, 0.0f);
    expectNear(rz.transform(v), 0.0f, 1.0f, 0.0f);

    // rotateY on a translated matrix overwrites 0, 2, 8, 10 only.
    Matrix m = sample();
    m.translate(1.0f, 2.0f, 3.0f);
    m.rotateY(30.0f);
    const Matrix before = sample();
    for (int i : {1, 3, 4, 5, 6, 7, 9, 11, 15}) {
        EXPECT_EQ(m[i], before[i]) << i;
    }
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_EQ(m[13], 2.0f);
    EXPECT_EQ(m[14], 3.0f);
    EXPECT_NEAR(m[0], 0.8660254f, 1e-6f);
    EXPECT_NEAR(m[8], 0.5f, 1e-6f);

    // translate overwrites rather than composes.
    m.translate(4.0f, 5.0f, 6.0f);
    EXPECT_EQ(m[12], 4.0f);
    EXPECT_EQ(m[13], 5.0f);
    EXPECT_EQ(m[14], 6.0f);
}

TEST(MatrixTest, PlacementChainTurnsAboutYThenXThenMoves) {
    Matrix t;
    Vector3<float> offset(1.0f, 2.0f, 3.0f);
    t.translate(offset);
    Matrix rx;
    rx.rotateX(90.0f);
    Matrix ry;
    ry.rotateY(90.0f);
    Matrix m;
    m *= t;
    m *= rx;
    m *= ry;

    Vector3<float> forward(0.0f, 0.0f, 1.0f); // y turns it to +x, x leaves +x alone
    expectNear(transformVec(forward, m), 2.0f, 2.0f, 3.0f);
    Vector3<float> side(1.0f, 0.0f, 0.0f); // y turns it to -z, x turns -z to +y
    expectNear(transformVec(side, m), 1.0f, 3.0f, 3.0f);

    // a *= a squares the matrix: two quarter turns about z make a half turn.
    Matrix rz;
    rz.rotateZ(90.0f);
    rz *= rz;
    Vector3<float> x(1.0f, 0.0f, 0.0f);
    expectNear(rz.transform(x), -1.0f, 0.0f, 0.0f);
}

TEST(MatrixTest, SumsRunLeftToRightAndTheBottomRowIsIgnored) {
    // 1e8 absorbs a following 1 in single precision, so any other order gives 0 or 2.
    Matrix a;
    a[0] = 1.0f;
    a[4] = 1.0f;
    a[8] = 1.0f;
    a[12] = 1.0f;
    Matrix b;
    b[0] = 1e8f;
    b[1] = 1.0f;
    b[2] = -1e8f;
    b[3] = 1.0f;
    EXPECT_EQ((a * b)[0], 1.0f);

    Matrix m;
    m[0] = 1e8f;
    m[4] = 1.0f;
    m[8] = -1e8f;
    m[12] = 1.0f;
    m[3] = 5.0f; // a bottom row other than (0, 0, 0, 1) changes nothing
    m[7] = 5.0f;
    m[11] = 5.0f;
    m[15] = 5.0f;
    Vector3<float> p(1.0f, 1.0f, 1.0f);
    m.transform(p);
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 1.0f);
    EXPECT_EQ(p.z, 1.0f);
}

} // namespace
