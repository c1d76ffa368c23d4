// Small plate-like reverb: parallel damped combs into series all-passes, per channel.
#pragma once

#include "trackgen/StereoBuffer.h"

class Reverb {
  public:
    Reverb(float roomSize, float damping) : room(roomSize), damp(damping) {}
    // Returns only the reverberated signal of `send`.
    StereoBuffer process(const StereoBuffer& send) const;

  private:
    void processChannel(const std::vector<float>& mono, std::vector<float>& out, int spread) const;
    float room;
    float damp;
};
