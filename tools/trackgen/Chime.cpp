// Chime synthesis.
#include "trackgen/Chime.h"

#include <cmath>

void Chime::render(const NoteList& hits, StereoBuffer& out) const {
    std::map<std::pair<float, float>, std::vector<float>> takes;
    unsigned index = 0;
    for (const Note& hit : hits) {
        std::vector<float>& take = takes[std::make_pair(hit.length, hit.pitch)];
        if (take.empty()) {
            take = synthesise(hit.length, hit.pitch);
        }
        const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
        const Pan pan((index++ & 1) ? 0.3f : -0.3f);
        const float l = pan.l * hit.velocity;
        const float r = pan.r * hit.velocity;
        for (size_t i = 0; i < take.size(); ++i) {
            out.add(start + i, take[i] * l, take[i] * r);
        }
    }
}

std::vector<float> Chime::synthesise(float decay, float pitch) const {
    // The carrier is the harmonic of the modulator nearest 2.2 kHz.
    const float modHz = dsp::midiToHz(pitch);
    const float carrierHz = std::round(2200.0f / modHz) * modHz;
    const int length = static_cast<int>(decay * 6.0f * dsp::SR);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    const float indexMul = std::exp(-1.0f / (decay * 2.0f * dsp::SR));
    // Sidebands reach about index x modulator either side: keep the spread near 550 Hz.
    float index = 550.0f / modHz;
    std::vector<float> take(length);
    float amp = 1.0f;
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
