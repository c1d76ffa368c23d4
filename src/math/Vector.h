// Small float vectors and the four-corner texture rectangle, handed to OpenGL as arrays.
#pragma once

// Two components, contiguous, nothing else in the object: &x goes straight to glTexCoord2fv.
template <typename T> struct Vector2 {
    T x, y;

    Vector2() : x(0), y(0) {}
    void set(T newX, T newY) {
        x = newX;
        y = newY;
    }
};

// The texture corners of one glyph cell; all four zero until set.
struct UVrect {
    Vector2<float> corners[4];

    UVrect() : corners() {}
};
