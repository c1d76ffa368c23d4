// Trapezoidal state-variable filter (zero-delay feedback form).
#include "trackgen/SvFilter.h"

void SvFilter::set(float cutoff, float q) {
    float fc = cutoff < 20.0f ? 20.0f : (cutoff > 0.45f * dsp::SR ? 0.45f * dsp::SR : cutoff);
    g = std::tan(dsp::PI_F * fc / dsp::SR);
    k = 1.0f / q;
    a1 = 1.0f / (1.0f + g * (g + k));
}
