// Small float vectors handed straight to OpenGL, the glyph texture rectangle and the angle
// constants.
#pragma once

#include <cmath>

// Single-precision half turn and degrees-to-radians factor; 2 * PI is 6.2831855f.
const float PI = 3.1415927f;
const float RAD = 0.017453292f;

// Two components and nothing else: &x is passed to glTexCoord2fv.
template <typename T> class Vector2 {
  public:
    Vector2() : x(0), y(0) {}

    void set(T newX, T newY) {
        x = newX;
        y = newY;
    }

    T x;
    T y;
};

// Three components and nothing else: &x is passed to glVertex3fv and glColor3fv, and an array
// of vectors is walked as an array of vertices.
template <typename T> class Vector3 {
  public:
    Vector3() : x(0), y(0), z(0) {}
    explicit Vector3(T f) : x(f), y(f), z(f) {}
    Vector3(T newX, T newY, T newZ) : x(newX), y(newY), z(newZ) {}
    Vector3(const Vector3& other) : x(other.x), y(other.y), z(other.z) {}

    void set(T newX, T newY, T newZ) {
        x = newX;
        y = newY;
        z = newZ;
    }

    Vector3& operator=(const Vector3& other) {
        x = other.x;
        y = other.y;
        z = other.z;
        return *this;
    }

    Vector3& operator+=(const Vector3& other) {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }

    Vector3& operator/=(T s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }

    T lengthSquared() const { return x * x + y * y + z * z; }
    T length() const { return std::sqrt(lengthSquared()); }
    // A zero vector divides by zero; no caller normalises one.
    void normalize() { *this /= length(); }

    T x;
    T y;
    T z;
};

static_assert(sizeof(Vector2<float>) == 2 * sizeof(float),
              "Vector2 is handed to OpenGL as an array");
static_assert(sizeof(Vector3<float>) == 3 * sizeof(float),
              "Vector3 is handed to OpenGL as an array");

// The texture corners of one glyph cell; the scroller fixes their order.
class UVrect {
  public:
    UVrect();

    Vector2<float> corners[4];
};

// A unit vector perpendicular to both operands (their normalised cross product).
Vector3<float> crossProduct(Vector3<float>& a, Vector3<float>& b);
