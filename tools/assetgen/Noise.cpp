// Periodic gradient noise: lattice gradients from an integer hash, quintic interpolation.
#include "assetgen/Noise.h"

#include <cmath>

namespace assetgen {

uint32_t Noise::hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x8da6b343u ^ b * 0xd8163841u ^ c * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float Noise::hash01(uint32_t a, uint32_t b, uint32_t c) {
    return (hash(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int wrap(int i, int n) {
    return ((i % n) + n) % n;
}

// 256 unit gradients evenly spread around the circle.
struct Gradients {
    float x[256];
    float y[256];
    Gradients() {
        for (int i = 0; i < 256; ++i) {
            x[i] = std::cos(i * 6.2831853f / 256.0f);
            y[i] = std::sin(i * 6.2831853f / 256.0f);
        }
    }
};

const Gradients GRADIENTS;

} // namespace

float Noise::periodic(float x, float y, int periodX, int periodY) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    auto corner = [&](int cx, int cy, float dx, float dy) {
        const uint32_t hx = static_cast<uint32_t>(wrap(ix + cx, periodX));
        const uint32_t hy = static_cast<uint32_t>(wrap(iy + cy, periodY));
        const uint32_t g = hash(hx, hy, seed) >> 24;
        return GRADIENTS.x[g] * dx + GRADIENTS.y[g] * dy;
    };
    const float n00 = corner(0, 0, tx, ty);
    const float n10 = corner(1, 0, tx - 1.0f, ty);
    const float n01 = corner(0, 1, tx, ty - 1.0f);
    const float n11 = corner(1, 1, tx - 1.0f, ty - 1.0f);
    const float u = fade(tx);
    const float v = fade(ty);
    const float a = n00 + (n10 - n00) * u;
    const float b = n01 + (n11 - n01) * u;
    return (a + (b - a) * v) * 1.41421356f;
}

float Noise::fbm(float x, float y, int periodX, int periodY, int octaves) const {
    float sum = 0.0f;
    float amplitude = 0.5f;
    float norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * periodic(x, y, periodX, periodY);
        norm += amplitude;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

} // namespace assetgen
