// Trapezoidal state-variable filter (zero-delay feedback form).
#include "SvFilter.h"

void SvFilter::set(float cutoff, float q) {
    float fc = cutoff < 20.0f ? 20.0f : (cutoff > 0.45f * dsp::SR ? 0.45f * dsp::SR : cutoff);
    g = std::tan(dsp::PI_F * fc / dsp::SR);
    k = 1.0f / q;
    a1 = 1.0f / (1.0f + g * (g + k));
}

void SvFilter::process(float x) {
    float v3 = x - ic2;
    float v1 = a1 * (ic1 + g * v3);
    float v2 = ic2 + g * v1;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    low = v2;
    band = v1;
    high = x - k * v1 - v2;
}
