// A colour with premultiplied alpha, the unit every picture is composed in.
#pragma once

#include <algorithm>

struct Color {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;

    // An opaque or translucent colour from straight (not premultiplied) components.
    static Color rgb(float r, float g, float b, float a = 1.0f) {
        return Color{r * a, g * a, b * a, a};
    }
    // A colour from hex 0xRRGGBB, opaque.
    static Color hex(unsigned v) {
        return rgb(((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f);
    }
    Color scaled(float k) const { return Color{r * k, g * k, b * k, a * k}; }
    // The same hue with its coverage multiplied (premultiplied, so every channel scales).
    Color withCoverage(float c) const { return scaled(c); }
    Color plus(const Color& o) const { return Color{r + o.r, g + o.g, b + o.b, a + o.a}; }
    // Porter-Duff "source over destination".
    Color over(const Color& dst) const {
        const float k = 1.0f - a;
        return Color{r + dst.r * k, g + dst.g * k, b + dst.b * k, a + dst.a * k};
    }
    static Color mix(const Color& x, const Color& y, float t) {
        return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                     x.a + (y.a - x.a) * t};
    }
};

inline float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
