// Matrix products, axis rotations, translation and point transforms in single precision.
#include "math/Matrix.h"

#include <cmath>

Matrix::Matrix(const Matrix& other) : m() {
    for (int i = 0; i < 16; ++i) {
        m[i] = other.m[i];
    }
}

Matrix& Matrix::operator=(const Matrix& other) {
    for (int i = 0; i < 16; ++i) {
        m[i] = other.m[i];
    }
    return *this;
}

Matrix& Matrix::identity() {
    for (int i = 0; i < 16; ++i) {
        m[i] = 0.0f;
    }
    m[0] = 1.0f;
    m[5] = 1.0f;
    m[10] = 1.0f;
    m[15] = 1.0f;
    return *this;
}

Matrix& Matrix::operator*=(const Matrix& other) {
    // Into a temporary first, so that a *= a reads the original elements throughout.
    float product[16];
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            // Summed left to right: the low bits of the tunnel depend on this order.
            product[4 * col + row] = m[row] * other.m[4 * col] + m[4 + row] * other.m[4 * col + 1] +
                                     m[8 + row] * other.m[4 * col + 2] +
                                     m[12 + row] * other.m[4 * col + 3];
        }
    }
    for (int i = 0; i < 16; ++i) {
        m[i] = product[i];
    }
    return *this;
}

Matrix Matrix::operator*(const Matrix& other) const {
    Matrix product(*this);
    product *= other;
    return product;
}

Matrix& Matrix::rotateX(float angle) {
    const float a = angle * RAD;
    const float c = std::cos(a);
    const float s = std::sin(a);
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return *this;
}

Matrix& Matrix::rotateY(float angle) {
    const float a = angle * RAD;
    const float c = std::cos(a);
    const float s = std::sin(a);
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
    return *this;
}

Matrix& Matrix::rotateZ(float angle) {
    const float a = angle * RAD;
    const float c = std::cos(a);
    const float s = std::sin(a);
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return *this;
}

Matrix& Matrix::translate(float x, float y, float z) {
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return *this;
}

Matrix& Matrix::translate(Vector3<float>& v) {
    return translate(v.x, v.y, v.z);
}

Vector3<float>& Matrix::transform(Vector3<float>& v) const {
    const float x = v.x;
    const float y = v.y;
    const float z = v.z;
    v.x = m[0] * x + m[4] * y + m[8] * z + m[12];
    v.y = m[1] * x + m[5] * y + m[9] * z + m[13];
    v.z = m[2] * x + m[6] * y + m[10] * z + m[14];
    return v;
}

Vector3<float>& transformVec(Vector3<float>& v, Matrix& m) {
    return m.transform(v);
}
