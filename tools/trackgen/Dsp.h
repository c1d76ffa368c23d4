// Shared constants and small helpers of the track generator's float DSP.
#pragma once

#include <cmath>

namespace dsp {

const int SAMPLE_RATE = 44100;
const float SR = 44100.0f;
const float PI_F = 3.14159265f;
const float TWO_PI_F = 6.28318531f;

// Equal-tempered pitch, A4 = MIDI 69 = 440 Hz.
inline float midiToHz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

inline float dbToGain(float db) {
    return std::pow(10.0f, db / 20.0f);
}

// Coefficient of a one-pole smoother that covers 63 % of a step in `seconds`.
inline float onePoleCoef(float seconds) {
    return seconds <= 0.0f ? 1.0f : 1.0f - std::exp(-1.0f / (seconds * SR));
}

// Soft saturation, unity slope at 0, bounded by +-1.
inline float softClip(float x) {
    if (x > 3.0f) {
        return 1.0f;
    }
    if (x < -3.0f) {
        return -1.0f;
    }
    return x * (27.0f + x * x) / (27.0f + 9.0f * x * x);
}

} // namespace dsp
