// The lattice hash, smoothing, blends and octave sums of the value noise.
#include "math/Noise.h"

#include <cmath>
#include <cstdint>

namespace {

// The integer hash of one lattice index, in 32-bit wrapping arithmetic, mapped to (-1, 1].
float hash(int index) {
    uint32_t x = static_cast<uint32_t>(index);
    x = (x << 13) ^ x;
    const uint32_t v = (x * (x * x * 15731u + 789221u) + 1376312589u) & 0x7fffffffu;
    return static_cast<float>(1.0 - v / 1073741824.0);
}

// The blend weight of the cosine interpolation. The product is rounded to float before the
// cosine; cos(0) is exactly 1, so a zero position needs no cosine at all.
float cosineWeight(float t) {
    if (t == 0.0f) {
        return 0.0f;
    }
    const float ft = static_cast<float>(t * 3.1415927);
    return (1.0f - std::cos(ft)) * 0.5f;
}

float blend(float a, float b, float f) {
    return a * (1.0f - f) + b * f;
}

const int TABLE_SIZE = 128;

// smoothedNoise(x, y) for 0 <= x, y < 128. For non-negative lattice points every neighbour is
// at least -1, where the wrap is the plain remainder, so the smoothed values repeat every 128.
class SmoothedTable {
  public:
    explicit SmoothedTable(const Noise& noise) : values() {
        for (int y = 0; y < TABLE_SIZE; ++y) {
            for (int x = 0; x < TABLE_SIZE; ++x) {
                values[y][x] = noise.smoothedNoise(x, y);
            }
        }
    }
    float at(int x, int y) const { return values[y & (TABLE_SIZE - 1)][x & (TABLE_SIZE - 1)]; }

    float values[TABLE_SIZE][TABLE_SIZE];
};

const SmoothedTable& smoothedTable(const Noise& noise) {
    // Built once per process (about 150 000 hashes); every noise has the same fixed settings.
    static const SmoothedTable table(noise);
    return table;
}

} // namespace

Noise::Noise() : persistence(0.5f), octaves(4), width(128), height(128) {}

int Noise::wrap(int x, int period) const {
    if (x >= period) {
        return x % period;
    }
    if (x < 0) {
        // Negated in unsigned arithmetic so that the most negative int stays defined.
        return period - static_cast<int>((0u - static_cast<uint32_t>(x)) % period);
    }
    return x;
}

float Noise::noise(int x) const {
    return hash(wrap(x, width * height));
}

float Noise::noise(int x, int y) const {
    // The row stride is 32, not the width: (0, 1) and (32, 0) hash alike.
    return hash(wrap(x, width) + 32 * wrap(y, height));
}

float Noise::smoothedNoise(int x) const {
    return noise(x) / 2 + noise(x - 1) / 4 + noise(x + 1) / 4;
}

float Noise::smoothedNoise(int x, int y) const {
    const float corners =
        noise(x - 1, y - 1) + noise(x + 1, y - 1) + noise(x - 1, y + 1) + noise(x + 1, y + 1);
    const float sides = noise(x - 1, y) + noise(x + 1, y) + noise(x, y - 1) + noise(x, y + 1);
    const float centre = noise(x, y);
    return corners / 16 + sides / 8 + centre / 4;
}

float Noise::linearInterpolation(float a, float b, float t) const {
    return a * (1 - t) + b * t;
}

float Noise::cosineInterpolation(float a, float b, float t) const {
    return blend(a, b, cosineWeight(t));
}

float Noise::cubicInterpolation(float before, float a, float b, float after, float t) const {
    const float p = (after - b) - (before - a);
    const float q = (before - a) - p;
    const float r = b - before;
    const float s = a;
    return p * t * t * t + q * t * t + r * t + s;
}

