// Gradient noise that repeats with a whole number of lattice cells, for textures that tile.
#pragma once

#include <cstdint>

// In a namespace of its own: the demo's value noise (src/math) is a Noise too, and both link
// into the test program.
namespace assetgen {

class Noise {
  public:
    explicit Noise(uint32_t seed) : seed(seed) {}

    // Noise in about [-1, 1] at (x, y) in lattice cells, repeating every periodX by periodY
    // cells.
    float periodic(float x, float y, int periodX, int periodY) const;
    // A sum of octaves, each at twice the frequency (and period) and half the amplitude of
    // the one before; about [-1, 1].
    float fbm(float x, float y, int periodX, int periodY, int octaves) const;
    // A deterministic hash of three integers to [0, 1).
    static float hash01(uint32_t a, uint32_t b, uint32_t c);

  private:
    static uint32_t hash(uint32_t a, uint32_t b, uint32_t c);

    uint32_t seed = 0;
};

} // namespace assetgen
