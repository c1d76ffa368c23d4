// Look-ahead peak limiter: the gain falls before a peak arrives, so no sample exceeds the ceiling.
#pragma once

#include "trackgen/StereoBuffer.h"

class Limiter {
  public:
    // ceiling: linear peak level; lookahead and release in seconds.
    Limiter(float ceiling, float lookahead, float release);
    void process(StereoBuffer& buffer) const;

  private:
    float ceiling;
    int window;
    float releaseCoef;
};