void Noise::cell(float x, int& i, float& f) const {
    const float limit = 1073741824.0f; // 2^30: i + 1 stays an int
    if (x > -limit && x < limit) {
        i = static_cast<int>(x); // toward zero: a negative position has a negative fraction
        f = x - i;
        return;
    }
    // Far positions are whole numbers: keep the index's remainder by the hash's
    // period and its sign, so the wrap and the neighbours see what the exact index gives.
    const double period = width * height;
    f = 0.0f;
    if (!std::isfinite(x)) {
        i = 0; // no lattice point to speak of: any cell will do
    } else if (x > 0.0f) {
        i = static_cast<int>(std::fmod(static_cast<double>(x), period) + period);
    } else {
        i = -static_cast<int>(std::fmod(-static_cast<double>(x), period) + period);
    }
}

float Noise::interpolatedNoise(float x) const {
    int i = 0;
    float f = 0.0f;
    cell(x, i, f);
    return cosineInterpolation(smoothedNoise(i), smoothedNoise(i + 1), f);
}

float Noise::interpolatedNoise(float x, float y) const {
    int i = 0;
    int j = 0;
    float fx = 0.0f;
    float fy = 0.0f;
    cell(x, i, fx);
    cell(y, j, fy);
    const float bottom = cosineInterpolation(smoothedNoise(i, j), smoothedNoise(i + 1, j), fx);
    const float top = cosineInterpolation(smoothedNoise(i, j + 1), smoothedNoise(i + 1, j + 1), fx);
    return cosineInterpolation(bottom, top, fy);
}

float Noise::perlin(float x) const {
    float sum = 0.0f;
    int frequency = 2;
    float amplitude = persistence;
    for (int octave = 0; octave < octaves; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        sum += interpolatedNoise(frequency * x) * amplitude;
    }
    return sum;
}

float Noise::perlin(float x, float y) const {
    if (x >= 0.0f && y >= 0.0f) {
        return tablePerlin(x, y);
    }
    float sum = 0.0f;
    int frequency = 2;
    float amplitude = persistence;
    for (int octave = 0; octave < octaves; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        sum += interpolatedNoise(frequency * x, frequency * y) * amplitude;
    }
    return sum;
}

void Noise::perlinAxes(float s, float& alongX, float& alongY) const {
    if (!(s >= 0.0f)) {
        alongX = perlin(s, 0.0f);
        alongY = perlin(0.0f, s);
        return;
    }
    const SmoothedTable& table = smoothedTable(*this);
    float sumX = 0.0f;
    float sumY = 0.0f;
    int frequency = 2;
    float amplitude = persistence;
    for (int octave = 0; octave < octaves; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        int i = 0;
        float f = 0.0f;
        cell(frequency * s, i, f);
        // The other coordinate is 0: cell 0, fraction 0, weight 0.
        const float w = cosineWeight(f);
        const float alongXBottom = blend(table.at(i, 0), table.at(i + 1, 0), w);
        const float alongXTop = blend(table.at(i, 1), table.at(i + 1, 1), w);
        sumX += blend(alongXBottom, alongXTop, 0.0f) * amplitude;
        const float alongYBottom = blend(table.at(0, i), table.at(1, i), 0.0f);
        const float alongYTop = blend(table.at(0, i + 1), table.at(1, i + 1), 0.0f);
        sumY += blend(alongYBottom, alongYTop, w) * amplitude;
    }
    alongX = sumX;
    alongY = sumY;
}

float Noise::tablePerlin(float x, float y) const {
    const SmoothedTable& table = smoothedTable(*this);
    float sum = 0.0f;
    int frequency = 2;
    float amplitude = persistence;
    for (int octave = 0; octave < octaves; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        int i = 0;
        int j = 0;
        float fx = 0.0f;
        float fy = 0.0f;
        cell(frequency * x, i, fx);
        cell(frequency * y, j, fy);
        // The two blends along x share their weight: the same bits as two cosine blends.
        const float wx = cosineWeight(fx);
        const float bottom = blend(table.at(i, j), table.at(i + 1, j), wx);
        const float top = blend(table.at(i, j + 1), table.at(i + 1, j + 1), wx);
        sum += blend(bottom, top, cosineWeight(fy)) * amplitude;
    }
    return sum;
}
