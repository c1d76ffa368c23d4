// Ping-pong echo: the left input echoes right, then left, with a darkening feedback path.
#pragma once

#include "trackgen/StereoBuffer.h"

class Delay {
  public:
    Delay(float seconds, float feedback) : time(seconds), fb(feedback) {}
    // Returns only the echoes of `send` (no dry signal).
    StereoBuffer process(const StereoBuffer& send) const;

  private:
    float time;
    float fb;
};
