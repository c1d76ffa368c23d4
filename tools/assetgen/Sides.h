// Power-of-two picture sides: how a side is rounded, and the largest side a picture may have.
#pragma once

class Sides {
  public:
    static constexpr int MAX = 4096;

    // The smallest power of two at least v, at most MAX.
    static int roundUp(float v);
    // The power of two nearest v on a log scale (so no axis stretches or shrinks by more than
    // about 1.41), at most MAX.
    static int nearest(float v);
};
