// Band-limited (polyBLEP) saw and square plus sine, on a normalised phase accumulator.
#pragma once

#include "trackgen/Dsp.h"

class Oscillator {
  public:
    void setFrequency(float hz) { inc = hz / dsp::SR; }
    void setPhase(float p) { phase = p - std::floor(p); }
    float frequency() const { return inc * dsp::SR; }

    float saw() {
        float v = 2.0f * phase - 1.0f - blep(phase);
        advance();
        return v;
    }
    float square() {
        float v = phase < 0.5f ? 1.0f : -1.0f;
        v += blep(phase);
        float half = phase + 0.5f;
        v -= blep(half - std::floor(half));
        advance();
        return v;
    }
    float sine() {
        float v = std::sin(dsp::TWO_PI_F * phase);
        advance();
        return v;
    }
    // Triangle by folding the phase; its harmonics fall fast enough not to need correction.
    float triangle() {
        float v = 4.0f * std::fabs(phase - 0.5f) - 1.0f;
        advance();
        return v;
    }

  private:
    void advance() {
        phase += inc;
        if (phase >= 1.0f) {
            phase -= 1.0f;
        }
    }
    // Residual that rounds the step at a phase wrap over one sample either side.
    float blep(float t) const {
        if (t < inc) {
            t /= inc;
            return t + t - t * t - 1.0f;
        }
        if (t > 1.0f - inc) {
            t = (t - 1.0f) / inc;
            return t * t + t + t + 1.0f;
        }
        return 0.0f;
    }

    float phase = 0.0f;
    float inc = 0.0f;
};
