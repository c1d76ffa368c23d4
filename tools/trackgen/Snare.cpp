// Snare and clap synthesis.
#include "trackgen/Snare.h"

#include "trackgen/Rng.h"
#include "trackgen/SvFilter.h"

void Snare::render(const NoteList& hits, StereoBuffer& out) const {
    unsigned seed = 0x5A4E3u;
    for (const Note& hit : hits) {
        if (hit.pitch > 0.5f) {
            renderClap(hit, seed++, out);
        } else {
            renderSnare(hit, seed++, out);
        }
    }
}

void Snare::renderSnare(const Note& hit, unsigned seed, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
    const int length = static_cast<int>(0.8f * dsp::SR);
    const float toneMul = std::exp(-1.0f / (0.07f * dsp::SR));
    const float noiseMul = std::exp(-1.0f / (0.11f * dsp::SR));
    Rng rng(seed);
    SvFilter band;
    band.set(2400.0f, 0.6f);
    float tone = 0.9f;
    float noise = 1.0f;
    float p1 = 0.0f;
    float p2 = 0.0f;
    for (int i = 0; i < length; ++i) {
        p1 += 185.0f / dsp::SR;
        p2 += 330.0f / dsp::SR;
        float body = (std::sin(dsp::TWO_PI_F * p1) + 0.5f * std::sin(dsp::TWO_PI_F * p2)) * tone;
        band.process(rng.bipolar());
        float v = (body + (band.bp() * 1.4f + band.hp() * 0.35f) * noise) * hit.velocity;
        out.add(start + i, v, v);
        tone *= toneMul;
        noise *= noiseMul;
    }
}

void Snare::renderClap(const Note& hit, unsigned seed, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
    const int length = static_cast<int>(0.7f * dsp::SR);
    const float tailMul = std::exp(-1.0f / (0.09f * dsp::SR));
    Rng rng(seed ^ 0xC1A9u);
    SvFilter band;
    band.set(1900.0f, 1.2f);
    float tail = 1.0f;
    for (int i = 0; i < length; ++i) {
        // Three quick bursts 10 ms apart, then the decaying tail.
        float t = static_cast<float>(i) / dsp::SR;
        float burst = t < 0.03f ? std::exp(-std::fmod(t, 0.01f) / 0.003f) : tail;
        band.process(rng.bipolar());
        float v = band.bp() * 2.2f * burst * hit.velocity;
        out.add(start + i, v * 0.9f, v);
        if (t >= 0.03f) {
            tail *= tailMul;
        }
    }
}
