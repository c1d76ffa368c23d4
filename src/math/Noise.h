// Deterministic value noise: a lattice hash, smoothed, cosine-blended and summed over octaves.
#pragma once

// A pure function of its arguments: the same position gives the same value in every run.
// The first coordinate wraps with period width, the second with period height, and the
// one-coordinate hash with period width * height.
class Noise {
  public:
    Noise();

    // The lattice hash, in (-1, 1].
    float noise(int x) const;
    float noise(int x, int y) const;
    // The hash averaged with its neighbours.
    float smoothedNoise(int x) const;
    float smoothedNoise(int x, int y) const;

    float linearInterpolation(float a, float b, float t) const;
    float cosineInterpolation(float a, float b, float t) const;
    float cubicInterpolation(float before, float a, float b, float after, float t) const;

    // Smoothed lattice values blended by the cosine at a real position.
    float interpolatedNoise(float x) const;
    float interpolatedNoise(float x, float y) const;

    // The octave sum; frequency and amplitude are squared from one octave to the next.
    float perlin(float x) const;
    float perlin(float x, float y) const;
    // perlin(s, 0) and perlin(0, s) together, as the tunnel samples them for each ring: the two
    // sums share their blend weights, so half the cosines give the same bits.
    void perlinAxes(float s, float& alongX, float& alongY) const;

    // Fixed for every noise: the octave table and the squared frequencies rely on them.
    const float persistence;
    const int octaves;
    const int width;
    const int height;

  private:
    int wrap(int x, int period) const;
    // Lattice cell and the fraction inside it, for any finite position.
    void cell(float x, int& i, float& f) const;
    // perlin(x, y) for x, y >= 0 from a table of smoothed values: the same bits, far fewer hashes.
    float tablePerlin(float x, float y) const;
};
