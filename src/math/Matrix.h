// A 4 x 4 float matrix in OpenGL's column-major order, with the few operations the tunnel needs.
#pragma once

#include "math/Vector.h"

// Element index = 4 * column + row: translation in 12, 13, 14. Angles are in degrees.
// A placement is built as identity *= T *= Rx *= Ry, so a point turns about y first.
class Matrix {
  public:
    Matrix() : m() { identity(); }
    Matrix(const Matrix& other);
    Matrix& operator=(const Matrix& other);

    Matrix& identity();

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }

    // this = this * other: other acts on a point first. Safe for a *= a.
    Matrix& operator*=(const Matrix& other);
    Matrix operator*(const Matrix& other) const;

    // Each overwrites its four elements and leaves the other twelve: reset with identity() first.
    Matrix& rotateX(float angle);
    Matrix& rotateY(float angle);
    Matrix& rotateZ(float angle);

    // Overwrites elements 12, 13, 14; does not compose.
    Matrix& translate(float x, float y, float z);
    Matrix& translate(Vector3<float>& v);

    // v = this applied to the point v, as an affine transform (the bottom row is not read).
    Vector3<float>& transform(Vector3<float>& v) const;

    float m[16];
};

Vector3<float>& transformVec(Vector3<float>& v, Matrix& m);
