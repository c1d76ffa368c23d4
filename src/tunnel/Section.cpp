// Building and re-placing one tunnel ring.
#include "tunnel/Section.h"

#include <cmath>
#include <new>

#include "math/Matrix.h"

Section::Section()
    : vertices(nullptr), texCoords(nullptr), position(), angleX(0.0f), angleY(0.0f) {}

Section::~Section() {
    clear();
}

void Section::clear() {
    delete[] texCoords;
    texCoords = nullptr;
    delete[] vertices;
    vertices = nullptr;
}

float Section::circleStep(int n) {
    return 6.2831855f / n;
}

Vector2<float> Section::circlePoint(int i, float step, float radius) {
    const float angle = i * step;
    Vector2<float> point;
    point.set(std::cos(angle) * radius, std::sin(angle) * radius);
    return point;
}

bool Section::create(int n, float radius, const Vector3<float>& centre, float angleX,
                     float angleY) {
    clear();
    if (n < 0) {
        return false;
    }
    vertices = new (std::nothrow) Vector3<float>[n];
    if (!vertices) {
        clear();
        return false;
    }
    texCoords = new (std::nothrow) Vector2<float>[n + 1];
    if (!texCoords) {
        clear();
        return false;
    }
    place(n, nullptr, radius, centre, angleX, angleY);
    // The seam entry gets n / (n + 1), not 1: u jumps back to 0 after it.
    const float uStep = 1.0f / (n + 1);
    for (int i = 0; i <= n; ++i) {
        texCoords[i].x = i * uStep;
    }
    return true;
}

void Section::change(int n, float radius, const Vector3<float>& centre, float angleX,
                     float angleY) {
    if (!vertices) {
        return;
    }
    place(n, nullptr, radius, centre, angleX, angleY);
}

void Section::change(int n, const Vector2<float>* circle, const Vector3<float>& centre,
                     float angleX, float angleY) {
    if (!vertices) {
        return;
    }
    place(n, circle, 0.0f, centre, angleX, angleY);
}

void Section::place(int n, const Vector2<float>* circle, float radius, const Vector3<float>& centre,
                    float newAngleX, float newAngleY) {
    position = centre;
    angleX = newAngleX;
    angleY = newAngleY;

    Matrix rx;
    rx.rotateX(newAngleX);
    Matrix ry;
    ry.rotateY(newAngleY);
    Matrix m;
    m *= rx;
    m *= ry;

    // transformVec written out with the elements held in locals: the same sums in the same
    // order, but the compiler need not reload the matrix after every vertex store.
    const float m0 = m[0], m1 = m[1], m2 = m[2], m4 = m[4], m5 = m[5], m6 = m[6];
    const float m8 = m[8], m9 = m[9], m10 = m[10], m12 = m[12], m13 = m[13], m14 = m[14];
    const float cx = centre.x;
    const float cy = centre.y;
    const float cz = centre.z;
    const float step = circleStep(n);
    for (int i = 0; i < n; ++i) {
        const Vector2<float> point = circle ? circle[i] : circlePoint(i, step, radius);
        const float x = point.x;
        const float y = point.y;
        const float z = 0.0f; // every vertex starts in the ring's own plane
        Vector3<float>& v = vertices[i];
        v.x = m0 * x + m4 * y + m8 * z + m12 + cx;
        v.y = m1 * x + m5 * y + m9 * z + m13 + cy;
        v.z = m2 * x + m6 * y + m10 * z + m14 + cz;
    }
}
