// Hi-hat synthesis.
#include "HiHat.h"

#include "Oscillator.h"
#include "Rng.h"
#include "SvFilter.h"

void HiHat::render(const NoteList& hits, StereoBuffer& out) const {
    unsigned seed = 0x4A7u;
    for (const Note& hit : hits) {
        renderHit(hit, seed++, out);
    }
}

void HiHat::renderHit(const Note& hit, unsigned seed, StereoBuffer& out) const {
    // Ratios of a classic metallic cluster, scaled so the partials sit high.
    static const float FREQS[6] = {410.6f, 608.8f, 739.2f, 1045.4f, 1080.0f, 1600.0f};
    const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
    const float decay = hit.length;
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
    const Pan pan(hit.pitch);
    float amp = 1.0f;
    for (int i = 0; i < length; ++i) {
        float metal = 0.0f;
        for (int k = 0; k < 6; ++k) {
            metal += osc[k].square();
        }
        high.process(metal * 0.25f + rng.bipolar() * 0.6f);
        air.process(rng.bipolar());
        float v = (high.hp() + air.hp()) * amp * hit.velocity;
        out.add(start + i, v * pan.l, v * pan.r);
        amp *= ampMul;
    }
}
