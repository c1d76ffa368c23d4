// The value noise and the random wrappers against values worked out by hand from the hash.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

#include "math/Noise.h"
#include "math/Random.h"

namespace {

uint32_t bits(float f) {
    uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// The octave sum written out over interpolatedNoise, with no table.
float directPerlin(const Noise& noise, float x, float y) {
    float sum = 0.0f;
    int frequency = 2;
    float amplitude = 0.5f;
    for (int octave = 0; octave < 4; ++octave) {
        frequency *= frequency;
        amplitude *= amplitude;
        sum += noise.interpolatedNoise(frequency * x, frequency * y) * amplitude;
    }
    return sum;
}

TEST(NoiseTest, HashValuesAndWraps) {
    const Noise noise;
    EXPECT_EQ(bits(noise.noise(0)), 0xbe9046e8u); // -0.28179097: v = 1376312589
    EXPECT_EQ(bits(noise.noise(1)), 0xbe67ce56u); // -0.22637305
    EXPECT_EQ(bits(noise.noise(16384)), bits(noise.noise(0)));
    EXPECT_EQ(bits(noise.noise(-1)), 0xbdb29a97u); // as 16383
    EXPECT_EQ(bits(noise.noise(16383)), 0xbdb29a97u);
    // -16384 wraps to 16384, which hashes as itself, not as 0.
    EXPECT_EQ(bits(noise.noise(-16384)), 0xbf730874u);
    EXPECT_EQ(bits(noise.noise(INT_MIN)), 0xbf730874u);
    EXPECT_EQ(noise.noise(INT_MAX), noise.noise(INT_MAX % 16384));

    EXPECT_EQ(bits(noise.noise(0, 0)), bits(noise.noise(0)));
    EXPECT_EQ(bits(noise.noise(0, 1)), 0x3e914233u); // 0.28370818, row stride 32
    EXPECT_EQ(bits(noise.noise(32, 0)), 0x3e914233u);
    EXPECT_EQ(bits(noise.noise(128, 0)), bits(noise.noise(0, 0)));
    EXPECT_EQ(bits(noise.noise(-1, 0)), 0xbd500cedu);         // as 127
    EXPECT_EQ(bits(noise.noise(-128, 0)), 0x3e341b07u);       // as 128: hashes like noise(128)
    EXPECT_EQ(noise.noise(0, INT_MIN), noise.noise(0, -128)); // both wrap to 128
}

TEST(NoiseTest, SmoothingAndBlends) {
    const Noise noise;
    EXPECT_EQ(bits(noise.smoothedNoise(0)), 0xbe608dd0u);
    EXPECT_EQ(bits(noise.smoothedNoise(0, 0)), 0xbe95e9d6u); // -0.29280
    EXPECT_EQ(bits(noise.smoothedNoise(5, 7)), 0x3e3e6b64u);

    EXPECT_EQ(noise.linearInterpolation(2.0f, 4.0f, 0.25f), 2.5f);
    EXPECT_EQ(noise.cosineInterpolation(2.0f, 4.0f, 0.0f), 2.0f);
    EXPECT_EQ(noise.cosineInterpolation(2.0f, 4.0f, 0.5f), 3.0f);
    EXPECT_EQ(noise.cosineInterpolation(2.0f, 4.0f, 1.0f), 4.0f);
    EXPECT_NEAR(noise.cosineInterpolation(0.0f, 1.0f, 0.25f), 0.14644661f, 1e-7f);
    EXPECT_EQ(noise.cubicInterpolation(0.0f, 1.0f, 2.0f, 3.0f, 0.5f), 1.5f);
    EXPECT_EQ(noise.cubicInterpolation(5.0f, 1.0f, -2.0f, 7.0f, 1.0f), -2.0f);

    // Whole positions read the lattice; a negative fraction blends like its opposite.
    EXPECT_EQ(noise.interpolatedNoise(0.0f), noise.smoothedNoise(0));
    EXPECT_EQ(noise.interpolatedNoise(-0.25f), noise.interpolatedNoise(0.25f));
    EXPECT_EQ(noise.interpolatedNoise(3.0f, 9.0f), noise.smoothedNoise(3, 9));
    // Far positions keep the remainder and the sign of the exact lattice index.
    EXPECT_EQ(noise.interpolatedNoise(3e9f), noise.smoothedNoise(7680));
    EXPECT_EQ(noise.interpolatedNoise(-3e9f), noise.smoothedNoise(-7680));
}

TEST(NoiseTest, OctaveSums) {
    const Noise noise;
    EXPECT_EQ(bits(noise.perlin(0.0f, 0.0f)), 0xbdbdbe4bu); // -0.0926
    EXPECT_NEAR(noise.perlin(0.0f, 0.0f) * 360, -33.353321f, 1e-5f);
    EXPECT_EQ(bits(noise.perlin(0.0f)), 0xbd8e1b7fu);

    // The table walk gives the bits of the direct sum, near the origin and far out (where the
    // fourth octave leaves the int range), on both axes the tunnel samples.
    int compared = 0;
    for (int k = 0; k < 4000; ++k) {
        const float s = k * 0.0137f;
        const float far = 30000.0f + k * 1.7f;
        for (const float x : {s, far}) {
            EXPECT_EQ(bits(noise.perlin(x, 0.0f)), bits(directPerlin(noise, x, 0.0f))) << x;
            EXPECT_EQ(bits(noise.perlin(0.0f, x)), bits(directPerlin(noise, 0.0f, x))) << x;
            EXPECT_EQ(bits(noise.perlin(x, x * 0.5f)), bits(directPerlin(noise, x, x * 0.5f)));
            float alongX = 0.0f;
            float alongY = 0.0f;
            noise.perlinAxes(x, alongX, alongY);
            EXPECT_EQ(bits(alongX), bits(directPerlin(noise, x, 0.0f))) << x;
            EXPECT_EQ(bits(alongY), bits(directPerlin(noise, 0.0f, x))) << x;
            compared += 5;
        }
    }
    EXPECT_EQ(compared, 40000);
    // Negative positions take the direct path; non-finite ones stay defined.
    EXPECT_EQ(bits(noise.perlin(-1.3f, 2.0f)), bits(directPerlin(noise, -1.3f, 2.0f)));
    const float inf = 1.0f / 0.0f;
    EXPECT_EQ(noise.perlin(inf, 0.0f), noise.perlin(0.0f, 0.0f));
}

TEST(RandomTest, RangesHoldOnAWideGenerator) {
    randomize(1);
    float first = RND();
    float lowest = 1.0f;
    float highest = -1.0f;
    float highestU = 0.0f;
    for (int k = 0; k < 200000; ++k) {
        const float r = RND();
        const float u = URND();
        ASSERT_GE(r, -1.0f);
        ASSERT_LT(r, 1.0f);
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        highestU = std::max(highestU, u);
    }
    // The whole range is used, not a sliver of it.
    EXPECT_LT(lowest, -0.99f);
    EXPECT_GT(highest, 0.99f);
    EXPECT_GT(highestU, 0.99f);
    randomize(1);
    EXPECT_EQ(RND(), first);
}

} // namespace
