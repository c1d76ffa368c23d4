// The layer's transforms, checked by where they take points, as the desktop's GLU takes them.
#include <gtest/gtest.h>

#include "webgl/Matrix4.h"

namespace {

// The point through the matrix, divided by w.
void project(const Matrix4& t, float x, float y, float z, float out[3]) {
    const float* m = t.m;
    const float w = m[3] * x + m[7] * y + m[11] * z + m[15];
    for (int r = 0; r < 3; ++r) {
        out[r] = (m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r]) / w;
    }
}

void expectAt(const Matrix4& t, float x, float y, float z, float ex, float ey, float ez) {
    float p[3];
    project(t, x, y, z, p);
    EXPECT_NEAR(p[0], ex, 1e-5f);
    EXPECT_NEAR(p[1], ey, 1e-5f);
    EXPECT_NEAR(p[2], ez, 1e-5f);
}

TEST(Matrix4Test, ProjectionViewAndOrder) {
    // From (0, 0, 5) looking at the origin, 90 degrees high, twice as wide, depth 1 to 9.
    const double eye[3] = {0.0, 0.0, 5.0};
    const double centre[3] = {0.0, 0.0, 0.0};
    const double up[3] = {0.0, 1.0, 0.0};
    const Matrix4 t = Matrix4::perspective(90.0, 2.0, 1.0, 9.0) * Matrix4::lookAt(eye, centre, up);
    expectAt(t, 0.0f, 0.0f, 4.0f, 0.0f, 0.0f, -1.0f); // on the near plane
    expectAt(t, 0.0f, 0.0f, -4.0f, 0.0f, 0.0f, 1.0f); // on the far plane
    expectAt(t, 2.0f, 1.0f, 4.0f, 1.0f, 1.0f, -1.0f); // the near plane's top right corner

    const Matrix4 box = Matrix4::ortho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    expectAt(box, 800.0f, 0.0f, 0.0f, 1.0f, -1.0f, 0.0f);
    // The right-hand matrix applies first: scaled, then turned a quarter about z.
    const Matrix4 turned =
        Matrix4::rotation(90.0f, 0.0f, 0.0f, 1.0f) * Matrix4::scaling(2.0f, 1.0f, 1.0f);
    expectAt(turned, 1.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f);
    // Arguments that describe no transform leave the matrix as it was, as GLU does.
    expectAt(Matrix4::perspective(45.0, 1.0, 2.0, 2.0), 1.0f, 2.0f, 3.0f, 1.0f, 2.0f, 3.0f);
}

} // namespace
