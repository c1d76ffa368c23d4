// Chime synthesis.
#include "Chime.h"

#include <map>

void Chime::render(const NoteList& hits, StereoBuffer& out) const {
    std::map<float, std::vector<float>> takes;
    for (const Note& hit : hits) {
        std::vector<float>& take = takes[hit.length];
        if (take.empty()) {
            take = synthesise(hit.length);
        }
        const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
        const Pan pan(hit.pitch);
        const float l = pan.l * hit.velocity;
        const float r = pan.r * hit.velocity;
        for (size_t i = 0; i < take.size(); ++i) {
            out.add(start + i, take[i] * l, take[i] * r);
        }
    }
}

std::vector<float> Chime::synthesise(float decay) const {
    // Carrier at the 20th harmonic of A2: every sideband is a harmonic of A.
    const float modHz = 110.0f;
    const float carrierHz = 20.0f * modHz;
    const int length = static_cast<int>(decay * 6.0f * dsp::SR);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    const float indexMul = std::exp(-1.0f / (decay * 2.0f * dsp::SR));
    std::vector<float> take(length);
    float amp = 1.0f;
    float index = 5.0f;
    float pc = 0.0f;
    float pm = 0.0f;
    for (int i = 0; i < length; ++i) {
        float v = std::sin(dsp::TWO_PI_F * pc + index * std::sin(dsp::TWO_PI_F * pm)) * amp;
        // A 2 ms rise keeps the attack from clicking.
        if (i < 88) {
            v *= static_cast<float>(i) / 88.0f;
        }
        take[i] = v;
        pc += carrierHz / dsp::SR;
        pm += modHz / dsp::SR;
        pc -= std::floor(pc);
        pm -= std::floor(pm);
        amp *= ampMul;
        index *= indexMul;
    }
    return take;
}
