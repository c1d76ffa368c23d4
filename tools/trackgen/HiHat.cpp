// Hi-hat synthesis.
#include "trackgen/HiHat.h"

#include <map>

#include "trackgen/Oscillator.h"
#include "trackgen/Rng.h"
#include "trackgen/SvFilter.h"

void HiHat::render(const NoteList& hits, StereoBuffer& out) const {
    std::map<float, std::vector<std::vector<float>>> takes;
    unsigned count = 0;
    for (const Note& hit : hits) {
        std::vector<std::vector<float>>& set = takes[hit.length];
        if (set.empty()) {
            for (int v = 0; v < VARIANTS; ++v) {
                set.push_back(synthesise(hit.length, 0x4A7u + 977u * v));
            }
        }
        const std::vector<float>& take = set[count++ % VARIANTS];
        const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
        const Pan pan(hit.pitch);
        const float l = pan.l * hit.velocity;
        const float r = pan.r * hit.velocity;
        for (size_t i = 0; i < take.size(); ++i) {
            out.add(start + i, take[i] * l, take[i] * r);
        }
    }
}

std::vector<float> HiHat::synthesise(float decay, unsigned seed) const {
    // Ratios of a classic metallic cluster, scaled so the partials sit high.
    static const float FREQS[6] = {410.6f, 608.8f, 739.2f, 1045.4f, 1080.0f, 1600.0f};
    const int length = static_cast<int>((decay * 5.0f + 0.01f) * dsp::SR);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    Oscillator osc[6];
    for (int k = 0; k < 6; ++k) {
        osc[k].setFrequency(FREQS[k] * 1.7f);
    }
    Rng rng(seed);
    SvFilter high;
    high.set(6000.0f, 0.7f);
    SvFilter air;
    air.set(14000.0f, 0.7f);
    std::vector<float> take(length);
    float amp = 1.0f;
    for (int i = 0; i < length; ++i) {
        float metal = 0.0f;
        for (int k = 0; k < 6; ++k) {
            metal += osc[k].square();
        }
        high.process(metal * 0.25f + rng.bipolar() * 0.6f);
        air.process(rng.bipolar());
        take[i] = (high.hp() + air.hp() * 0.4f) * amp;
        amp *= ampMul;
    }
    return take;
}
