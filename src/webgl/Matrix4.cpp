// The transforms of glOrtho, gluPerspective, gluLookAt, glRotatef and glScalef.
#include "Matrix4.h"

#include <cmath>

namespace {

// Built in double, stored in float as a GL 1.x driver stores its matrices.
Matrix4 fromRows(const double rows[4][4]) {
    Matrix4 r;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            r.m[col * 4 + row] = static_cast<float>(rows[row][col]);
        }
    }
    return r;
}

void normalise(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

} // namespace

Matrix4 Matrix4::identity() {
    Matrix4 r;
    for (int i = 0; i < 16; ++i) {
        r.m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
    return r;
}

Matrix4 Matrix4::ortho(double left, double right, double bottom, double top, double nearVal,
                       double farVal) {
    const double w = right - left;
    const double h = top - bottom;
    const double d = farVal - nearVal;
    if (w == 0.0 || h == 0.0 || d == 0.0) {
        return identity();
    }
    const double rows[4][4] = {{2.0 / w, 0.0, 0.0, -(right + left) / w},
                               {0.0, 2.0 / h, 0.0, -(top + bottom) / h},
                               {0.0, 0.0, -2.0 / d, -(farVal + nearVal) / d},
                               {0.0, 0.0, 0.0, 1.0}};
    return fromRows(rows);
}

Matrix4 Matrix4::perspective(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double half = fovyDegrees / 2.0 * M_PI / 180.0;
    const double depth = zFar - zNear;
    const double sine = std::sin(half);
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) {
        return identity();
    }
    const double cotangent = std::cos(half) / sine;
    const double rows[4][4] = {{cotangent / aspect, 0.0, 0.0, 0.0},
                               {0.0, cotangent, 0.0, 0.0},
                               {0.0, 0.0, -(zFar + zNear) / depth, -2.0 * zNear * zFar / depth},
                               {0.0, 0.0, -1.0, 0.0}};
    return fromRows(rows);
}

Matrix4 Matrix4::lookAt(const double eye[3], const double centre[3], const double up[3]) {
    double forward[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
    normalise(forward);
    double side[3];
    cross(forward, up, side);
    normalise(side);
    double upward[3];
    cross(side, forward, upward);
    // The rotation's rows are side, up and -forward; the eye moves to the origin after it.
    const double* axes[3] = {side, upward, forward};
    double rows[4][4] = {};
    for (int row = 0; row < 3; ++row) {
        const double sign = row == 2 ? -1.0 : 1.0;
        double moved = 0.0;
        for (int col = 0; col < 3; ++col) {
            rows[row][col] = sign * axes[row][col];
            moved -= rows[row][col] * eye[col];
        }
        rows[row][3] = moved;
    }
    rows[3][3] = 1.0;
    return fromRows(rows);
}

Matrix4 Matrix4::rotation(float angleDegrees, float x, float y, float z) {
    double axis[3] = {x, y, z};
    if (axis[0] == 0.0 && axis[1] == 0.0 && axis[2] == 0.0) {
        return identity();
    }
    normalise(axis);
    const double a = angleDegrees * M_PI / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double t = 1.0 - c;
    const double ux = axis[0], uy = axis[1], uz = axis[2];
    const double rows[4][4] = {{ux * ux * t + c, ux * uy * t - uz * s, ux * uz * t + uy * s, 0.0},
                               {uy * ux * t + uz * s, uy * uy * t + c, uy * uz * t - ux * s, 0.0},
                               {uz * ux * t - uy * s, uz * uy * t + ux * s, uz * uz * t + c, 0.0},
                               {0.0, 0.0, 0.0, 1.0}};
    return fromRows(rows);
}

Matrix4 Matrix4::scaling(float x, float y, float z) {
    Matrix4 r = identity();
    r.m[0] = x;
    r.m[5] = y;
    r.m[10] = z;
    return r;
}

Matrix4 Matrix4::operator*(const Matrix4& right) const {
    Matrix4 r;
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += m[k * 4 + row] * right.m[col * 4 + k];
            }
            r.m[col * 4 + row] = sum;
        }
    }
    return r;
}
