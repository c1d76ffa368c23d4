// Trapezoidal state-variable filter giving low-, band- and high-pass outputs of one input.
#pragma once

#include "trackgen/Dsp.h"

class SvFilter {
  public:
    // Cutoff in Hz (kept below Nyquist), resonance q from 0.5 (soft) upward.
    void set(float cutoff, float q);
    void process(float x) {
        float v3 = x - ic2;
        float v1 = a1 * (ic1 + g * v3);
        float v2 = ic2 + g * v1;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
    float lp() const { return low; }
    float bp() const { return band; }
    float hp() const { return high; }

  private:
    float g = 0.0f;
    float k = 2.0f;
    float a1 = 0.0f;
    float ic1 = 0.0f;
    float ic2 = 0.0f;
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;
};
