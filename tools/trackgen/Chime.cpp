// Chime synthesis.
#include "Chime.h"

void Chime::render(const NoteList& hits, StereoBuffer& out) const {
    for (const Note& hit : hits) {
        renderHit(hit, out);
    }
}

void Chime::renderHit(const Note& hit, StereoBuffer& out) const {
    // Carrier at the 20th harmonic of A2: every sideband is a harmonic of A.
    const float modHz = 110.0f;
    const float carrierHz = 20.0f * modHz;
    const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
    const float decay = hit.length;
    const int length = static_cast<int>(decay * 6.0f * dsp::SR);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    const float indexMul = std::exp(-1.0f / (decay * 2.0f * dsp::SR));
    const Pan pan(hit.pitch);
    float amp = hit.velocity;
    float index = 5.0f;
    float pc = 0.0f;
    float pm = 0.0f;
    for (int i = 0; i < length; ++i) {
        float v = std::sin(dsp::TWO_PI_F * pc + index * std::sin(dsp::TWO_PI_F * pm)) * amp;
        // A 2 ms rise keeps the attack from clicking.
        if (i < 88) {
            v *= static_cast<float>(i) / 88.0f;
        }
        out.add(start + i, v * pan.l, v * pan.r);
        pc += carrierHz / dsp::SR;
        pm += modHz / dsp::SR;
        pc -= std::floor(pc);
        pm -= std::floor(pm);
        amp *= ampMul;
        index *= indexMul;
    }
}
